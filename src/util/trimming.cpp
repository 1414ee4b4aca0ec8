#include "util/trimming.h"

#include <glib.h>

namespace trimming {

std::string trimmed(const std::string &text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && g_ascii_isspace(text[begin]))
        ++begin;
    while (end > begin && g_ascii_isspace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

} // namespace trimming
