#pragma once

#include <functional>
#include <string>

// What the desktop does with a file the program hands it: opening it with
// the program chosen for its kind, or showing it in its folder. Tests use a
// fake that records what it was asked.
class Desktop
{
public:
    virtual ~Desktop() = default;

    // "" when it opened, else why not, in words.
    virtual std::string open(const std::string &path) = 0;
    // Shows the file, selected, in the desktop's file manager; `failed` gets
    // why not, in words, when nothing could show it (it may come later).
    virtual void showInFolder(const std::string &path, std::function<void(const std::string &why)> failed) = 0;
};
