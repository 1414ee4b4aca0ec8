// What the page guard lets a page do, decided from addresses and counts.
#include "pagerules/pageguard.h"
#include "util/showntext.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

namespace {

using Open = PageGuard::Open;

TEST(PageGuard, WhatAPageMayOpen)
{
    const struct
    {
        const char *target;
        bool gesture;
        Open navigation, newWindow;
    } rows[] = {
        {"http://127.0.0.1:8080/x", true, Open::Allow, Open::Allow},
        {"https://bank.test/login", false, Open::Allow, Open::Refuse},
        {"about:blank", true, Open::Allow, Open::Allow},
        {"about:config", true, Open::Allow, Open::Refuse},
        {"file:///etc/passwd", true, Open::Allow, Open::Refuse},
        {"data:text/html,<b>hi", true, Open::Allow, Open::Refuse},
        {"JavaScript:alert(1)", true, Open::Allow, Open::Refuse},
        {"blob:https://www.example.com/1-2", true, Open::Allow, Open::Refuse},
        {"skimlark-site://www.velmora.example/", true, Open::Allow, Open::Refuse},
        {"SMB://server/share", true, Open::AskOtherProgram, Open::AskOtherProgram},
        {"mailto:ann@example.com", false, Open::Refuse, Open::Refuse},
    };
    PageGuard guard;
    for (const auto &row : rows) {
        const bool local = std::string(row.target).rfind("skimlark-site:", 0) == 0;
        EXPECT_EQ(guard.navigation(row.target, row.gesture, local), row.navigation) << row.target;
        EXPECT_EQ(guard.newWindow(row.target, row.gesture, local), row.newWindow) << row.target;
    }
}

// A new window replaces the page only after the user acted where the page
// may be navigated from, within the second a gesture lasts.
TEST(PageGuard, OnlyAFrameThatMayLeadThePageReplacesIt)
{
    enum Where { Nowhere, Page, Frame, LeadingFrame };
    const struct { Where acted; long long after; bool replaces; } rows[] = {
        {Nowhere, 0, false}, {Page, 0, true},   {Page, 1000000, true},     {Page, 1000001, false},
        {Page, -1, false},   {Frame, 0, false}, {LeadingFrame, 10, true},
    };
    for (const auto &row : rows) {
        PageGuard guard;
        if (row.acted != Nowhere)
            guard.userActed(row.acted != Page, row.acted == LeadingFrame, 5000000);
        EXPECT_EQ(guard.mayReplacePage(5000000 + row.after), row.replaces) << row.acted << " +" << row.after;
    }
}

TEST(PageGuard, BoxTitlesNameOnlyWhoCouldHaveAsked)
{
    const struct
    {
        const char *page;
        std::vector<std::string> frames;
        const char *title;
    } rows[] = {
        {"http://127.0.0.1:8080/x", {"http://127.0.0.1:8080"}, "127.0.0.1 says"},
        {"https://bank.test/", {"https://bank.test", "https://bank.test"}, "bank.test says"},
        {"https://bank.test:443/", {"https://bank.test"}, "bank.test says"},
        {"https://bank.test/", {"https://bank.test", "null"}, "an embedded page on bank.test says"},
        {"https://bank.test/", {"https://tracker.test"}, "an embedded page on bank.test says"},
        {"http://bank.test/", {"https://bank.test"}, "an embedded page on bank.test says"},
        // No frame has said where it comes from yet (a page back from the cache).
        {"https://bank.test/", {}, "an embedded page says"},
        {"blob:https://www.example.com/1-2", {"https://www.example.com"}, "www.example.com says"},
        {"data:text/html,<b>hi", {}, "a page says"},
        {"file:///home/ann/page.html", {"null"}, "a page says"},
    };
    for (const auto &row : rows) {
        PageGuard guard;
        for (const std::string &origin : row.frames)
            guard.frameSeen(origin);
        EXPECT_EQ(guard.boxTitle(row.page), row.title) << row.page;
    }
}

// A page's text is cut between characters, and says so; the program's own
// words after a site's realm are never cut with it.
TEST(PageGuard, APagesTextIsCutToTheMostShown)
{
    const std::string cut = "\u2026\n\n(The rest is not shown: the text is too long.)";
    const struct { std::string text; std::size_t most; std::string shown; } rows[] = {
        {"", 3, ""},
        {"abc", 3, "abc"},
        {"abcd", 3, "abc" + cut},
        {"\u00e9\u00e8\u00ea", 2, "\u00e9\u00e8" + cut},
        {"\U0001F600\U0001F600", 1, "\U0001F600" + cut},
    };
    for (const auto &row : rows)
        EXPECT_EQ(showntext::cut(row.text, row.most), row.shown) << row.text;
    const std::string signIn = PageGuard::signInText("page.test", std::string(5000, 'r'), true, false);
    EXPECT_NE(signIn.find(std::string(300, 'r') + cut + "\u201d"), std::string::npos);
    EXPECT_LT(signIn.size(), showntext::MostCharacters);
    EXPECT_EQ(signIn.substr(signIn.size() - 14), "could read it.");
}

TEST(PageGuard, TheFourthBoxInARowOffersToBlockTheRest)
{
    PageGuard guard;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(guard.nextBox(), PageGuard::Box::Show);
    EXPECT_EQ(guard.nextBox(), PageGuard::Box::ShowOfferingBlock);
    guard.blockBoxes();
    EXPECT_EQ(guard.nextBox(), PageGuard::Box::Refuse);
    // A new page starts afresh.
    guard.pageChanged();
    EXPECT_EQ(guard.nextBox(), PageGuard::Box::Show);
}

TEST(PageGuard, OnlyAnUnknownIssuerWrongNameOrDateMayBeAccepted)
{
    const struct { unsigned problems; bool may; } rows[] = {
        {G_TLS_CERTIFICATE_UNKNOWN_CA, true},
        {G_TLS_CERTIFICATE_BAD_IDENTITY | G_TLS_CERTIFICATE_EXPIRED | G_TLS_CERTIFICATE_NOT_ACTIVATED, true},
        {G_TLS_CERTIFICATE_UNKNOWN_CA | G_TLS_CERTIFICATE_REVOKED, false},
        {G_TLS_CERTIFICATE_INSECURE, false},
        {G_TLS_CERTIFICATE_GENERIC_ERROR, false},
        {0, false},
    };
    for (const auto &row : rows)
        EXPECT_EQ(PageGuard::certificateMayBeAccepted(row.problems), row.may) << row.problems;
}

} // namespace
