// Hostile pages against the real engine behind our page view: what the user
// sees, and that nothing else happens. Every page comes through the test's
// loopback server, which fails the test on any request it did not expect.
#include "enginepage.h"

#include <gio/gdesktopappinfo.h>

#include <fstream>

namespace {

using enginepage::htmlPage;

// The program a scheme would start: writes a file, so a launch can be seen.
const char Opener[] = "Share Opener";
const char PageAddress[] = "http://page.test/";

struct Hostile;

struct Row
{
    const char *name;
    std::string page;                          // served at PageAddress, or a file when it starts "file:"
    std::function<void(Hostile &)> act;        // what the user does, once the page loaded
    std::vector<FakeDialogs::Shown> shown;     // what the user is asked, in order
    std::string endTitle;                      // the page's own verdict
    std::function<void(Hostile &)> check = {}; // anything else that must hold
    bool launches = false;                     // the user let another program start
};

// Test names, not bytes, in the listing.
void PrintTo(const Row &row, std::ostream *out)
{
    *out << row.name;
}

struct Hostile : testing::TestWithParam<Row>, enginepage::EnginePage
{
    std::string home = g_get_home_dir();

    void SetUp() override
    {
        if (!start())
            GTEST_SKIP() << skipped;
        window->set_default_size(400, 300);
        installOpener();
    }

    void installOpener()
    {
        const std::string folder = std::string(g_get_user_data_dir()) + "/applications";
        g_mkdir_with_parents(folder.c_str(), 0700);
        std::ofstream(folder + "/share-opener.desktop")
            << "[Desktop Entry]\nType=Application\nName=" << Opener << "\nExec=touch " << home
            << "/launched\nMimeType=x-scheme-handler/smb;\n";
        GDesktopAppInfo *app = g_desktop_app_info_new("share-opener.desktop");
        ASSERT_TRUE(app);
        g_app_info_set_as_default_for_type(G_APP_INFO(app), "x-scheme-handler/smb", nullptr);
        g_object_unref(app);
    }
    bool launched() const { return g_file_test((home + "/launched").c_str(), G_FILE_TEST_EXISTS); }

    std::string title() const { return view->currentTitle(); }
    bool waitTitle(const std::string &wanted) { return waitForTitle(wanted); }
    void click()
    {
        GdkWindow *target = gtk_widget_get_window(GTK_WIDGET(view->engineView()));
        gdk_test_simulate_button(target, 40, 40, 1, GdkModifierType(0), GDK_BUTTON_PRESS);
        gdk_test_simulate_button(target, 40, 40, 1, GdkModifierType(0), GDK_BUTTON_RELEASE);
    }
    void openPage(const std::string &page)
    {
        if (page.rfind("file:", 0) == 0) {
            const std::string folder = home + "/site";
            g_mkdir_with_parents(folder.c_str(), 0700);
            std::ofstream(folder + "/page.html") << page.substr(5);
            std::ofstream(folder + "/secret.txt") << "the user's secret";
            view->navigate("file://" + folder + "/page.html");
            return;
        }
        server.expect(PageAddress, {200, "text/html", page, {}});
        view->navigate(PageAddress);
    }
};

// A link or button over the whole page, so a click anywhere lands on it; the
// title says "ready" once it is laid out, and "clicked" once a click has had
// its effect on the page (unless the page names it otherwise).
std::string fullPage(const std::string &element)
{
    return "<style>body{margin:0}#t{display:block;position:fixed;inset:0}</style>" + element +
           "<script>requestAnimationFrame(function(){requestAnimationFrame(function(){"
           "document.title='ready'})});addEventListener('click',function(){setTimeout(function(){"
           "if(document.title=='ready')document.title='clicked'})},true)</script>";
}

void clickWhenReady(Hostile &t)
{
    ASSERT_TRUE(t.waitTitle("ready"));
    t.click();
}

TEST_P(Hostile, ShowsOnlyWhatThePageMayShow)
{
    const Row &row = GetParam();
    openPage(row.page);
    if (row.act)
        row.act(*this);
    EXPECT_TRUE(waitTitle(row.endTitle)) << "title: " << title();
    testutil::spinUntil([&] { return dialogs.shown.size() >= row.shown.size(); });
    // Whatever else the page did before its verdict has reached the program.
    EXPECT_TRUE(settle());
    ASSERT_EQ(dialogs.shown.size(), row.shown.size());
    for (size_t i = 0; i < row.shown.size(); ++i) {
        EXPECT_EQ(dialogs.shown[i].kind, row.shown[i].kind);
        EXPECT_EQ(dialogs.shown[i].title, row.shown[i].title);
        EXPECT_EQ(dialogs.shown[i].text, row.shown[i].text);
    }
    if (row.check)
        row.check(*this);
    if (row.launches)
        EXPECT_TRUE(testutil::spinUntil([this] { return launched(); }));
    else
        EXPECT_FALSE(launched());
}

const char SmbLink[] = "smb://files.example/share/report.odt";
const std::string OpenQuestion = std::string("Open this address with ") + Opener + "?\n\n" + SmbLink;

const Row Rows[] = {
    {"MarkupInAlert", "<script>alert('<img src=/dev/zero>');document.title='done'</script>", {},
     {{"alert", "page.test says", "<img src=/dev/zero>"}}, "done"},
    // A frame of another origin (a data: one here) cannot borrow the page's name.
    {"DataFrameAlert",
     "<iframe src=\"data:text/html,<script>alert('from a data frame');parent.postMessage(1,'*')"
     "</script>\"></iframe><script>onmessage=function(){document.title='done'}</script>",
     {}, {{"alert", "an embedded page on page.test says", "from a data frame"}}, "done"},
    {"OurScriptsAreInvisible",
     "<script>var seen=window.webkit&&window.webkit.messageHandlers;"
     "document.title=(!seen&&String(alert).indexOf('[native code]')>0)?'done:clean':'seen'</script>",
     {}, {}, "done:clean"},
    {"AlertLoop", "<script>for(var i=1;i<=6;i++)alert('box '+i);document.title='done'</script>",
     [](Hostile &t) { t.dialogs.pageBoxAnswers = {{}, {}, {}, {true, "", true}}; },
     {{"alert", "page.test says", "box 1"}, {"alert", "page.test says", "box 2"},
      {"alert", "page.test says", "box 3"}, {"alert", "page.test says", "box 4"}},
     "done", [](Hostile &t) { EXPECT_EQ(t.dialogs.pageBoxOffers, (std::vector<bool>{0, 0, 0, 1})); }},
    {"SmbLinkClickedAndRefused",
     fullPage(std::string("<a id=t href='") + SmbLink + "'>report</a>") +
         "<script>location.href='smb://files.example/share/unasked'</script>",
     clickWhenReady, {{"confirm", "Skimlark", OpenQuestion}}, "clicked"},
    {"SmbLinkClickedAndAllowed", fullPage(std::string("<a id=t href='") + SmbLink + "'>report</a>"),
     [](Hostile &t) {
         t.dialogs.confirmAnswers = {true};
         clickWhenReady(t);
     },
     {{"confirm", "Skimlark", OpenQuestion}}, "clicked", {}, true},
    // Refused, the load ends there, as cancelled.
    {"SignInRefused", "<script>location.href='/vault'</script>",
     [](Hostile &t) {
         t.server.expect("http://page.test/vault",
                         {401, "text/html", "in", {{"WWW-Authenticate", "Basic realm=\"<b>Staff</b> only\""}}});
     },
     {{"credentials", "Skimlark",
       "page.test asks for a user name and password.\n\nThe site says: \u201c<b>Staff</b> only\u201d\n\n"
       "The password would be sent without encryption: others on the network could read it."}},
     ""},
    {"OpenFilesPicker",
     fullPage("<input id=t type=file multiple onchange=\"document.title='done:'+files.length\">"),
     [](Hostile &t) {
         for (const char *name : {"/a.txt", "/b.txt"})
             std::ofstream(t.home + name) << name;
         t.dialogs.pageFileAnswers = {{t.home + "/a.txt", t.home + "/b.txt"}};
         clickWhenReady(t);
     },
     {{"page-open-many", "page.test says", ""}}, "done:2"},
    {"FilePageReadsAnotherFile",
     "file:<script>var x=new XMLHttpRequest();try{x.open('GET','secret.txt',false);x.send();"
     "document.title=x.responseText?'read':'empty'}catch(e){document.title='done:blocked'}"
     "</script>",
     {}, {}, "done:blocked"},
    {"WindowOpenWithoutClick",
     "<script>var w=window.open('/elsewhere');document.title=w?'opened':'done:blocked'</script>",
     {}, {}, "done:blocked"},
    // This browser has one page view: the new window's page opens in it.
    {"WindowOpenOnClick",
     fullPage("<a id=t href='#' onclick=\"window.open('/fresh');return false\">open</a>"),
     [](Hostile &t) {
         t.server.expect("http://page.test/fresh", htmlPage("Fresh"));
         clickWhenReady(t);
     },
     {}, "Fresh", [](Hostile &t) { EXPECT_EQ(t.view->currentAddress(), "http://page.test/fresh"); }},
    {"WindowOpenToData",
     fullPage("<a id=t href='#' onclick=\"var w=window.open('data:text/html,<title>x</title>');"
              "document.title=w?'opened':'done:blocked';return false\">open</a>"),
     clickWhenReady, {}, "done:blocked"},
    // The engine itself refuses a page's top-level data: address, with a click or without.
    {"NavigationToData",
     fullPage("<a id=t href='data:text/html,<title>escaped</title>'>data</a>") +
         "<script>location.href='data:text/html,<title>escaped</title>'</script>",
     clickWhenReady, {}, "clicked"},
    {"PointerLockRequest",
     fullPage("<button id=t onclick='document.body.requestPointerLock()'>lock</button>") +
         "<script>document.onpointerlockerror=function(){document.title='done:refused'};"
         "document.onpointerlockchange=function(){document.title='locked'}</script>",
     clickWhenReady, {{"confirm", "Skimlark", "page.test wants to hide and hold your mouse pointer. Allow?"}},
     "done:refused"},
    {"FullScreen",
     fullPage("<button id=t onclick='document.documentElement.requestFullscreen()'>full</button>") +
         "<script>document.onfullscreenchange=function(){"
         "document.title=document.fullscreenElement?'full':'done:left'}</script>",
     [](Hostile &t) {
         clickWhenReady(t);
         EXPECT_TRUE(t.waitTitle("full"));
         EXPECT_EQ(t.view->fullScreenNotice(), "page.test\nPress Esc to leave full screen");
         for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE})
             gdk_test_simulate_key(t.window->get_window()->gobj(), -1, -1, GDK_KEY_Escape, GdkModifierType(0), type);
     },
     {}, "done:left", [](Hostile &t) { EXPECT_EQ(t.view->fullScreenNotice(), ""); }},
    {"SaveFilePicker", "<script>document.title='done:'+typeof window.showSaveFilePicker</script>", {}, {},
     "done:undefined"},
};

INSTANTIATE_TEST_SUITE_P(Pages, Hostile, testing::ValuesIn(Rows),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
