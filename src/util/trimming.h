#pragma once

#include <string>

namespace trimming {
// The text without ASCII white space at either end: how setting names are
// read and how typed addresses are cleaned up.
std::string trimmed(const std::string &text);
}
