#pragma once

#include <string>

// Typed text to the address a browser would open. A word without a scheme is
// a web address ("example.com" -> "http://example.com"); only an absolute
// path, a path starting with "~/" (against `homeDir`), or a "file:" address
// opens a local file; text with a scheme is kept; empty text is about:blank.
namespace urlinput {
std::string fromUserInput(const std::string &text, const std::string &homeDir);
// Whether typed text is words to search for rather than an address: it has
// no scheme, is no path, and its host part holds a blank, so no host can be
// meant ("hello world"; not "example.com/a b").
bool isSearchWords(const std::string &text);
// Whether typed text names a web address without saying its scheme
// ("news.test", "kitchen", "localhost:8080/a"): fromUserInput makes it an
// http:// address, and a browser tries its https:// form first.
bool lacksScheme(const std::string &text);
// The scheme an address starts with, in lower case ("http", "javascript"),
// or "" when it has none ("example.com:81" is a host and port).
std::string schemeOf(const std::string &address);
// The host of an address, in lower case ("" when it has none): hosts are
// compared and kept as the same site however they were written.
std::string hostOf(const std::string &address);
// The same against the user's own home folder: for text the user typed (the
// address bar, a favorite slot, the home address, a picked file).
std::string fromUserInput(const std::string &text);
}
