#pragma once

#include <memory>

class Dialogs;
class PageView;

// The page view of the main window, with the page engine and its profile for
// this user behind it.
std::unique_ptr<PageView> makePageView(Dialogs &dialogs);
