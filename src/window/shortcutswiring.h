#pragma once

class frmBrowser;

// The keys users expect: history, reload, stop, the fields, find, zoom, and
// the menu items' own keys.
void wireShortcuts(frmBrowser &window);
