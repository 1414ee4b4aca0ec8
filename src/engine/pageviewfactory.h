#pragma once

#include <memory>

class Dialogs;
class EngineProfile;
class PageView;

// The page view of the main window, with the page engine and its profile for
// this user behind it: `started`, if the profile was made ahead, else a new one.
std::unique_ptr<PageView> makePageView(Dialogs &dialogs, std::unique_ptr<EngineProfile> started = nullptr);
