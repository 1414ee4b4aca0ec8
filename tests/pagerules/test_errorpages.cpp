#include "pagerules/errorpages.h"

#include <gtest/gtest.h>

// Generated with the resources (C++ linkage: the generated file is compiled as C++).
void skimlark_register_resource();

namespace {

struct Shown
{
    std::string html, address;
};

} // namespace

// A host that does not exist was likely typed as words: the explanation
// offers to search for them, as plain text; other failures offer nothing.
TEST(ErrorPages, ANameThatResolvesNowhereIsOfferedAsASearch)
{
    skimlark_register_resource();
    const struct { const char *address; bool noSuchHost; const char *link; const char *words; } rows[] = {
        {"http://kitchen/", true, "https://search.test/?q=kitchen&amp;x=1", "\u201ckitchen\u201d"},
        {"http://xn--kche-0ra/", true, "https://search.test/?q=k\u00fcche&amp;x=1", "\u201ck\u00fcche\u201d"},
        {"http://kitchen/", false, nullptr, nullptr},
        {"about:blank", true, nullptr, nullptr},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.address);
        Shown shown;
        ErrorPages pages([&shown](const std::string &html, const std::string &address) { shown = {html, address}; });
        pages.offerSearch([](const std::string &words) { return "https://search.test/?q=" + words + "&x=1"; });
        pages.loadFailed(row.address, "Error resolving", row.noSuchHost);
        EXPECT_EQ(shown.address, row.address);
        EXPECT_NE(shown.html.find("Error resolving"), std::string::npos);
        EXPECT_EQ(shown.html.find("{{"), std::string::npos);
        if (row.link) {
            EXPECT_NE(shown.html.find(std::string("href=\"") + row.link + "\""), std::string::npos) << shown.html;
            EXPECT_NE(shown.html.find(row.words), std::string::npos) << shown.html;
        } else {
            EXPECT_EQ(shown.html.find("search the web"), std::string::npos) << shown.html;
        }
    }
}
