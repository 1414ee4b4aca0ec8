#pragma once

class frmBrowser;

// Wires the navigation toolbar, page events, status bar and clock onto the main window's controls.
void wireNavigation(frmBrowser &window);
