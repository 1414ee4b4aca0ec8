#pragma once

class frmBrowser;

// Wires the colour, file and tools commands and the About box onto the main window's controls.
void wireCommands(frmBrowser &window);
