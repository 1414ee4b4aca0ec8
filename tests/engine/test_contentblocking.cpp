// Trackers and ads blocked by the real engine, with small lists the test
// writes; every request goes to the test's own server.
#include "enginepage.h"

#include <glib/gstdio.h>
#include <unistd.h>

using enginepage::EnginePage;
using testutil::spinUntil;
using Lists = PageView::Blocking::Lists;

namespace {

const char Site[] = "http://site.example/";
const char Tracker[] = "http://tracker.example/t.js";
const char Ad[] = "http://ads.example/banner.gif";
// The smallest picture there is.
const std::string Gif("GIF89a\x01\x00\x01\x00\x00\x00\x00\x3b", 14);

struct ContentBlocking : testing::Test
{
    void SetUp() override
    {
        // In the lists' words: a tracker on EasyPrivacy, an ad picture and an
        // element the site's page hides on EasyList.
        const std::string folder = g_get_user_cache_dir() + std::string("/lists");
        g_mkdir_with_parents(folder.c_str(), 0700);
        const std::pair<const char *, const char *> lists[] = {
            {"easylist.txt", "[Adblock Plus 2.0]\n! Title: EasyList\n||ads.example^$image\nsite.example##.ad-banner\n##.generic\n"
                             "\xff\xfe damaged \x01\nexample.com##+js(set-constant, ads, false)\n"},
            {"easyprivacy.txt", "! Title: EasyPrivacy\n||tracker.example^$third-party\n"},
        };
        std::vector<std::string> paths;
        for (const auto &[name, text] : lists) {
            paths.push_back(folder + "/" + name);
            g_file_set_contents(paths.back().c_str(), text, -1, nullptr);
        }
        engine.filterLists = paths;
        if (!engine.start())
            GTEST_SKIP() << engine.skipped;
    }
    void TearDown() override
    {
        engine.close();
        // What the lists and their filters take is not left behind.
        testutil::removeTree(g_get_user_cache_dir() + std::string("/lists"));
        testutil::removeTree(g_get_user_cache_dir() + std::string("/Velmora"));
    }

    bool ready()
    {
        engine.view->setBlockingEnabled(true);
        return spinUntil([this] { return engine.view->blocking().lists == Lists::Ready; });
    }

    // The page names its own script and picture, a tracker's script and an ad's
    // picture; its title says what ran and whether the ad's place shows.
    void servePage()
    {
        engine.server.expect(Site, enginepage::htmlPage(
            "start",
            "<div class='ad-banner'>ad</div><script src='http://tracker.example/t.js'></script>"
            "<img src='http://ads.example/banner.gif'><img src='/own.gif'><script src='/own.js'></script>"
            "<script>onload = () => document.title = [getComputedStyle(document.querySelector('.ad-banner')).display,"
            " self.own ? 'own' : '', self.tracker ? 'tracker' : ''].join(' ').trim()</script>"));
        engine.server.expect(std::string(Site) + "own.js", {200, "text/javascript", "self.own = 1", {}});
        engine.server.expect(std::string(Site) + "own.gif", {200, "image/gif", Gif, {}});
    }

    // The compile helpers running below this process.
    static int helpers()
    {
        int found = 0;
        GDir *processes = g_dir_open("/proc", 0, nullptr);
        const std::string parent = std::to_string(getpid());
        for (const gchar *name = g_dir_read_name(processes); name; name = g_dir_read_name(processes)) {
            const std::string stat = testutil::fileContents(std::string("/proc/") + name + "/stat");
            const auto close = stat.rfind(')');
            found += stat.find("(skimlark-filter") != std::string::npos && close != std::string::npos
                     && stat.compare(close + 4, parent.size() + 1, parent + " ") == 0;
        }
        g_dir_close(processes);
        return found;
    }

    EnginePage engine;
};

TEST_F(ContentBlocking, APageLoadsWithoutItsTrackersAndAdsUnlessItsSiteIsLetThrough)
{
    ASSERT_TRUE(ready()) << engine.view->blocking().problem;
    EXPECT_EQ(engine.view->blocking().rulesUsed, 4u); // three rules and the page's own document let through
    EXPECT_EQ(engine.view->blocking().rulesSkipped, 3u) << "a damaged line, a scriptlet, hiding on every site";
    servePage();
    int changes = 0;
    engine.view->pageBlockingChanged.connect([&] { ++changes; });

    // Anything the server did not expect fails the test: the tracker and the ad never arrive.
    ASSERT_TRUE(engine.load(Site, "none own"));
    EXPECT_TRUE(spinUntil([&] { return engine.view->pageBlocking().blocked == 2; }));
    ASSERT_TRUE(engine.settle());
    EXPECT_EQ(engine.view->pageBlocking().blocked, 2);
    EXPECT_TRUE(engine.view->pageBlocking().blocking);
    EXPECT_GT(changes, 0);
    EXPECT_EQ(engine.server.count(std::string(Site) + "own.js"), 1);
    EXPECT_EQ(engine.server.count(std::string(Site) + "own.gif"), 1);

    // The user lets the site's trackers and ads load: its page loads them all.
    engine.server.expect(Tracker, {200, "text/javascript", "self.tracker = 1", {}});
    engine.server.expect(Ad, {200, "image/gif", Gif, {}});
    engine.view->setAdsAllowed([](const std::string &host) { return host == "site.example"; });
    engine.view->refresh();
    ASSERT_TRUE(engine.waitForTitle("block own tracker")) << engine.view->currentTitle() << " " << testing::PrintToString(engine.server.urls());
    EXPECT_TRUE(spinUntil([&] { return engine.server.count(Ad) == 1; }));
    EXPECT_EQ(engine.server.count(Tracker), 1);
    EXPECT_TRUE(engine.view->pageBlocking().allowedHere);
    EXPECT_FALSE(engine.view->pageBlocking().blocking);
    EXPECT_EQ(engine.view->pageBlocking().blocked, 0);
}

TEST_F(ContentBlocking, AStartWithTheSameListsLoadsTheFilterCompiledBefore)
{
    ASSERT_TRUE(ready()) << engine.view->blocking().problem;
    engine.close();
    // A compile helper that always fails, found first whatever this machine
    // has installed: only what the last start compiled can make it ready.
    engine.programFolder = g_get_user_cache_dir();
    const std::string failing = engine.programFolder + "/skimlark-filtercompile";
    ASSERT_TRUE(g_file_set_contents(failing.c_str(), "#!/bin/sh\nexit 1\n", -1, nullptr));
    ASSERT_EQ(g_chmod(failing.c_str(), 0700), 0);
    engine.open();
    ASSERT_TRUE(ready()) << engine.view->blocking().problem;
    EXPECT_EQ(engine.view->blocking().rulesUsed, 4u);

    // Lists that changed need the helper, which fails: blocking is off, and says why.
    g_file_set_contents(engine.filterLists->front().c_str(), "||other.example^\n", -1, nullptr);
    engine.close();
    engine.open();
    engine.view->setBlockingEnabled(true);
    EXPECT_TRUE(spinUntil([&] { return engine.view->blocking().lists == Lists::Failed; }));
    EXPECT_FALSE(engine.view->blocking().problem.empty());
}

TEST_F(ContentBlocking, ThePagesMenuOffersToAllowOrBlockAdsOnItsSite)
{
    ASSERT_TRUE(ready());
    engine.server.expect(Site, enginepage::htmlPage("plain"));
    ASSERT_TRUE(engine.load(Site, "plain"));
    bool allowed = false;
    engine.view->setAdsAllowed([&](const std::string &host) { return allowed && host == "site.example"; });
    std::vector<std::string> chosen;
    engine.view->adsChoice.connect(
        [&](const std::string &host, bool allow) { chosen.push_back(host + (allow ? " allow" : " block")); });

    // The menu as the engine would show it, over the page; its item picked if there.
    auto pick = [&] {
        WebKitContextMenu *menu = webkit_context_menu_new();
        GObject *hit = G_OBJECT(g_object_new(WEBKIT_TYPE_HIT_TEST_RESULT, "context",
                                             WEBKIT_HIT_TEST_RESULT_CONTEXT_DOCUMENT, nullptr));
        gboolean handled = FALSE;
        g_signal_emit_by_name(engine.view->engineView(), "context-menu", menu, nullptr, hit, &handled);
        for (GList *item = webkit_context_menu_get_items(menu); item; item = item->next) {
            GAction *action = webkit_context_menu_item_get_gaction(WEBKIT_CONTEXT_MENU_ITEM(item->data));
            if (action && g_str_equal(g_action_get_name(action), "ads-on-site"))
                g_action_activate(action, nullptr);
        }
        g_object_unref(hit);
        g_object_unref(menu);
    };
    pick();
    allowed = true;
    pick();
    engine.view->setBlockingEnabled(false);
    pick();
    EXPECT_EQ(chosen, (std::vector<std::string>{"site.example allow", "site.example block"}));
}

TEST_F(ContentBlocking, TurnedOffOrWithoutTheListsEveryRequestGoesOut)
{
    ASSERT_TRUE(ready());
    engine.view->setBlockingEnabled(false);
    servePage();
    engine.server.expect(Tracker, {200, "text/javascript", "self.tracker = 1", {}});
    engine.server.expect(Ad, {200, "image/gif", Gif, {}});
    ASSERT_TRUE(engine.load(Site, "block own tracker"));
    EXPECT_FALSE(engine.view->pageBlocking().blocking);

    // A system without the package: the same, and it says why.
    engine.close();
    engine.filterLists = std::vector<std::string>();
    engine.open();
    engine.view->setBlockingEnabled(true);
    EXPECT_EQ(engine.view->blocking().lists, Lists::Missing);
    ASSERT_TRUE(engine.load(Site, "block own tracker"));
    EXPECT_EQ(engine.server.count(Ad), 2);
}

TEST_F(ContentBlocking, RequestsBlockedAfterTheLoadStillCount)
{
    ASSERT_TRUE(ready());
    engine.server.expect(Site, enginepage::htmlPage(
        "start", "<script>onload = () => fetch('http://tracker.example/late').catch(() => document.title = 'late')"
                 "</script>"));
    ASSERT_TRUE(engine.load(Site, "late"));
    EXPECT_TRUE(spinUntil([&] { return engine.view->pageBlocking().blocked == 1; }));
    // A page's own console cannot pass for the engine's word.
    ASSERT_TRUE(engine.runScript("console.info('Content blocker prevented frame displaying x from loading "
                                 "a resource from y')"));
    ASSERT_TRUE(engine.settle());
    EXPECT_EQ(engine.view->pageBlocking().blocked, 1);
}

// Lists large enough that their compile is still running a while.
void makeListsHuge(const std::string &list)
{
    std::string huge;
    for (int i = 0; i < 140000; ++i)
        huge += "/x" + std::to_string(i) + "*y^\n";
    g_file_set_contents(list.c_str(), huge.c_str(), gssize(huge.size()), nullptr);
}

// The compile starts at once when no page is on its way; asked for with the
// first page (a fresh profile's first start), it waits until that page has
// loaded. Either way pages load unblocked meanwhile, and closing ends it.
TEST_F(ContentBlocking, TheCompileWaitsForTheFirstPageThenRunsUntilClosed)
{
    for (const bool withFirstPage : {false, true}) {
        SCOPED_TRACE(withFirstPage ? "asked with the first page" : "no page on its way");
        makeListsHuge(engine.filterLists->front());
        engine.view->setBlockingEnabled(true);
        servePage();
        engine.server.expect(Tracker, {200, "text/javascript", "self.tracker = 1", {}});
        engine.server.expect(Ad, {200, "image/gif", Gif, {}});
        if (withFirstPage) {
            // The page is on screen, its load not yet ended.
            int helpersAtCommit = -1;
            sigc::connection committed = engine.view->loadCommitted.connect([&] { helpersAtCommit = helpers(); });
            ASSERT_TRUE(engine.load(Site, "block own tracker"));
            committed.disconnect();
            EXPECT_EQ(helpersAtCommit, 0);
        }
        ASSERT_TRUE(spinUntil([] { return helpers() == 1; }));
        if (!withFirstPage)
            ASSERT_TRUE(engine.load(Site, "block own tracker"));
        EXPECT_EQ(engine.view->blocking().lists, Lists::Preparing);
        engine.close();
        EXPECT_EQ(helpers(), 0);
        if (!withFirstPage)
            engine.open();
    }
}

} // namespace
