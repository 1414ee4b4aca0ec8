#pragma once

class frmBrowser;

// Wires the address bar and its Surf button, the navigation toolbar, the page
// events, the status bar and its clock onto the main window's controls.
void wireNavigation(frmBrowser &window);
