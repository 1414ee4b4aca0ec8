#pragma once

class frmBrowser;

// Wires the search box and its button, the engine menu and the tab strip onto
// the main window's controls. The engine menu's start-up marks must be set
// before this runs: GTK reports a mark set from code as a choice.
void wireSearch(frmBrowser &window);
