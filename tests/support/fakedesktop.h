#pragma once

#include "interfaces/desktop.h"

#include <string>
#include <vector>

// Opens nothing: records what the desktop was asked to open and to show.
struct FakeDesktop : Desktop
{
    std::string open(const std::string &path) override
    {
        opened.push_back(path);
        return openProblem;
    }
    void showInFolder(const std::string &path, std::function<void(const std::string &)>) override
    {
        shown.push_back(path);
    }
    std::vector<std::string> opened, shown;
    // What open() answers: "" for opened.
    std::string openProblem;
};
