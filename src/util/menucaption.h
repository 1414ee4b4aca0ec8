#pragma once

#include <string>

// Menu captions mark their access key with "&" ("E&xit"); GTK marks it with "_".
namespace menucaption {
// The caption for GTK: "&" becomes "_", "&&" a plain "&", a plain "_" doubled.
std::string mnemonic(const std::string &caption);
// The caption as read aloud and shown without marks ("Exit").
std::string plain(const std::string &caption);
} // namespace menucaption
