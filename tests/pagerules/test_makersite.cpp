// The pure rules around the engine: own-page addresses, the site's answers
// and download names.
#include "pagerules/downloadpaths.h"
#include "pagerules/makersite.h"

#include <gio/gio.h>
#include <glib/gstdio.h>
#include <gtest/gtest.h>
#include "testutil.h"

void skimlark_register_resource();

TEST(MakerSite, AddressesMapBothWays)
{
    const struct { std::string real, own, back; } rows[] = {
        {"http://www.velmora.example/skimlark.htm", "skimlark-site://www.velmora.example/skimlark.htm", ""},
        {"http://www.velmora.example", "skimlark-site://www.velmora.example/", "http://www.velmora.example/"},
        {"http://WWW.Velmora.Example./affiliates/?x=homepage&hp=skimlark#top",
         "skimlark-site://www.velmora.example/affiliates/?x=homepage&hp=skimlark#top",
         "http://www.velmora.example/affiliates/?x=homepage&hp=skimlark#top"},
        {"https://user@www.velmora.example:8080/a%20b", "skimlark-site://www.velmora.example/a%20b",
         "http://www.velmora.example/a%20b"},
        {"http://www.velmora.example.evil.test/", "", ""},
        {"http://velmora.example/", "", ""},
        {"not an address", "", ""},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(makersite::toPrivate(row.real).value_or(""), row.own) << row.real;
        EXPECT_EQ(makersite::isMakerAddress(row.real), !row.own.empty()) << row.real;
        if (!row.own.empty()) {
            EXPECT_EQ(makersite::toReal(row.own), row.back.empty() ? row.real : row.back);
        }
    }
    EXPECT_EQ(makersite::toReal("http://site.test/x"), "http://site.test/x");
}

TEST(MakerSite, AnswersEveryPathWithAPageOfItsOwn)
{
    skimlark_register_resource();
    const struct { std::string method, path; int status; std::string contains; } rows[] = {
        {"GET", "/skimlark.htm", 200, "Welcome to Skimlark"},
        {"GET", "/skimlark/skimlarkhelp.htm", 200, "WebKitGTK 2.50.6"},
        {"GET", "/affiliates", 200, "Skimlark home page"},
        {"GET", "/skimlark.css", 200, "{"},
        {"GET", "/favicon.ico", 200, "PNG"},
        {"GET", "/Skimlark.htm", 404, "Page not found"},
        {"GET", "/../etc/passwd", 404, "Page not found"},
        {"POST", "/skimlark.htm", 405, ""},
    };
    for (const auto &row : rows) {
        const makersite::Reply reply = makersite::answer(row.method, row.path, "WebKitGTK 2.50.6");
        EXPECT_EQ(reply.status, row.status) << row.path;
        EXPECT_NE(reply.body.find(row.contains), std::string::npos) << row.path;
        EXPECT_EQ(reply.body.find("{{"), std::string::npos) << row.path;
    }
}

TEST(Downloads, NamesStayInTheFolderAndNeverTakeAnExistingFile)
{
    const struct { std::string offered, name; } names[] = {
        {"report.pdf", "report.pdf"}, {"../../.bashrc", "bashrc"}, {"", "download"}, {"..", "download"},
        {"a\nb.txt", "a_b.txt"}, {"invoice\u202efdp.exe", "invoice_fdp.exe"}, {"a\u2067b\u200f\u0085", "a_b__"},
        {"\u05d3\u05d5\u05d7.pdf", "\u05d3\u05d5\u05d7.pdf"},
    };
    for (const auto &row : names)
        EXPECT_EQ(downloadpaths::safeName(row.offered), row.name) << row.offered;

    gchar *dir = g_dir_make_tmp("names-XXXXXX", nullptr);
    const std::string folder = dir;
    g_free(dir);
    for (const char *name : {"a.tar.gz", "a (1).tar.gz", "README"})
        g_file_set_contents((folder + "/" + name).c_str(), name, -1, nullptr);
    EXPECT_EQ(downloadpaths::unusedPath(folder + "/b.zip"), folder + "/b.zip");
    EXPECT_EQ(downloadpaths::unusedPath(folder + "/a.tar.gz"), folder + "/a (2).tar.gz");
    EXPECT_EQ(downloadpaths::unusedPath(folder + "/README"), folder + "/README (1)");

    const std::string part = downloadpaths::partPath(folder + "/README");
    EXPECT_EQ(part.rfind(folder + "/.README.", 0), 0u);
    g_file_set_contents(part.c_str(), "new", -1, nullptr);
    EXPECT_EQ(downloadpaths::moveWithoutReplacing(part, folder + "/README"), folder + "/README (1)");
    EXPECT_EQ(testutil::fileContents(folder + "/README"), "README");
}
