#pragma once

class frmBrowser;

// Wires the favorite buttons and the home page command onto the main window's controls.
void wireFavorites(frmBrowser &window);
