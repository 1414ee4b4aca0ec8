#pragma once

class frmBrowser;

// Wires the favorite buttons, the home page command and the Favorites folder commands onto the main window's controls.
void wireFavorites(frmBrowser &window);
