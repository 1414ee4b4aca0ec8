#pragma once

class QApplication;

// The start-up sequence: splash, its wait, the main window, then the event loop.
int runSkimlark(QApplication &app);
