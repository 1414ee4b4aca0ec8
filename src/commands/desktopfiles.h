#pragma once

#include "interfaces/desktop.h"

// The desktop's own ways: a file opens with the program chosen for its kind
// (as `gio open` does); its folder shows in the file manager, the file
// selected, through org.freedesktop.FileManager1 on the session bus, or else
// the folder opens as `gio open` would open it.
class DesktopFiles : public Desktop
{
public:
    std::string open(const std::string &path) override;
    void showInFolder(const std::string &path, std::function<void(const std::string &why)> failed) override;
};
