#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class Browser;
class Dialogs;
class PageView;
class SettingsStore;

// The whole start-up, in order: the page engine's profile (in the first copy
// of the program only), the settings, resources, the page view and the first
// page asked for, splash, main window, load, show, first activation (the
// page's events so far reach the window), splash closed, then the event loop.
// A second start of the program brings the running window forward and ends.
// Addresses or files on the command line, as typed and with the folder they
// were given in, go to the window, which opens what it may instead of the
// home page or in place of the page shown.
int runSkimlark(int argc, char *argv[]);

// Arguments to open, each with the folder its start was made in.
using HandedOver = std::vector<std::pair<std::string, std::string>>;

// What a start builds behind the splash.
struct StartedWindow
{
    std::unique_ptr<PageView> view;
    std::unique_ptr<Browser> browser;
    // What was handed over before the window was built, in order.
    HandedOver waiting;
};

// The splash, its passes, then the main window with its first page: the
// order the user sees. First the page view is made (`makeView`) and the
// first page asked for (the last of `run.waiting` that may open, else the
// home page); behind the splash, once it is painted, the window is built,
// given what is waiting and handed to `built`. After the passes the window
// loads, shows and has its first activation, which hands what the page did
// meanwhile to the window's controls.
void showSplashThenWindow(int passes, SettingsStore &settings, Dialogs &dialogs, StartedWindow &run,
                          const std::function<std::unique_ptr<PageView>()> &makeView,
                          const std::function<void(Browser &)> &built);
