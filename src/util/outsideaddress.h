#pragma once

#include <string>

// What the command line or another program hands the browser to open (a
// desktop runs "skimlark %U" for any link, from any program). Only web
// pages, a local file the user named and the blank page open: an address
// that would run in the page on screen (javascript:) or bring its own page
// (data:), and any other scheme, is refused; text that is no address is
// refused with a message; an empty argument is ignored.
namespace outsideaddress {

struct Verdict
{
    enum Kind { Ignore, Open, Refuse, Invalid };
    Kind kind = Ignore;
    // Open: the address to load. Refuse: a status text. Invalid: a message.
    std::string text;
};

// `folder` is where the caller was started, for a file named relative to
// it; "" when not known.
Verdict judge(const std::string &argument, const std::string &folder);

} // namespace outsideaddress
