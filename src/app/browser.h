#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

class Desktop;
class Dialogs;
class PageView;
class SettingsStore;
class MainWindow;

// The main window and everything it does, built and wired in this one place:
// each behaviour gets the controls and services it uses, restores its own
// stored state as it is built, and every button, menu item, tab and key is
// connected here. The program and the tests build it the same way.
class Browser
{
public:
    // `firstPageAsked`: the address requestFirstPage() asked for, if it ran.
    // `desktop` opens files and their folders; the desktop's own when null.
    Browser(SettingsStore &settings, Dialogs &dialogs, PageView &view, std::string firstPageAsked = std::string(),
            Desktop *desktop = nullptr);
    ~Browser();
    Browser(const Browser &) = delete;
    Browser &operator=(const Browser &) = delete;

    MainWindow &window();
    // The main window's load, before it is first shown.
    void load();
    // What the command line or another program handed over, with the folder
    // it was started in: a web page, a file or the blank page opens (the
    // first page instead of the home page when the window has not asked for
    // one yet, else at once); anything else is refused with a word to the
    // user. One page shows at a time: the last one handed over, and the
    // status bar says how many others were not opened.
    void open(const std::string &argument, const std::string &folder = std::string());

    // Asks for the first page before the window is built, so that it loads
    // while the splash waits: of the arguments handed over (each with its
    // folder), the last that may open, else the home address. The view's
    // events wait from here: the window's first activation hands them over,
    // so they reach its controls as if they came then. Returns the address.
    static std::string requestFirstPage(SettingsStore &settings, PageView &view,
                                        const std::vector<std::pair<std::string, std::string>> &handedOver);

private:
    struct Parts;
    std::unique_ptr<Parts> m;
};
