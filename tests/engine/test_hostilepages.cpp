// Hostile pages against the real engine behind our page view: what the user
// sees, and that nothing else happens. Every page comes through the test's
// loopback server, which fails the test on any request it did not expect.
#include "enginepage.h"
#include "findwidget.h"
#include "questionview.h"
#include "widgetinput.h"

#include <gio/gdesktopappinfo.h>

#include <fstream>
#include <glib/gstdio.h>
#include <optional>

namespace {

using enginepage::htmlPage;

// The program a scheme would start: writes a file, so a launch can be seen.
const char Opener[] = "Share Opener";
const char PageAddress[] = "http://page.test/";

using enginepage::Asked;
using enginepage::Reply;

struct Hostile;

struct Row
{
    const char *name;
    std::string page;                          // served at PageAddress, or a file when it starts "file:"
    std::function<void(Hostile &)> act;        // what the user does, once the page loaded
    std::vector<Asked> asked;                  // what the user is asked, in order
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
        view->statusTextChanged.connect([this](const std::string &text) { status.push_back(text); });
    }
    std::vector<std::string> status;
    bool statusReads(const std::string &text) const { return !status.empty() && status.back() == text; }

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

// A page filled by an advertisement's frame, sandboxed as given; the title
// tells what became of the frame's window.open.
std::string adPage(const std::string &sandbox)
{
    return "<style>body{margin:0}iframe{position:fixed;inset:0;width:100%;height:100%;border:0}</style>"
           "<iframe sandbox='" + sandbox + "' src='http://ads.test/ad' onload=\"requestAnimationFrame(function(){"
           "requestAnimationFrame(function(){document.title='ready'})})\"></iframe>"
           "<script>onmessage=function(e){document.title='done:'+e.data}</script>";
}

void clickWhenReady(Hostile &t)
{
    ASSERT_TRUE(t.waitTitle("ready"));
    t.click();
}

void clickTheAd(Hostile &t)
{
    t.server.expect("http://ads.test/ad", {200, "text/html",
                                           "<style>body{margin:0}a{display:block;position:fixed;inset:0}</style>"
                                           "<a href=# onclick=\"var w=window.open('http://phish.test/');"
                                           "parent.postMessage(w?'opened':'refused','*');return false\">prize</a>",
                                           {}});
    clickWhenReady(t);
}

TEST_P(Hostile, ShowsOnlyWhatThePageMayShow)
{
    const Row &row = GetParam();
    openPage(row.page);
    if (row.act)
        row.act(*this);
    EXPECT_TRUE(waitTitle(row.endTitle)) << "title: " << title();
    testutil::spinUntil([&] { return user->asked.size() >= row.asked.size(); });
    // Whatever else the page did before its verdict has reached the program.
    EXPECT_TRUE(settle());
    EXPECT_EQ(user->asked, row.asked);
    if (row.check)
        row.check(*this);
    if (row.launches)
        EXPECT_TRUE(testutil::spinUntil([this] { return launched(); }));
    else
        EXPECT_FALSE(launched());
}

const char SmbLink[] = "smb://files.example/share/report.odt";
const std::string OpenQuestion = std::string("Open this address with ") + Opener + "?\n\n" + SmbLink;
const char PlainPassword[] = "\n\nThe password would be sent without encryption: others on the network could read it.";
const char LeaveQuestion[] = "This page asks whether you want to leave it. What you entered on it may be lost.";

// A typing test that opens another program's address on the third key.
// Every key the page sees goes into its title ("_" for a space).
const std::string TypingTest =
    "<input id=f><script>var log='',n=0;f.focus();addEventListener('keydown',function(e){"
    "log+=e.key==' '?'_':e.key;document.title='typed:'+log;if(++n==3)location.href='" + std::string(SmbLink) +
    "'},true);requestAnimationFrame(function(){requestAnimationFrame(function(){document.title='ready'})})</script>";

// The user types on in the page while its question shows, and leaves it unanswered.
void typeOn(Hostile &t)
{
    ASSERT_TRUE(t.waitTitle("ready"));
    t.user->replies = {Reply::leavingOpen()};
    widgetinput::focus(*Glib::wrap(GTK_WIDGET(t.view->engineView())));
    std::string seen = "typed:";
    for (const char key : std::string("the quick")) {
        for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE})
            gdk_test_simulate_key(t.window->get_window()->gobj(), -1, -1, gdk_unicode_to_keyval(key),
                                  GdkModifierType(0), type);
        seen += key == ' ' ? '_' : key;
        ASSERT_TRUE(t.waitTitle(seen)) << t.title();
        if (seen == "typed:the") {
            ASSERT_TRUE(testutil::spinUntil([&] { return t.user->asked.size() == 1; }));
        }
    }
    QuestionPanel &panel = t.view->questionPanel();
    EXPECT_TRUE(panel.asking());
    EXPECT_FALSE(t.window->get_focus()->is_ancestor(panel));
}

std::string lines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "line " + std::to_string(i) + (i < count ? "\n" : "");
    return text;
}

// A page that asks before it is left, once the user has touched it.
const std::string KeepsTheUser =
    fullPage("<a id=t>stay</a>") + "<script>onbeforeunload=function(e){e.preventDefault();return 'x'}</script>";

// The user is asked before leaving the page, and leaves the question open.
void leaveWithTheQuestionOpen(Hostile &t)
{
    clickWhenReady(t);
    ASSERT_TRUE(t.waitTitle("clicked"));
    t.user->replies = {Reply::leavingOpen()};
    t.server.expect("http://page.test/next", htmlPage("Next"));
    t.view->navigate("http://page.test/next");
    ASSERT_TRUE(testutil::spinUntil([&] { return t.user->asked.size() == 1; }));
    EXPECT_TRUE(t.view->questionPanel().asking());
}

// The user surfs to the real bank from a copy of it that keeps the load from
// ending with its page: the load ends without it, named as such, and the
// address shown stays the copy's.
void surfToTheBank(Hostile &t)
{
    ASSERT_TRUE(t.waitTitle("done"));
    TestServer::Response bank = htmlPage("Bank");
    bank.held = true;
    t.server.expect("http://bank.test/", bank);
    std::vector<std::string> ended;
    struct Watch { sigc::connection on; ~Watch() { on.disconnect(); } } watching{t.view->loadEndedWithoutPage.connect(
        [&ended](const std::string &address, bool downloaded) { ended.push_back(address + (downloaded ? "?" : "")); })};
    t.view->navigate("http://bank.test/");
    ASSERT_TRUE(testutil::spinUntil([&] { return !ended.empty(); }));
    EXPECT_EQ(ended, std::vector<std::string>{"http://bank.test/"});
    EXPECT_EQ(t.view->currentAddress(), PageAddress);
}

const char HoldNote[] = "\n\nUntil you answer, Skimlark stops receiving it after its first 4 MB.";

std::string programQuestion(const std::string &name)
{
    return "Save \u201c" + name + "\u201d from page.test?\n\n\u201c" + name + "\u201d is a program: opening it runs it "
           "on this computer, with your rights. Keep it only if you trust page.test.";
}

const Row Rows[] = {
    {"MarkupInAlert", "<script>alert('<img src=/dev/zero>');document.title='done'</script>", {},
     {{"OK", "page.test says", "<img src=/dev/zero>"}}, "done"},
    // A frame of another origin cannot borrow the page's name, whatever it does to our script.
    {"DataFrameAlert",
     "<iframe src=\"data:text/html,<script>window.webkit={messageHandlers:{}};alert('from a data frame');"
     "parent.postMessage(1,'*')</script>\"></iframe><script>onmessage=function(){document.title='done'}</script>",
     {}, {{"OK", "an embedded page on page.test says", "from a data frame"}}, "done"},
    {"CrossOriginFrameAlert",
     "<iframe src='http://evil.test/frame' onload=\"document.title='done'\"></iframe>",
     [](Hostile &t) {
         t.server.expect("http://evil.test/frame",
                         htmlPage("", "<script>alert('Your session has expired')</script>"));
     },
     {{"OK", "an embedded page on page.test says", "Your session has expired"}}, "done"},
    {"OurScriptsAreInvisible",
     "<script>var seen=window.webkit&&window.webkit.messageHandlers;"
     "document.title=(!seen&&String(alert).indexOf('[native code]')>0)?'done:clean':'seen'</script>",
     {}, {}, "done:clean"},
    // Once the user blocks its boxes, the page shows no more, nor keeps the user.
    {"BlockedPageLetsTheUserGo",
     fullPage("<a id=t onclick=\"for(var i=1;i<=6;i++)alert('box '+i);document.title='done'\">boxes</a>")
         + "<script>onbeforeunload=function(e){e.preventDefault();return 'x'}</script>",
     [](Hostile &t) {
         t.user->replies = {Reply::no(), Reply::no(), Reply::no(), Reply::blockingTheRest()};
         clickWhenReady(t);
         ASSERT_TRUE(t.waitTitle("done"));
         t.server.expect("http://page.test/next", htmlPage("Next"));
         t.view->navigate("http://page.test/next");
     },
     {{"OK", "page.test says", "box 1"}, {"OK", "page.test says", "box 2"}, {"OK", "page.test says", "box 3"},
      {"OK", "page.test says", "box 4"}},
     "Next"},
    {"PromptAnswered", "<script>document.title='done:'+prompt('Your name?','ann')</script>",
     [](Hostile &t) { t.user->replies = {Reply::typing("bob")}; }, {{"Cancel|OK", "page.test says", "Your name?"}},
     "done:bob"},
    // A page that prints without end is asked about like any box, and blocked like one.
    {"PrintLoop",
     "<script>var n=0,t=setInterval(function(){window.print();if(++n==40){clearInterval(t);"
     "document.title='done'}},20)</script>",
     [](Hostile &t) { t.user->replies = {Reply::no(), Reply::no(), Reply::no(), Reply::blockingTheRest()}; },
     std::vector<Asked>(4, {"Cancel|Print\u2026", "Skimlark", "page.test wants to print itself."}), "done"},
    // Printing goes on in a print dialog that leaves the main window free.
    {"PrintAccepted", fullPage("<a id=t onclick='window.print()'>print</a>"),
     [](Hostile &t) {
         t.user->replies = {Reply::yes()};
         clickWhenReady(t);
     },
     {{"Cancel|Print\u2026", "Skimlark", "page.test wants to print itself."}, {"print", "Print", ""}}, "clicked"},
    // A long text scrolls inside the question, which stays within the page.
    {"TallBox", "<script>alert(" + std::string("'") + "line 1'+Array.from({length:199},function(_,i){"
     "return '\\nline '+(i+2)}).join(''));document.title='done'</script>",
     {}, {{"OK", "page.test says", lines(200)}}, "done",
     [](Hostile &t) { EXPECT_EQ(t.user->fitted, std::vector<bool>{true}); }},
    // Leaving a page that asks first: another navigation answers "leave", Stop answers "stay".
    {"LeavingAnswersTheQuestion", KeepsTheUser,
     [](Hostile &t) {
         leaveWithTheQuestionOpen(t);
         t.server.expect("http://page.test/other", htmlPage("Other"));
         t.view->navigate("http://page.test/other");
     },
     {{"Stay|Leave", "page.test says", LeaveQuestion}}, "Other",
     [](Hostile &t) { EXPECT_FALSE(t.view->questionPanel().asking()); }},
    {"StopKeepsThePage", KeepsTheUser,
     [](Hostile &t) {
         leaveWithTheQuestionOpen(t);
         t.view->stop();
     },
     {{"Stay|Leave", "page.test says", LeaveQuestion}}, "clicked",
     [](Hostile &t) {
         EXPECT_FALSE(t.view->questionPanel().asking());
         EXPECT_EQ(t.view->currentAddress(), PageAddress);
     }},
    {"SmbLinkClickedAndRefused",
     fullPage(std::string("<a id=t href='") + SmbLink + "'>report</a>") +
         "<script>location.href='smb://files.example/share/unasked'</script>",
     clickWhenReady, {{"Cancel|Open", "Skimlark", OpenQuestion}}, "clicked"},
    {"SmbLinkClickedAndAllowed", fullPage(std::string("<a id=t href='") + SmbLink + "'>report</a>"),
     [](Hostile &t) {
         t.user->replies = {Reply::yes()};
         clickWhenReady(t);
     },
     {{"Cancel|Open", "Skimlark", OpenQuestion}}, "clicked", {}, true},
    // Refused, the load ends there, as cancelled.
    {"SignInRefused", "<script>location.href='/vault'</script>",
     [](Hostile &t) {
         t.server.expect("http://page.test/vault",
                         {401, "text/html", "in", {{"WWW-Authenticate", "Basic realm=\"<b>Staff</b> only\""}}});
     },
     {{"Cancel|Sign In", "Skimlark",
       "page.test asks for a user name and password.\n\nThe site says: \u201c<b>Staff</b> only\u201d"
           + std::string(PlainPassword)}},
     ""},
    // A frame's sign-in names the frame's site, whatever its realm claims.
    {"FrameSignIn", "<iframe src='http://tracker.test/frame' onload=\"document.title='done'\"></iframe>",
     [](Hostile &t) {
         t.server.expect("http://tracker.test/frame",
                         {401, "text/html", "no",
                          {{"WWW-Authenticate", "Basic realm=\"page.test: your session has expired\""}}});
     },
     {{"Cancel|Sign In", "Skimlark",
       "tracker.test asks for a user name and password.\n\nThe site says: \u201cpage.test: your session has "
       "expired\u201d" + std::string(PlainPassword)}},
     "done"},
    // The chooser opens once the user says so, never at the page's word.
    {"OpenFilePicker", fullPage("<input id=t type=file onchange=\"document.title='done:'+files[0].name\">"),
     [](Hostile &t) {
         std::ofstream(t.home + "/a.txt") << "a";
         t.user->replies = {Reply::yes(), Reply::choosing({t.home + "/a.txt"})};
         clickWhenReady(t);
     },
     {{"Cancel|Choose a File\u2026", "Skimlark", "page.test asks for a file to upload."},
      {"files", "Skimlark", "page.test asks for a file to upload."}},
     "done:a.txt"},
    // A file that would run code says so where the user decides to keep it.
    {"ProgramDownload", fullPage("<a id=t href='/tool'>get it</a>"),
     [](Hostile &t) {
         t.server.expect("http://page.test/tool", {200, "application/octet-stream", "#!/bin/sh\necho hi\n", {}});
         clickWhenReady(t);
     },
     {{"Cancel|Save\u2026", "Skimlark", programQuestion("tool")}}, "clicked"},
    // Decided once the first bytes are known, whether or not the rest has come.
    {"ProgramByItsFirstBytes", fullPage("<a id=t href='/update'>get it</a>"),
     [](Hostile &t) {
         TestServer::Response program{200, "application/octet-stream", std::string("\x7f" "ELF\x02\x01\x01\0\0", 9), {}};
         program.endless = true;
         t.server.expect("http://page.test/update", program);
         clickWhenReady(t);
     },
     {{"Cancel|Save\u2026", "Skimlark", programQuestion("update") + HoldNote}}, "clicked"},
    // A file without end stops while its question waits, and comes whole once answered.
    {"EndlessDownloadWaitsForItsAnswer", fullPage("<a id=t href='/endless'>get it</a>"),
     [](Hostile &t) {
         const std::string endless = "http://page.test/endless";
         TestServer::Response stream{200, "application/octet-stream", std::string(1 << 16, 'x'), {}};
         stream.endless = true;
         t.server.expect(endless, stream);
         // The user says to save it once it has stopped, with nothing left
         // arriving, and then where.
         Reply save = Reply::yes();
         save.waitFor = [&t, endless] {
             if (t.server.count(endless) != 1 || t.server.streaming != 0
                 || !t.statusReads("endless waits for your answer: stopped after its first 4 MB"))
                 return false;
             EXPECT_EQ(enginepage::arrivingFiles(enginepage::downloadsFolder()), std::vector<std::string>());
             t.server.expect(endless, {200, "application/octet-stream", "the whole file", {}});
             return true;
         };
         t.user->replies = {save, Reply::choosing({t.home + "/endless.bin"})};
         clickWhenReady(t);
         ASSERT_TRUE(testutil::spinUntil([&] { return t.statusReads("Downloaded endless.bin"); }))
             << testing::PrintToString(t.status);
         EXPECT_EQ(testutil::fileContents(t.home + "/endless.bin"), "the whole file");
         g_unlink((t.home + "/endless.bin").c_str());
     },
     {{"Cancel|Save\u2026", "Skimlark", "Save \u201cendless\u201d from page.test?" + std::string(HoldNote)},
      {"save", "Skimlark", "Save \u201cendless\u201d from page.test?" + std::string(HoldNote)}},
     "clicked"},
    // A page that writes its id back every 2 ms loses it when browsing data is deleted.
    {"TrackerLosesItsIdWithTheBrowsingData",
     "<script>var kept=/id=\\w/.test(document.cookie)||localStorage.getItem('id'),n=0;"
     "setInterval(function(){document.cookie='id=x; max-age=86400; path=/';localStorage.setItem('id','x');"
     "if(++n==3)document.title=kept?'id kept':'id new'},2)</script>",
     [](Hostile &t) {
         ASSERT_TRUE(t.waitTitle("id new"));
         // Said once it was done, before the page came back without its cookie.
         std::optional<int> saidAt;
         t.view->clearBrowsingData([&](bool ok, const std::string &) { saidAt = ok ? t.server.count(PageAddress) : -1; });
         ASSERT_TRUE(testutil::spinUntil([&] { return saidAt && t.server.count(PageAddress) == 2; }));
         EXPECT_EQ(*saidAt, 1);
         EXPECT_EQ(t.server.requests.back().headers.count("cookie"), 0u);
     },
     {}, "id new"},
    {"FilePageReadsAnotherFile",
     "file:<script>var x=new XMLHttpRequest();try{x.open('GET','secret.txt',false);x.send();"
     "document.title=x.responseText?'read':'empty'}catch(e){document.title='done:blocked'}"
     "</script>",
     {}, {}, "done:blocked"},
    // The maker's pages answer only the program's own navigations.
    {"PrivateSchemeRead",
     "<script>var x=new XMLHttpRequest();try{x.open('GET','skimlark-site://www.velmora.example/skimlark/"
     "skimlarkhelp.htm',false);x.send();document.title=x.responseText?'read':'done:blocked'}"
     "catch(e){document.title='done:blocked'}</script>",
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
    // While the page it opens is on its way, the address shown is still the page on screen.
    {"SlowWindowOpenKeepsTheAddress",
     fullPage("<a id=t href='#' onclick=\"document.body.innerHTML='<h1>bank.test sign-in</h1>';"
              "window.open('http://bank.test/login');return false\">open</a>"),
     [](Hostile &t) {
         TestServer::Response slow = htmlPage("Bank");
         slow.held = true;
         t.server.expect("http://bank.test/login", slow);
         ASSERT_TRUE(t.waitTitle("ready"));
         std::vector<std::string> shown;
         struct Watch { sigc::connection on; ~Watch() { on.disconnect(); } } watching{
             t.view->urlChanged.connect([&shown](const std::string &address) { shown.push_back(address); })};
         clickWhenReady(t);
         ASSERT_TRUE(testutil::spinUntil([&] { return t.server.count("http://bank.test/login") == 1; }));
         EXPECT_TRUE(t.settle());
         EXPECT_EQ(t.view->currentAddress(), PageAddress);
         EXPECT_EQ(shown, std::vector<std::string>());
         t.server.release();
         ASSERT_TRUE(t.waitTitle("Bank"));
         EXPECT_EQ(shown, std::vector<std::string>{"http://bank.test/login"});
     },
     {}, "Bank"},
    // An advertisement's window.open replaces the page only where its frame may navigate the page.
    {"SandboxedAdOpensNoWindowOverThePage", adPage("allow-scripts allow-popups"), clickTheAd, {}, "done:refused",
     [](Hostile &t) {
         EXPECT_TRUE(t.statusReads("An embedded page may not replace this page: http://phish.test/ was not opened"));
         EXPECT_EQ(t.view->currentAddress(), PageAddress);
     }},
    {"AdMayNavigateThePageOpensOverIt", adPage("allow-scripts allow-popups allow-top-navigation"),
     [](Hostile &t) {
         t.server.expect("http://phish.test/", htmlPage("Offer"));
         clickTheAd(t);
     },
     {}, "Offer", [](Hostile &t) { EXPECT_EQ(t.view->currentAddress(), "http://phish.test/"); }},
    {"WindowOpenToFile",
     fullPage("<a id=t href='#' onclick=\"var w=window.open('file:///etc/passwd');"
              "document.title=w?'opened':'done:blocked';return false\">open</a>"),
     clickWhenReady, {}, "done:blocked", [](Hostile &t) { EXPECT_EQ(t.view->currentAddress(), PageAddress); }},
    {"WindowOpenToData",
     fullPage("<a id=t href='#' onclick=\"var w=window.open('data:text/html,<title>x</title>');"
              "document.title=w?'opened':'done:blocked';return false\">open</a>"),
     clickWhenReady, {}, "done:blocked"},
    {"WindowOpenToOurScheme",
     fullPage("<a id=t href='#' onclick=\"var w=window.open('skimlark-site://www.velmora.example/skimlark.htm');"
              "document.title=w?'opened':'done:blocked';return false\">open</a>"),
     clickWhenReady, {}, "done:blocked", [](Hostile &t) { EXPECT_EQ(t.view->currentAddress(), PageAddress); }},
    // The engine itself refuses a page's top-level data: address, with a click or without.
    {"NavigationToData",
     fullPage("<a id=t href='data:text/html,<title>escaped</title>'>data</a>") +
         "<script>location.href='data:text/html,<title>escaped</title>'</script>",
     clickWhenReady, {}, "clicked"},
    {"PointerLockRequest",
     fullPage("<button id=t onclick='document.body.requestPointerLock()'>lock</button>") +
         "<script>document.onpointerlockerror=function(){document.title='done:refused'};"
         "document.onpointerlockchange=function(){document.title='locked'}</script>",
     clickWhenReady, {{"Deny|Allow", "Skimlark", "page.test wants to hide and hold your mouse pointer. Allow?"}},
     "done:refused"},
    {"FullScreen",
     fullPage("<button id=t onclick='document.documentElement.requestFullscreen()'>full</button>") +
         "<script>document.onfullscreenchange=function(){"
         "document.title=document.fullscreenElement?'full':'done:left'}</script>",
     [](Hostile &t) {
         clickWhenReady(t);
         EXPECT_TRUE(t.waitTitle("full"));
         EXPECT_EQ(findwidget::shownText(t.view->widget(), "Full screen"), "page.test\nPress Esc to leave full screen");
         for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE})
             gdk_test_simulate_key(t.window->get_window()->gobj(), -1, -1, GDK_KEY_Escape, GdkModifierType(0), type);
     },
     {}, "done:left", [](Hostile &t) { EXPECT_EQ(findwidget::shownText(t.view->widget(), "Full screen"), ""); }},
    // A frame that speaks when its page comes back from the cache on Back still speaks as a frame.
    {"FrameBoxAfterBack",
     "<iframe src='http://evil.test/frame'></iframe><script>onpageshow=function(e){"
     "document.title=e.persisted?'done:restored':'ready'}</script>",
     [](Hostile &t) {
         t.server.expect("http://evil.test/frame",
                         htmlPage("", "<script>onpageshow=function(e){if(e.persisted)"
                                      "alert('Your session has expired')}</script>"));
         ASSERT_TRUE(t.waitTitle("ready"));
         t.server.expect("http://page.test/next", htmlPage("Next"));
         t.view->navigate("http://page.test/next");
         ASSERT_TRUE(t.waitTitle("Next"));
         ASSERT_TRUE(t.view->goBack());
     },
     {{"OK", "an embedded page on page.test says", "Your session has expired"}}, "done:restored",
     [](Hostile &t) { EXPECT_EQ(t.server.count(PageAddress), 1); }},
    // A typing test asks on the third key: the keys after it go on to the page.
    {"TypingTestOpensAnotherProgram", TypingTest, typeOn, {{"Cancel|Open", "Skimlark", OpenQuestion}},
     "typed:the_quick"},
    // A frame's request for a file is made in the frame's name, as its boxes are.
    {"FrameAsksForAFile",
     "<style>body{margin:0}iframe{position:fixed;inset:0;width:100%;height:100%;border:0}</style>"
     "<iframe src='http://evil.test/upload'></iframe><script>onmessage=function(){document.title='ready'}</script>",
     [](Hostile &t) {
         t.server.expect("http://evil.test/upload",
                         htmlPage("", "<style>body{margin:0}#t{position:fixed;inset:0}</style><input id=t type=file>"
                                      "<script>requestAnimationFrame(function(){requestAnimationFrame(function(){"
                                      "parent.postMessage('ready','*')})})</script>"));
         clickWhenReady(t);
     },
     {{"Cancel|Choose a File\u2026", "Skimlark", "An embedded page on page.test asks for a file to upload."}},
     "ready"},
    // A page draws a copy of the question bar, fields and all, where its own
    // questions show. The program's question reaches above the page, over the
    // controls, where the copy cannot follow: the program's icon and the site.
    {"ForgedQuestionBar",
     "<div style='position:fixed;top:0;left:0;right:0;padding:6px;background:#4a90d9;color:#fff;"
     "font:bold 13px sans-serif'>Skimlark<br>page.test asks for your password<br><input type=password>"
     "<button>OK</button></div><script>document.title='done:'+prompt('Your name?','ann')</script>",
     [](Hostile &t) {
         t.user->replies = {Reply::leavingOpen()};
         const QuestionView panel(t.view->questionPanel());
         ASSERT_TRUE(testutil::spinUntil([&] { return panel.showing() && panel.bar().get_allocated_height() > 1; }));
         testutil::spin();
         auto top = [&t](Gtk::Widget &widget, int y) {
             int x = 0, top = 0;
             widget.translate_coordinates(*t.window, 0, y, x, top);
             return top;
         };
         const int pageTop = top(*Glib::wrap(GTK_WIDGET(t.view->engineView())), 0);
         // The top row lies over the controls, on the page's top edge; the rest over the page.
         EXPECT_GE(top(panel.topRow(), 0), top(t.frame->controls, 0));
         EXPECT_EQ(top(panel.topRow(), panel.topRow().get_allocated_height()), pageTop);
         EXPECT_GT(top(panel.bar(), panel.bar().get_allocated_height()), pageTop);
         EXPECT_TRUE(panel.icon().is_ancestor(panel.topRow()) && panel.icon().get_mapped());
         EXPECT_EQ(panel.site(), "page.test");
         panel.accept().clicked();
     },
     {{"Cancel|OK", "page.test says", "Your name?"}}, "done:ann"},
    {"StopLoopHoldsTheUserBack",
     "<title>done</title><h1>bank.test sign-in</h1><script>setInterval(function(){window.stop()},20)</script>",
     surfToTheBank, {}, "done"},
    {"ReloadLoopReplacesTheUsersLoad",
     "<title>done</title><h1>bank.test sign-in</h1><script>setInterval(function(){location.reload()},20)</script>",
     surfToTheBank, {}, "done"},
    {"SaveFilePicker", "<script>document.title='done:'+typeof window.showSaveFilePicker</script>", {}, {},
     "done:undefined"},
};

INSTANTIATE_TEST_SUITE_P(Pages, Hostile, testing::ValuesIn(Rows),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
