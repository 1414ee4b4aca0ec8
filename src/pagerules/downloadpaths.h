#pragma once

#include <string>

// Where downloads go: pure apart from looking at the folder.
namespace downloadpaths {
// The page's suggested name reduced to a plain file name ("download" if nothing is left).
std::string safeName(const std::string &suggested);
// The user's Downloads folder (the desktop's, else ~/Downloads), made when
// missing; the home folder when it cannot be made.
std::string downloadsFolder();
// Where a file of that name is offered: the Downloads folder, a free name.
std::string suggestedPath(const std::string &suggested);
// "dir/name (n).ext" for "dir/name.ext".
std::string numberedPath(const std::string &wanted, int n);
// `wanted` if no file has that name, else "name (1).ext", "name (2).ext" ...
std::string unusedPath(const std::string &wanted);
// A fresh, unused hidden name next to `target` for the file while it arrives.
std::string partPath(const std::string &target);
// Moves `from` to `wanted`, or to the first free numbered name if `wanted`
// exists, across file systems too; never replaces a file. Returns where it
// landed, "" on failure.
std::string moveWithoutReplacing(const std::string &from, const std::string &wanted);
// Whether a file would run code when opened: by its name, the type its
// sender gave, or its first bytes (a "#!" script, a program).
bool runsCode(const std::string &name, const std::string &mimeType, const std::string &start);
} // namespace downloadpaths
