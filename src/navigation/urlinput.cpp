#include "navigation/urlinput.h"

// Stand-in: keeps text with a scheme, opens paths as files, adds http:// to the rest.
namespace urlinput {
std::string fromUserInput(const std::string &text, const std::string &homeDir)
{
    if (text.empty())
        return "about:blank";
    if (text[0] == '/')
        return "file://" + text;
    if (text.rfind("~/", 0) == 0)
        return "file://" + homeDir + text.substr(1);
    if (text.find(':') != std::string::npos)
        return text;
    return "http://" + text;
}
}
