#include "util/urlinput.h"

#include <gtest/gtest.h>

#include <glib.h>
#include <glib/gstdio.h>
#include <unistd.h>

namespace {

TEST(UrlInput, TypedTextBecomesTheAddressABrowserOpens)
{
    // A folder named like a typed word must not turn the word into a file.
    gchar *dir = g_dir_make_tmp("urlinput-XXXXXX", nullptr);
    ASSERT_EQ(chdir(dir), 0);
    g_mkdir("bin", 0700);
    g_free(dir);

    const struct
    {
        const char *typed, *expected;
    } rows[] = {
        {"", "about:blank"},
        {" \t ", "about:blank"},
        {"example.com", "http://example.com"},
        {"  example.com/a b?q=\"x\"  ", "http://example.com/a%20b?q=%22x%22"},
        {"bin", "http://bin"},
        {"localhost", "http://localhost"},
        {"localhost:8080", "http://localhost:8080"},
        {"127.0.0.1:8080/x", "http://127.0.0.1:8080/x"},
        {"example.com:81?q", "http://example.com:81?q"},
        {"[::1]:80", "http://[::1]:80"},
        {"::1", "http://[::1]"},
        {"例え.テスト/パス", "http://例え.テスト/パス"},
        {"https://x", "https://x"},
        {" https://x/a b ", "https://x/a b"},
        {"about:blank", "about:blank"},
        {"mailto:a@b", "mailto:a@b"},
        {"javascript:alert(1)", "javascript:alert(1)"},
        {"file:///etc/hosts", "file:///etc/hosts"},
        {"/usr/share/doc", "file:///usr/share/doc"},
        {"/tmp/a b#c%/./d é", "file:///tmp/a%20b%23c%25/d%20%C3%A9"},
        {"~/Documents/x.html", "file:///home/u/Documents/x.html"},
        {"~", "file:///home/u"},
        {"~user/x", "http://~user/x"},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(urlinput::fromUserInput(row.typed, "/home/u"), row.expected) << "typed: " << row.typed;
        // Exactly the addresses given a scheme here are tried over https first.
        EXPECT_EQ(urlinput::lacksScheme(row.typed), std::string(row.expected).rfind("http://", 0) == 0)
            << "typed: " << row.typed;
    }
}

TEST(UrlInput, WordsThatCanNeverBeAHostAreSearchedFor)
{
    const struct { const char *typed; bool words; } rows[] = {
        {"hello world", true},
        {" two\twords ", true},
        {"what is 2+2?", true},
        {"kitchen", false},
        {"example.com/a b", false},
        {"example.com?q=a b", false},
        {"https://x/a b", false},
        {"/tmp/a b", false},
        {"~/my files", false},
        {"", false},
    };
    for (const auto &row : rows)
        EXPECT_EQ(urlinput::isSearchWords(row.typed), row.words) << "typed: " << row.typed;
}

} // namespace
