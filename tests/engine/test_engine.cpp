// The real engine behind our page view: what reaches the network, what the
// user sees, what lands on disk.
#include "enginepage.h"
#include "findwidget.h"
#include "pagerules/makersite.h"
#include "widgetinput.h"
#include "window/findbar.h"

#include <csignal>
#include <dirent.h>
#include <map>
#include <sys/types.h>
#include <unistd.h>

namespace {

using enginepage::htmlPage;
using enginepage::page;
using testutil::fileContents;

// Ends our processes of this name (as the system keeps it) the way a crash would.
int killProcesses(const std::string &named)
{
    std::map<pid_t, pid_t> parents;
    std::map<pid_t, std::string> names;
    DIR *proc = opendir("/proc");
    while (dirent *entry = readdir(proc)) {
        const pid_t pid = atoi(entry->d_name);
        const std::string stat = fileContents("/proc/" + std::string(entry->d_name) + "/stat");
        const auto open = stat.find('('), close = stat.rfind(')');
        if (pid <= 0 || open == std::string::npos || close == std::string::npos)
            continue;
        names[pid] = stat.substr(open + 1, close - open - 1);
        parents[pid] = atoi(stat.c_str() + close + 4);
    }
    closedir(proc);
    int killed = 0;
    for (const auto &[pid, name] : names) {
        bool ours = false;
        for (pid_t up = parents[pid]; up > 1 && !ours; up = parents[up])
            ours = up == getpid();
        if (ours && name == named)
            killed += kill(pid, SIGKILL) == 0;
    }
    return killed;
}

const char PageProcess[] = "WebKitWebProces";
const char NetworkProcess[] = "WebKitNetworkPr";

class Engine : public testing::Test, public enginepage::EnginePage
{
protected:
    void SetUp() override
    {
        if (!start())
            GTEST_SKIP() << skipped;
        watch();
    }

    void watch()
    {
        view->loadFinished.connect([this](const std::string &) { ++finished; });
        view->statusTextChanged.connect([this](const std::string &text) { status.push_back(text); });
        view->urlChanged.connect([this](const std::string &address) { lastUrl = address; });
        view->progressChanged.connect([this](int percent) { lastProgress = percent; });
    }

    // The page shown, and `asked` on its way (if any), held back by the site.
    void shownAndAsking(const std::string &asked)
    {
        server.expect("http://shown.test/", htmlPage("Shown"));
        ASSERT_TRUE(load("http://shown.test/", "Shown"));
        if (asked.empty())
            return;
        TestServer::Response held = htmlPage("Asked");
        held.held = true;
        server.expect(asked, held);
        view->navigate(asked);
        ASSERT_TRUE(testutil::spinUntil([&] { return server.count(asked) == 1; }));
    }

    int finished = 0;
    std::vector<std::string> status;
    std::string lastUrl;
    int lastProgress = -1;
};

TEST_F(Engine, NavigationReachesTheProxyWithTheExactAddress)
{
    EXPECT_EQ(profile->sandboxProblem(), "");
    EXPECT_EQ(findwidget::shownText(view->widget(), "Page engine problem"), profile->sandboxBarText());
    server.expect("http://site.test/search?q=C%2B%2B&x=1");
    server.expect("http://example.test/", htmlPage("Typed"));
    ASSERT_TRUE(load("http://site.test/search?q=C%2B%2B&x=1", "Test page"));
    ASSERT_TRUE(load("http://example.test/", "Typed"));
    EXPECT_EQ(server.urls(), (std::vector<std::string>{"http://site.test/search?q=C%2B%2B&x=1", "http://example.test/"}));
    EXPECT_NE(server.requests[0].headers["user-agent"].find("Skimlark/" SKIMLARK_VERSION), std::string::npos);
    EXPECT_EQ(view->currentAddress(), "http://example.test/");
    EXPECT_EQ(lastUrl, "http://example.test/");
    EXPECT_TRUE(testutil::spinUntil([&] { return finished >= 2 && lastProgress == 100; }));
    EXPECT_TRUE(view->goBack());
    EXPECT_TRUE(testutil::spinUntil([&] { return view->currentTitle() == "Test page"; }));
    EXPECT_FALSE(view->goBack());
}

// An all-Cyrillic host that imitates a Latin one shows in its xn-- form.
TEST_F(Engine, LookAlikeHostShowsWhatItIs)
{
    const std::string lookAlike = "http://xn--80ak6aa92e.com/";
    server.expect(lookAlike, htmlPage("Look"));
    ASSERT_TRUE(load("http://\u0430\u0440\u0440\u04cf\u0435.com/", "Look"));
    EXPECT_EQ(view->currentAddress(), lookAlike);
    EXPECT_EQ(lastUrl, lookAlike);
}

// The maker's pages come from the program: their http addresses show, the
// history steps between them and other pages, and nothing reaches the proxy.
TEST_F(Engine, MakerPagesSendNoRequestAndKeepTheirAddressAndHistory)
{
    const struct { std::string address, shown, title; } rows[] = {
        {makersite::StartPage, makersite::StartPage, "Welcome to Skimlark"},
        {makersite::OwnAddress, makersite::OwnAddress + "/", "Velmora - makers of Skimlark"},
        {"http://www.velmora.example/nothing/here.htm", "http://www.velmora.example/nothing/here.htm", "Page not found"},
        {makersite::ReferralAddress, makersite::ReferralAddress, "Skimlark home page"},
    };
    for (const auto &row : rows) {
        ASSERT_TRUE(load(row.address, row.title)) << row.address;
        EXPECT_EQ(view->currentAddress(), row.shown);
        EXPECT_EQ(lastUrl, row.shown);
    }
    // A link on the page, clicked: a new history entry under its real address.
    runScript("document.querySelector('main a').click()");
    ASSERT_TRUE(waitForTitle("Welcome to Skimlark"));
    EXPECT_EQ(view->currentAddress(), makersite::StartPage);

    // Another site's frame, picture and link to the maker's host stay off the network.
    server.expect("http://site.test/", htmlPage("Other site",
        "<iframe src='http://www.velmora.example/skimlark.htm'></iframe>"
        "<img src='http://www.velmora.example/logo.png'>"
        "<script>onload=function(){document.title='Other site, all loaded'}</script>"));
    ASSERT_TRUE(load("http://site.test/", "Other site, all loaded"));
    EXPECT_EQ(view->currentAddress(), "http://site.test/");

    ASSERT_TRUE(view->goBack());
    ASSERT_TRUE(waitForTitle("Welcome to Skimlark"));
    EXPECT_EQ(view->currentAddress(), makersite::StartPage);
    ASSERT_TRUE(view->goBack());
    ASSERT_TRUE(waitForTitle("Skimlark home page"));
    ASSERT_TRUE(view->goForward());
    ASSERT_TRUE(waitForTitle("Welcome to Skimlark"));
    EXPECT_EQ(server.urls(), std::vector<std::string>{"http://site.test/"});
}

// A file the engine cannot show (no name or type to say so) is saved, never dropped.
TEST_F(Engine, FileTheEngineCannotShowLandsBesideTheFileAlreadyThere)
{
    gchar *folder = g_dir_make_tmp("download-XXXXXX", nullptr);
    const std::string existing = std::string(folder) + "/data.bin";
    g_file_set_contents(existing.c_str(), "mine", -1, nullptr);
    const std::string bytes = std::string("\x00\x01 payload \xff", 12) + std::string(40000, 'x');
    server.expect("http://files.test/data.bin", {200, "application/octet-stream", bytes, {}});
    user->replies = {enginepage::Reply::yes(), enginepage::Reply::choosing({existing})};
    view->navigate("http://files.test/data.bin");
    ASSERT_TRUE(testutil::spinUntil([&] { return !status.empty() && status.back() == "Downloaded data (1).bin"; }))
        << testing::PrintToString(status) << testing::PrintToString(user->asked);
    EXPECT_EQ(fileContents(existing), "mine");
    EXPECT_EQ(fileContents(std::string(folder) + "/data (1).bin"), bytes);
    ASSERT_EQ(user->asked, (std::vector<enginepage::Asked>{
                               {"Cancel|Save\u2026", "Skimlark", "Save \u201cdata.bin\u201d from files.test?"},
                               {"save", "Skimlark", "Save \u201cdata.bin\u201d from files.test?"}}));
    // Offered in the user's Downloads folder.
    EXPECT_EQ(user->lastSuggested, enginepage::downloadsFolder() + "/data.bin");
    // No temporary file left behind, where it arrived or where it landed.
    for (const std::string &place : {std::string(folder), enginepage::downloadsFolder()})
        EXPECT_EQ(enginepage::arrivingFiles(place), std::vector<std::string>()) << place;
    EXPECT_EQ(view->currentAddress(), "");
    g_free(folder);
}

TEST_F(Engine, NewWindowLinkOpensInTheSameView)
{
    server.expect("http://links.test/", htmlPage("Links", "<a target='_blank' href='/next' style='position:fixed;"
                                                           "inset:0'>next</a><script>requestAnimationFrame(function(){requestAnimationFrame(function(){"
                                                           "document.title='Ready'})})</script>"));
    server.expect("http://links.test/next", htmlPage("Next"));
    ASSERT_TRUE(load("http://links.test/", "Ready"));
    click();
    ASSERT_TRUE(waitForTitle("Next"));
    EXPECT_EQ(view->currentAddress(), "http://links.test/next");
}

// The page process ends, killed by its number, while a page is shown or
// another is on its way: the explanation is for the address asked for, it
// stays in the address bar, and Refresh loads it.
TEST_F(Engine, EndedPageProcessIsExplainedForTheAddressAskedAndRefreshLoadsIt)
{
    // On its way when the process ends: nothing, a page of the same site, of another.
    for (const std::string asked : {"", "http://shown.test/next", "http://other.test/"}) {
        SCOPED_TRACE(asked);
        shownAndAsking(asked);
        const std::string named = asked.empty() ? "http://shown.test/" : asked;
        ASSERT_GT(killProcesses(PageProcess), 0);
        ASSERT_TRUE(waitForTitle("This page stopped working"));
        EXPECT_EQ(view->currentAddress(), named);
        EXPECT_EQ(lastUrl, named);
        // The address the page names.
        ASSERT_TRUE(runScript("document.title=document.querySelector('b').textContent"));
        EXPECT_TRUE(waitForTitle(named)) << view->currentTitle();

        server.release();
        server.expect(named, htmlPage("Asked"));
        const int before = server.count(named);
        view->refresh();
        ASSERT_TRUE(waitForTitle("Asked"));
        EXPECT_EQ(server.count(named), before + 1);
    }
}

// The network process ends, killed by its number, while a page is on its
// way: the bar above the page says so in plain words, the page shown stays
// and says it is, and Refresh tries the page asked for again.
TEST_F(Engine, EndedNetworkProcessIsToldInPlainWordsAndRefreshTriesAgain)
{
    std::vector<std::string> ended;
    view->loadEndedWithoutPage.connect([&](const std::string &address, bool) { ended.push_back(address); });
    shownAndAsking("http://other.test/news");
    ASSERT_GT(killProcesses(NetworkProcess), 0);
    ASSERT_TRUE(testutil::spinUntil([&] { return !ended.empty(); }));
    EXPECT_EQ(ended, std::vector<std::string>{"http://other.test/news"});
    EXPECT_EQ(findwidget::shownText(view->widget(), "Page engine problem"),
              "While Skimlark was loading http://other.test/news, the part of Skimlark that connects to the network "
              "stopped. The address is fine: click Refresh to try again.");
    EXPECT_EQ(view->currentAddress(), "http://shown.test/");

    server.release();
    server.expect("http://other.test/news", htmlPage("Asked"));
    view->refresh();
    ASSERT_TRUE(waitForTitle("Asked"));
    EXPECT_EQ(findwidget::shownText(view->widget(), "Page engine problem"), profile->sandboxBarText());
}

// Refused, the page's place holds an explanation that is not secure either.
TEST_F(Engine, ARefusedCertificateLeavesAnExplanationMarkedNotSecure)
{
    const std::string secure = server.startTls() + "/";
    int marks = 0;
    view->securityChanged.connect([&marks] { ++marks; });
    view->navigate(secure);
    ASSERT_TRUE(testutil::spinUntil([&] { return marks > 0; }));
    EXPECT_EQ(view->security().level, PageView::Security::Level::NotSecure);
    EXPECT_EQ(view->security().problem, "its certificate is not signed by a known authority, so the page was not "
                                        "opened");
}

TEST_F(Engine, UntrustedCertificateMayBeAcceptedAfterAsking)
{
    const std::string secure = server.startTls() + "/";
    server.expect(secure, htmlPage("Secure page"));
    user->replies = {enginepage::Reply::yes()};
    view->navigate(secure);
    ASSERT_TRUE(waitForTitle("Secure page"));
    ASSERT_EQ(user->asked.size(), 1u);
    EXPECT_EQ(user->asked[0].kind, "Stay Away|Go On");
    EXPECT_EQ(user->asked[0].title, "Skimlark");
    EXPECT_EQ(user->asked[0].text.rfind("The certificate of 127.0.0.1 cannot be trusted: it is not signed by a known "
                                        "authority", 0), 0u);
    // Let through, it is not secure, and tells its certificate.
    const PageView::Security security = view->security();
    EXPECT_EQ(security.level, PageView::Security::Level::NotSecure);
    EXPECT_EQ(security.problem, "its certificate is not signed by a known authority, and it was let through by an "
                                "exception");
    EXPECT_FALSE(security.issuedTo.empty() || security.issuedBy.empty() || security.validUntil.empty());
}

TEST_F(Engine, CookieSurvivesARestartUntilBrowsingDataIsDeleted)
{
    server.handler = [](const TestServer::Request &request) -> std::optional<TestServer::Response> {
        if (request.url != "http://cookie.test/")
            return std::nullopt;
        const auto cookie = request.headers.find("cookie");
        if (cookie != request.headers.end() && cookie->second.find("kept=yes") != std::string::npos)
            return htmlPage("Welcome back");
        return TestServer::Response{200, "text/html", page("First visit"), {{"Set-Cookie", "kept=yes; Max-Age=86400; Path=/"}}};
    };
    ASSERT_TRUE(load("http://cookie.test/", "First visit"));
    close();
    open();
    watch();
    ASSERT_TRUE(load("http://cookie.test/", "Welcome back"));

    std::optional<std::string> what;
    view->clearBrowsingData([&](bool ok, const std::string &text) {
        EXPECT_TRUE(ok);
        what = text;
    });
    ASSERT_TRUE(testutil::spinUntil([&] { return what.has_value(); }));
    EXPECT_NE(what->find("cookies"), std::string::npos);
    ASSERT_TRUE(waitForTitle("First visit")); // the page shown is loaded again, without the cookie
    EXPECT_FALSE(view->goBack());             // and with no history
}

} // namespace

namespace {

TEST_F(Engine, SignInReachesTheSiteAndARefusalShowsItsPage)
{
    server.handler = [](const TestServer::Request &request) -> std::optional<TestServer::Response> {
        const auto signIn = request.headers.find("authorization");
        if (signIn != request.headers.end() && signIn->second == "Basic YW5uOnNlY3JldA==") // ann:secret
            return htmlPage("Members only");
        return TestServer::Response{401, "text/html", page("Not signed in"),
                                    {{"WWW-Authenticate", "Basic realm=\"<b>Members</b>\""}}};
    };
    // One site each: the engine remembers a sign-in per site.
    user->replies = {enginepage::Reply::signingIn("ann", "secret")};
    ASSERT_TRUE(load("http://in.test/", "Members only"));
    ASSERT_TRUE(load("http://out.test/", "Not signed in"));
    ASSERT_EQ(user->asked.size(), 2u);
    EXPECT_EQ(user->asked[1].kind, "Cancel|Sign In");
    EXPECT_EQ(user->asked[1].text.rfind("out.test asks for a user name and password.", 0), 0u);
}

TEST_F(Engine, SaveWritesThePageAndPreviewShowsItsSheets)
{
    server.expect("http://save.test/", htmlPage("Keep me", "Saved words"));
    ASSERT_TRUE(load("http://save.test/", "Keep me"));
    gchar *folder = g_dir_make_tmp("save-XXXXXX", nullptr);
    const std::string chosen = std::string(folder) + "/kept.mhtml";
    g_free(folder);
    dialogs.fileAnswers.push_back(chosen);
    ASSERT_TRUE(view->saveAs());
    ASSERT_TRUE(testutil::spinUntil([&] { return !status.empty() && status.back() == "Saved kept.mhtml"; }));
    EXPECT_NE(fileContents(chosen).find("Saved words"), std::string::npos);
    EXPECT_NE(dialogs.shown.at(0).text.find("/Keep me.mhtml"), std::string::npos);

    ASSERT_TRUE(view->printPreview());
    Gtk::Window *preview = nullptr;
    ASSERT_TRUE(testutil::spinUntil([&] { return (preview = findwidget::shownWindow("Print Preview")); }));
    EXPECT_TRUE(findwidget::named<Gtk::Label>(*preview, "Page 1 of 1"));
    preview->close();
}

TEST(EngineSandbox, AMissingSandboxIsShownAboveThePage)
{
    gchar *empty = g_dir_make_tmp("path-XXXXXX", nullptr);
    g_setenv("PATH", empty, TRUE);
    g_free(empty);
    EngineProfile profile;
    FakeDialogs dialogs;
    WebKitPageView view(profile, dialogs);
    EXPECT_NE(findwidget::shownText(view.widget(), "Page engine problem").find("bubblewrap"), std::string::npos);
    // Nothing is loaded without the sandbox (the engine would end the program).
    view.navigate("http://site.test/");
    testutil::spin();
    EXPECT_EQ(view.currentAddress(), "");
}

} // namespace

namespace {

// The item of the page's context menu now shown with this label, or null.
GtkMenuItem *contextMenuItem(const std::string &label)
{
    GtkMenuItem *found = nullptr;
    GList *windows = gtk_window_list_toplevels();
    for (GList *item = windows; item && !found; item = item->next) {
        GtkWidget *window = GTK_WIDGET(item->data);
        GtkWidget *child = GTK_IS_BIN(window) ? gtk_bin_get_child(GTK_BIN(window)) : nullptr;
        if (!gtk_widget_get_visible(window) || !child || !GTK_IS_MENU(child))
            continue;
        GList *items = gtk_container_get_children(GTK_CONTAINER(child));
        for (GList *entry = items; entry && !found; entry = entry->next) {
            if (GTK_IS_MENU_ITEM(entry->data) && gtk_menu_item_get_label(GTK_MENU_ITEM(entry->data))
                && label == gtk_menu_item_get_label(GTK_MENU_ITEM(entry->data)))
                found = GTK_MENU_ITEM(entry->data);
        }
        g_list_free(items);
    }
    g_list_free(windows);
    return found;
}

std::vector<std::string> contextMenuLabels()
{
    std::vector<std::string> labels;
    GList *windows = gtk_window_list_toplevels();
    for (GList *item = windows; item; item = item->next) {
        GtkWidget *window = GTK_WIDGET(item->data);
        GtkWidget *child = GTK_IS_BIN(window) ? gtk_bin_get_child(GTK_BIN(window)) : nullptr;
        if (!gtk_widget_get_visible(window) || !child || !GTK_IS_MENU(child))
            continue;
        GList *items = gtk_container_get_children(GTK_CONTAINER(child));
        for (GList *entry = items; entry; entry = entry->next) {
            if (GTK_IS_MENU_ITEM(entry->data) && gtk_menu_item_get_label(GTK_MENU_ITEM(entry->data)))
                labels.push_back(gtk_menu_item_get_label(GTK_MENU_ITEM(entry->data)));
        }
        g_list_free(items);
    }
    g_list_free(windows);
    return labels;
}

// Each item of the page's context menu does what it says: a page opened "in
// a new window" opens here, as a click would; a download asks where.
TEST_F(Engine, ContextMenuItemsDoWhatTheySay)
{
    const std::string picture = "<svg xmlns='http://www.w3.org/2000/svg' width='300' height='100'/>";
    server.expect("http://menu.test/",
                  htmlPage("Menu", "<style>body{margin:0}a,img{display:block;width:300px;height:100px;border:0}</style>"
                                   "<a href='/linked'>link</a><img src='/pic.svg'>"));
    server.expect("http://menu.test/linked", htmlPage("Linked"));
    server.expect("http://menu.test/pic.svg", {200, "image/svg+xml", picture, {}});
    const struct
    {
        int y;
        const char *item;
        std::string address;
    } rows[] = {
        {50, "Open Link in New _Window", "http://menu.test/linked"},
        {150, "Open _Image in New Window", "http://menu.test/pic.svg"},
        {50, "_Download Linked File", ""},
    };
    for (const auto &row : rows) {
        ASSERT_TRUE(load("http://menu.test/", "Menu"));
        GdkWindow *target = gtk_widget_get_window(GTK_WIDGET(view->engineView()));
        for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE})
            gdk_test_simulate_button(target, 50, row.y, 3, GdkModifierType(0), type);
        ASSERT_TRUE(testutil::spinUntil([&] { return contextMenuItem(row.item); }))
            << row.item;
        for (const std::string &label : contextMenuLabels())
            EXPECT_EQ(label.find("Inspect"), std::string::npos) << label;
        GtkMenuItem *item = contextMenuItem(row.item);
        gtk_menu_item_activate(item);
        gtk_menu_shell_deactivate(GTK_MENU_SHELL(gtk_widget_get_parent(GTK_WIDGET(item))));
        if (row.address.empty()) {
            ASSERT_TRUE(testutil::spinUntil([&] { return !user->asked.empty(); }));
            EXPECT_EQ(user->asked.back(),
                      (enginepage::Asked{"Cancel|Save\u2026", "Skimlark", "Save \u201clinked.html\u201d from menu.test?"}));
            continue;
        }
        EXPECT_TRUE(testutil::spinUntil([&] { return view->currentAddress() == row.address; })) << row.item;
    }
}

// Find says which match is shown and how many there are, and when there is none.
TEST_F(Engine, FindSaysWhichMatchOfHowManyOrThatThereIsNone)
{
    server.expect("http://find.test/", htmlPage("Find", "<p>apple pie</p><p>Apple tart</p><p>apple juice</p>"));
    ASSERT_TRUE(load("http://find.test/", "Find"));
    FindBar bar(*view);
    frame->layout.pack_start(bar, false, false);
    widgetinput::show(*window);
    bar.open();
    Gtk::Entry &field = *findwidget::named<Gtk::Entry>(bar, "Find:");
    Gtk::Label &result = *findwidget::named<Gtk::Label>(bar, "Matches");
    auto says = [&](const std::string &text) {
        return testutil::spinUntil([&] { return result.get_text() == text; });
    };
    field.set_text("apple");
    EXPECT_TRUE(says("1 of 3")) << result.get_text();
    const struct { guint modifiers; const char *result; } steps[] = {
        {0, "2 of 3"}, {0, "3 of 3"}, {0, "1 of 3"}, {GDK_SHIFT_MASK, "3 of 3"}, {GDK_SHIFT_MASK, "2 of 3"},
    };
    for (const auto &step : steps) {
        gtk_test_widget_send_key(GTK_WIDGET(field.gobj()), GDK_KEY_Return, GdkModifierType(step.modifiers));
        EXPECT_TRUE(says(step.result)) << step.result << " / " << result.get_text();
    }
    field.set_text("zebra");
    EXPECT_TRUE(says("Not found"));
    EXPECT_TRUE(field.get_style_context()->has_class("error"));
    gtk_test_widget_send_key(GTK_WIDGET(field.gobj()), GDK_KEY_Escape, GdkModifierType(0));
    EXPECT_TRUE(testutil::spinUntil([&] { return !bar.get_visible(); }));
    frame->layout.remove(bar);
}

// A typed address without a scheme goes over https first; where the secure
// connection cannot be made (here: a certificate the engine does not accept,
// no answer) its http page opens, unasked. A site whose https worked never
// falls back to http in the same run.
TEST_F(Engine, TypedAddressesTryHttpsFirstAndFallBackToHttp)
{
    const std::string secure = server.startTls();
    server.tunnel("kitchen:443", secure);
    server.expect("http://kitchen/", htmlPage("Kitchen over http"));
    view->navigateSecureFirst("https://kitchen/");
    ASSERT_TRUE(waitForTitle("Kitchen over http"));
    EXPECT_TRUE(user->asked.empty()) << "the certificate was asked about";
    EXPECT_TRUE(std::any_of(server.requests.begin(), server.requests.end(), [](const TestServer::Request &r) {
        return r.method == "CONNECT" && r.url.find("kitchen") != std::string::npos;
    }));

    server.tunnel("slow.test:443", "");
    server.expect("http://slow.test/", htmlPage("Slow over http"));
    view->navigateSecureFirst("https://slow.test/");
    ASSERT_TRUE(testutil::spinUntil([&] { return view->currentTitle() == "Slow over http"; }, std::chrono::seconds(30)));

    // The user lets the certificate through once: from then on the site
    // works over https, and a typed address opens there.
    user->replies = {enginepage::Reply::yes()};
    server.tunnel("shop.test:443", secure);
    server.expect("https://shop.test/", htmlPage("Shop"));
    ASSERT_TRUE(load("https://shop.test/", "Shop"));
    view->navigateSecureFirst("https://shop.test/");
    ASSERT_TRUE(testutil::spinUntil([&] { return server.count("https://shop.test/") == 2; }));
    ASSERT_TRUE(waitForTitle("Shop"));
    EXPECT_EQ(server.count("http://shop.test/"), 0);
}

} // namespace
