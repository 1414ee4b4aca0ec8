#pragma once

class frmBrowser;

// Wires the keys users expect beside the menus' access keys onto the main window's controls.
void wireShortcuts(frmBrowser &window);
