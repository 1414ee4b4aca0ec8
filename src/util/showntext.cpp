#include "util/showntext.h"

#include <glib.h>

std::string showntext::cut(const std::string &text, std::size_t most)
{
    const char *start = text.c_str();
    const char *end = start + text.size();
    const char *cut = start;
    for (std::size_t count = 0; cut < end && count < most; ++count) {
        const char *next = g_utf8_find_next_char(cut, end);
        cut = next ? next : end;
    }
    if (cut >= end)
        return text;
    return std::string(start, cut) + "\u2026\n\n(The rest is not shown: the text is too long.)";
}
