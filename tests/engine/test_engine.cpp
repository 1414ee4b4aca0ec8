// The real engine behind our page view: what reaches the network, what the
// user sees, what lands on disk.
#include "enginepage.h"
#include "engine/printpreview.h"
#include "util/makeraddresses.h"

#include <csignal>
#include <dirent.h>
#include <map>
#include <sys/types.h>
#include <unistd.h>

namespace {

using enginepage::htmlPage;
using enginepage::page;
using testutil::fileContents;

// Ends our page processes the way a crash would.
int killPageProcesses()
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
        if (ours && name.rfind("WebKitWebProces", 0) == 0)
            killed += kill(pid, SIGKILL) == 0;
    }
    return killed;
}

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

    int finished = 0;
    std::vector<std::string> status;
    std::string lastUrl;
    int lastProgress = -1;
};

TEST_F(Engine, NavigationReachesTheProxyWithTheExactAddress)
{
    EXPECT_EQ(profile->sandboxProblem(), "");
    EXPECT_EQ(view->problemBar().get_visible(), !profile->sandboxBarText().empty());
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
        {maker::StartPage, maker::StartPage, "Welcome to Skimlark"},
        {maker::OwnAddress, maker::OwnAddress + "/", "Velmora - makers of Skimlark"},
        {"http://www.velmora.example/nothing/here.htm", "http://www.velmora.example/nothing/here.htm", "Page not found"},
        {maker::ReferralAddress, maker::ReferralAddress, "Skimlark home page"},
    };
    for (const auto &row : rows) {
        ASSERT_TRUE(load(row.address, row.title)) << row.address;
        EXPECT_EQ(view->currentAddress(), row.shown);
        EXPECT_EQ(lastUrl, row.shown);
    }
    // A link on the page, clicked: a new history entry under its real address.
    runScript("document.querySelector('main a').click()");
    ASSERT_TRUE(waitForTitle("Welcome to Skimlark"));
    EXPECT_EQ(view->currentAddress(), maker::StartPage);

    // Another site's frame, picture and link to the maker's host stay off the network.
    server.expect("http://site.test/", htmlPage("Other site",
        "<iframe src='http://www.velmora.example/skimlark.htm'></iframe>"
        "<img src='http://www.velmora.example/logo.png'>"
        "<script>onload=function(){document.title='Other site, all loaded'}</script>"));
    ASSERT_TRUE(load("http://site.test/", "Other site, all loaded"));
    EXPECT_EQ(view->currentAddress(), "http://site.test/");

    ASSERT_TRUE(view->goBack());
    ASSERT_TRUE(waitForTitle("Welcome to Skimlark"));
    EXPECT_EQ(view->currentAddress(), maker::StartPage);
    ASSERT_TRUE(view->goBack());
    ASSERT_TRUE(waitForTitle("Skimlark home page"));
    ASSERT_TRUE(view->goForward());
    ASSERT_TRUE(waitForTitle("Welcome to Skimlark"));
    EXPECT_EQ(server.urls(), std::vector<std::string>{"http://site.test/"});
}

TEST_F(Engine, DownloadLandsInTheChosenFolderBesideTheFileAlreadyThere)
{
    gchar *folder = g_dir_make_tmp("download-XXXXXX", nullptr);
    const std::string existing = std::string(folder) + "/data.bin";
    g_file_set_contents(existing.c_str(), "mine", -1, nullptr);
    const std::string bytes = std::string("\x00\x01 payload \xff", 12) + std::string(40000, 'x');
    server.expect("http://files.test/data.bin",
                  {200, "application/octet-stream", bytes, {{"Content-Disposition", "attachment; filename=\"data.bin\""}}});
    dialogs.fileAnswers.push_back(existing);
    view->navigate("http://files.test/data.bin");
    ASSERT_TRUE(testutil::spinUntil([&] { return !status.empty() && status.back() == "Downloaded data (1).bin"; }));
    EXPECT_EQ(fileContents(existing), "mine");
    EXPECT_EQ(fileContents(std::string(folder) + "/data (1).bin"), bytes);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, "save");
    EXPECT_NE(dialogs.shown[0].text.find("/data.bin"), std::string::npos);
    GDir *dir = g_dir_open(folder, 0, nullptr);
    int files = 0;
    while (g_dir_read_name(dir))
        ++files;
    g_dir_close(dir);
    EXPECT_EQ(files, 2); // no temporary file left behind
    g_free(folder);
}

TEST_F(Engine, NewWindowLinkOpensInTheSameView)
{
    server.expect("http://links.test/", htmlPage("Links", "<a target='_blank' href='/next'>next</a>"));
    server.expect("http://links.test/next", htmlPage("Next"));
    ASSERT_TRUE(load("http://links.test/", "Links"));
    runScript("document.querySelector('a').click()");
    ASSERT_TRUE(waitForTitle("Next"));
    EXPECT_EQ(view->currentAddress(), "http://links.test/next");
}

TEST_F(Engine, EndedPageProcessIsExplainedAndRefreshLoadsThePageAgain)
{
    server.expect("http://crash.test/page");
    ASSERT_TRUE(load("http://crash.test/page", "Test page"));
    ASSERT_GT(killPageProcesses(), 0);
    ASSERT_TRUE(waitForTitle("This page stopped working"));
    EXPECT_EQ(view->currentAddress(), "http://crash.test/page");
    view->refresh();
    ASSERT_TRUE(waitForTitle("Test page"));
    EXPECT_EQ(server.count("http://crash.test/page"), 2);
}

TEST_F(Engine, UntrustedCertificateMayBeAcceptedAfterAsking)
{
    const std::string secure = server.startTls() + "/";
    server.expect(secure, htmlPage("Secure page"));
    dialogs.confirmAnswers.push_back(true);
    view->navigate(secure);
    ASSERT_TRUE(waitForTitle("Secure page"));
    ASSERT_EQ(dialogs.kinds(), std::vector<std::string>{"confirm"});
    EXPECT_NE(dialogs.shown[0].text.find("The certificate of 127.0.0.1 cannot be trusted: it is not signed by a known authority"),
              std::string::npos);
    EXPECT_EQ(dialogs.shown[0].title, "Skimlark");
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
    dialogs.credentialAnswers = {Dialogs::Credentials{"ann", "secret"}, std::nullopt};
    ASSERT_TRUE(load("http://in.test/", "Members only"));
    ASSERT_TRUE(load("http://out.test/", "Not signed in"));
    ASSERT_EQ(dialogs.kinds(), (std::vector<std::string>{"credentials", "credentials"}));
    EXPECT_EQ(dialogs.shown[1].text.rfind("out.test asks for a user name and password.", 0), 0u);
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
    ASSERT_TRUE(testutil::spinUntil([&] { return view->preview() != nullptr; }));
    EXPECT_EQ(view->preview()->pageCount(), 1);
    EXPECT_EQ(view->preview()->pageLabel.get_text(), "Page 1 of 1");
}

TEST(EngineSandbox, AMissingSandboxIsShownAboveThePage)
{
    gchar *empty = g_dir_make_tmp("path-XXXXXX", nullptr);
    g_setenv("PATH", empty, TRUE);
    g_free(empty);
    EngineProfile profile;
    FakeDialogs dialogs;
    WebKitPageView view(profile, dialogs);
    EXPECT_TRUE(view.problemBar().get_visible());
    EXPECT_NE(view.problemText().get_text().find("bubblewrap"), std::string::npos);
    // Nothing is loaded without the sandbox (the engine would end the program).
    view.navigate("http://site.test/");
    testutil::spin();
    EXPECT_EQ(view.currentAddress(), "");
}

} // namespace
