#pragma once

#include <functional>
#include <memory>

class Dialogs;
class PageView;
namespace Gtk { class Window; }

// The page view of the main window, with the page engine behind it. Built
// after the splash shows; `parentWindow` gives the window its boxes belong to
// (the main window, which is built after the view).
std::unique_ptr<PageView> makePageView(Dialogs &dialogs,
                                       std::function<Gtk::Window *()> parentWindow);

// The whole start-up, in order: resources, splash, page view and main window,
// load, show, first activation, splash closed, then the event loop. A second
// start of the program brings the running window forward and ends.
int runSkimlark();
