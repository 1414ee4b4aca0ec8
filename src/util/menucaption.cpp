#include "util/menucaption.h"

namespace menucaption {

std::string mnemonic(const std::string &caption)
{
    std::string result;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '_')
            result += "__";
        else if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] == '&')
            result += caption[i++];
        else if (caption[i] == '&')
            result += '_';
        else
            result += caption[i];
    }
    return result;
}

std::string plain(const std::string &caption)
{
    std::string result;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&' || (i + 1 < caption.size() && caption[i + 1] == '&' && ++i))
            result += caption[i];
    }
    return result;
}

} // namespace menucaption
