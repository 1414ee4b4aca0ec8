#pragma once

#include <string>
#include <vector>

// The lists of trackers and ads Debian keeps up to date: EasyList and
// EasyPrivacy, as the webext-ublock-origin-firefox (or -chromium) package
// installs them.
namespace filterlists {

// The folders where the packages put the two lists, the Firefox variant first.
const std::vector<std::string> &packageFolders();

// The two lists (EasyList, then EasyPrivacy) from the first folder that holds
// both as readable files; empty when none does.
std::vector<std::string> find(const std::vector<std::string> &folders = packageFolders());

// A key for what the lists hold and how they are read (SHA-256, in hex): the
// same lists give the same key. "" when a list cannot be read.
std::string contentKey(const std::vector<std::string> &paths);

// What the file system says of the lists (size, times, file number): the
// same while nobody writes them, so a start can trust the key it found
// before without reading them. "" when a list is not there.
std::string signature(const std::vector<std::string> &paths);

} // namespace filterlists
