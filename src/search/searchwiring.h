#pragma once

class frmBrowser;

// Wires the search box, engine menu, tab strip and address bar onto the main window's controls.
void wireSearch(frmBrowser &window);
