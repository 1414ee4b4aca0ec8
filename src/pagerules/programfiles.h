#pragma once

#include <string>

// The program's own files beside it: the helper that compiles the filter
// lists, and the extension the page processes load. In the build tree they
// sit beside the program; installed, under libexec and the library folder.
struct ProgramFiles
{
    std::string filterCompiler;
    std::string pageExtensions;

    // Where they are for a program in `programFolder` (empty: the running one's).
    static ProgramFiles find(const std::string &programFolder = std::string());
};
