// Hostile pages against the real engine: what the user sees, and that nothing
// else happens. Every page comes from a loopback server that is also the
// engine's proxy and fails the test on any request it did not expect.
#include "engine/engineprofile.h"
#include "engine/pageguardrules.h"
#include "engine/webkitpageguard.h"
#include "fakedialogs.h"
#include "testutil.h"

#include <gtest/gtest.h>
#include <gtkmm.h>
#include <gio/gdesktopappinfo.h>
#include <libsoup/soup.h>
#include <webkit2/webkit2.h>

#include <fstream>
#include <map>

namespace {

// The program a scheme would start: writes a file, so a launch can be seen.
const char Opener[] = "Share Opener";

struct Server
{
    struct Reply
    {
        int status;
        std::string type, body, header;
    };
    SoupServer *soup = soup_server_new(nullptr, nullptr);
    std::string root;
    std::map<std::string, Reply> replies;
    std::vector<std::string> unexpected;

    Server()
    {
        soup_server_add_handler(
            soup, nullptr,
            +[](SoupServer *, SoupServerMessage *msg, const char *path, GHashTable *,
                gpointer self) { static_cast<Server *>(self)->answer(msg, path); },
            this, nullptr);
        soup_server_listen_local(soup, 0, SOUP_SERVER_LISTEN_IPV4_ONLY, nullptr);
        GSList *uris = soup_server_get_uris(soup);
        root =
            "http://127.0.0.1:" + std::to_string(g_uri_get_port(static_cast<GUri *>(uris->data)));
        g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
    }
    ~Server() { g_object_unref(soup); }

    void answer(SoupServerMessage *msg, const char *path)
    {
        const auto found = replies.find(path);
        if (found == replies.end() ||
            std::string(soup_server_message_get_method(msg)) == "CONNECT") {
            unexpected.push_back(path);
            soup_server_message_set_status(msg, 404, nullptr);
            return;
        }
        const Reply &reply = found->second;
        soup_server_message_set_status(msg, reply.status, nullptr);
        if (!reply.header.empty())
            soup_message_headers_append(soup_server_message_get_response_headers(msg),
                                        "WWW-Authenticate", reply.header.c_str());
        soup_server_message_set_response(msg, reply.type.c_str(), SOUP_MEMORY_COPY,
                                         reply.body.data(), reply.body.size());
    }
};

struct Hostile;

struct Row
{
    const char *name;
    std::string page;                          // served at "/", or a file when it starts "file:"
    std::function<void(Hostile &)> act;        // what the user does, after the page loaded
    std::vector<FakeDialogs::Shown> shown;     // what the user sees, in order
    std::string endTitle;                      // the page's own verdict
    std::function<void(Hostile &)> check = {}; // anything else that must hold
    bool launches = false;                     // the user let another program start
    int windows = 0;                           // new windows left to the page view
};

// Test names, not bytes, in the listing.
void PrintTo(const Row &row, std::ostream *out)
{
    *out << row.name;
}

struct Hostile : testing::TestWithParam<Row>
{
    Server server;
    FakeDialogs dialogs;
    Gtk::Window window;
    Gtk::Overlay overlay;
    WebKitWebView *view = nullptr;
    std::unique_ptr<WebKitPageGuard> guard;
    int windowsOpened = 0;
    std::string home = g_get_home_dir();

    void SetUp() override
    {
        if (const std::string problem = EngineProfile::probeSandbox(); !problem.empty())
            GTEST_SKIP() << problem;
        WebKitWebsiteDataManager *data = webkit_website_data_manager_new_ephemeral();
        WebKitNetworkProxySettings *proxy =
            webkit_network_proxy_settings_new(server.root.c_str(), nullptr);
        webkit_website_data_manager_set_network_proxy_settings(
            data, WEBKIT_NETWORK_PROXY_MODE_CUSTOM, proxy);
        webkit_network_proxy_settings_free(proxy);
        WebKitWebContext *context = webkit_web_context_new_with_website_data_manager(data);
        webkit_web_context_set_sandbox_enabled(context, TRUE);
        view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, nullptr));
        g_object_unref(context);
        g_object_unref(data);
        // A careless start, which the guard must close.
        g_object_set(webkit_web_view_get_settings(view), "allow-file-access-from-file-urls", TRUE,
                     "allow-universal-access-from-file-urls", TRUE,
                     "javascript-can-open-windows-automatically", TRUE, "enable-media-stream", TRUE,
                     "enable-mock-capture-devices", TRUE, nullptr);
        overlay.add(*Glib::wrap(GTK_WIDGET(view)));
        window.add(overlay);
        window.set_default_size(400, 300);
        guard = std::make_unique<WebKitPageGuard>(
            view, dialogs, [this] { return &window; }, overlay);
        // The page view's own handler, connected after the guard's.
        g_signal_connect(view, "create",
                         G_CALLBACK(+[](WebKitWebView *, WebKitNavigationAction *,
                                        Hostile *self) -> GtkWidget * {
                             ++self->windowsOpened;
                             return nullptr;
                         }),
                         this);
        window.show_all();
        installOpener();
    }
    void TearDown() override { guard.reset(); }

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

    std::string title() const
    {
        const char *t = webkit_web_view_get_title(view);
        return t ? t : "";
    }
    bool waitTitle(const std::string &wanted)
    {
        return testutil::spinUntil([&] { return title() == wanted; });
    }
    // The text of the notice shown over the page, "" when none shows.
    std::string noticeText()
    {
        for (Gtk::Widget *child : overlay.get_children()) {
            auto *label = dynamic_cast<Gtk::Label *>(child);
            if (label && label->get_visible())
                return label->get_text();
        }
        return "";
    }
    void click()
    {
        GdkWindow *target = gtk_widget_get_window(GTK_WIDGET(view));
        gdk_test_simulate_button(target, 40, 40, 1, GdkModifierType(0), GDK_BUTTON_PRESS);
        gdk_test_simulate_button(target, 40, 40, 1, GdkModifierType(0), GDK_BUTTON_RELEASE);
    }
    void load(const std::string &page)
    {
        if (page.rfind("file:", 0) == 0) {
            const std::string folder = home + "/site";
            g_mkdir_with_parents(folder.c_str(), 0700);
            std::ofstream(folder + "/page.html") << page.substr(5);
            std::ofstream(folder + "/secret.txt") << "the user's secret";
            webkit_web_view_load_uri(view, ("file://" + folder + "/page.html").c_str());
            return;
        }
        server.replies["/"] = {200, "text/html", page, ""};
        webkit_web_view_load_uri(view, (server.root + "/").c_str());
    }
};

// A link or button over the whole page, so a click anywhere lands on it.
std::string fullPage(const std::string &element)
{
    return "<style>body{margin:0}#t{display:block;position:fixed;inset:0}</style>" + element +
           "<script>setTimeout(function(){document.title='ready'},300)</script>";
}

void clickWhenReady(Hostile &t)
{
    ASSERT_TRUE(t.waitTitle("ready"));
    t.click();
}

TEST_P(Hostile, ShowsOnlyWhatThePageMayShow)
{
    const Row &row = GetParam();
    load(row.page);
    if (row.act)
        row.act(*this);
    EXPECT_TRUE(waitTitle(row.endTitle)) << "title: " << title();
    testutil::spinUntil([&] { return dialogs.shown.size() >= row.shown.size(); });
    testutil::spinUntil([] { return false; }, std::chrono::milliseconds(300));
    ASSERT_EQ(dialogs.shown.size(), row.shown.size());
    for (size_t i = 0; i < row.shown.size(); ++i) {
        EXPECT_EQ(dialogs.shown[i].kind, row.shown[i].kind);
        EXPECT_EQ(dialogs.shown[i].title, row.shown[i].title);
        EXPECT_EQ(dialogs.shown[i].text, row.shown[i].text);
    }
    if (row.check)
        row.check(*this);
    EXPECT_EQ(windowsOpened, row.windows);
    if (row.launches)
        EXPECT_TRUE(testutil::spinUntil([this] { return launched(); }));
    else
        EXPECT_FALSE(launched());
    EXPECT_EQ(server.unexpected, std::vector<std::string>());
}

const char SmbLink[] = "smb://files.example/share/report.odt";
const std::string OpenQuestion =
    std::string("Open this address with ") + Opener + "?\n\n" + SmbLink;

const Row Rows[] = {
    {"MarkupInAlert", "<script>alert('<img src=/dev/zero>');document.title='done'</script>", {},
     {{"alert", "127.0.0.1 says", "<img src=/dev/zero>"}}, "done"},
    {"OpaqueOriginAlert",
     "<iframe src=\"data:text/html,<script>alert('from a data frame');parent.postMessage(1,'*')"
     "</script>\"></iframe><script>onmessage=function(){document.title='done'}</script>",
     {}, {{"alert", "a page says", "from a data frame"}}, "done"},
    {"AlertLoop", "<script>for(var i=1;i<=6;i++)alert('box '+i);document.title='done'</script>",
     [](Hostile &t) { t.dialogs.pageBoxAnswers = {{}, {}, {}, {true, "", true}}; },
     {{"alert", "127.0.0.1 says", "box 1"}, {"alert", "127.0.0.1 says", "box 2"},
      {"alert", "127.0.0.1 says", "box 3"}, {"alert", "127.0.0.1 says", "box 4"}},
     "done", [](Hostile &t) { EXPECT_EQ(t.dialogs.pageBoxOffers,
                                                 (std::vector<bool>{0, 0, 0, 1})); }},
    {"SmbLinkClickedAndRefused",
     fullPage(std::string("<a id=t href='") + SmbLink + "'>report</a>") +
         "<script>location.href='smb://files.example/share/unasked'</script>",
     clickWhenReady, {{"confirm", "Skimlark", OpenQuestion}}, "ready"},
    {"SmbLinkClickedAndAllowed", fullPage(std::string("<a id=t href='") + SmbLink + "'>report</a>"),
     [](Hostile &t) {
         t.dialogs.confirmAnswers = {true};
         clickWhenReady(t);
     },
     {{"confirm", "Skimlark", OpenQuestion}}, "ready", {}, true},
    // Refused, the load ends there, as cancelled.
    {"SignInRefused", "<script>location.href='/vault'</script>",
     [](Hostile &t) {
         t.server.replies["/vault"] = {401, "text/html", "in", "Basic realm=\"<b>Staff</b> only\""};
     },
     {{"credentials", "127.0.0.1 says", "<b>Staff</b> only"}}, ""},
    {"OpenFilesPicker",
     fullPage("<input id=t type=file multiple onchange=\"document.title='done:'+files.length\">"),
     [](Hostile &t) {
         for (const char *name : {"/a.txt", "/b.txt"})
             std::ofstream(t.home + name) << name;
         t.dialogs.pageFileAnswers = {{t.home + "/a.txt", t.home + "/b.txt"}};
         clickWhenReady(t);
     },
     {{"page-open-many", "127.0.0.1 says", ""}}, "done:2"},
    {"FilePageReadsAnotherFile",
     "file:<script>var x=new XMLHttpRequest();try{x.open('GET','secret.txt',false);x.send();"
     "document.title=x.responseText?'read':'empty'}catch(e){document.title='done:blocked'}"
     "</script>",
     {}, {}, "done:blocked"},
    {"WindowOpenWithoutClick",
     "<script>var w=window.open('/elsewhere');document.title=w?'opened':'done:blocked'</script>",
     {}, {}, "done:blocked"},
    {"WindowOpenOnClick",
     fullPage("<a id=t href='#' onclick=\"window.open('/fresh');document.title='done';"
              "return false\">open</a>"),
     clickWhenReady, {}, "done", {}, false, 1},
    {"WindowOpenToData",
     fullPage("<a id=t href='#' onclick=\"var w=window.open('data:text/html,<title>x</title>');"
              "document.title=w?'opened':'done:blocked';return false\">open</a>"),
     clickWhenReady, {}, "done:blocked"},
    // The engine itself refuses a page's top-level data: address, with a click or without.
    {"NavigationToData",
     fullPage("<a id=t href='data:text/html,<title>escaped</title>'>data</a>") +
         "<script>location.href='data:text/html,<title>escaped</title>'</script>",
     [](Hostile &t) {
         clickWhenReady(t);
         testutil::spinUntil([] { return false; }, std::chrono::seconds(1));
     },
     {}, "ready"},
    {"CameraRequest",
     "<script>navigator.mediaDevices.getUserMedia({video:true}).then(function(){"
     "document.title='granted'},function(){document.title='done:denied'})</script>",
     {}, {{"confirm", "Skimlark", "127.0.0.1 wants to use your camera. Allow?"}}, "done:denied"},
    {"FullScreen",
     fullPage("<button id=t onclick='document.documentElement.requestFullscreen()'>full</button>") +
         "<script>document.onfullscreenchange=function(){"
         "document.title=document.fullscreenElement?'full':'done:left'}</script>",
     [](Hostile &t) {
         t.dialogs.confirmAnswers = {true};
         clickWhenReady(t);
         EXPECT_TRUE(t.waitTitle("full"));
         EXPECT_EQ(t.noticeText(), "127.0.0.1\nPress Esc to leave full screen");
         for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE})
             gdk_test_simulate_key(t.window.get_window()->gobj(), -1, -1, GDK_KEY_Escape,
                                   GdkModifierType(0), type);
     },
     {{"confirm", "Skimlark", "127.0.0.1 wants to show itself in full screen. Allow?"}},
     "done:left", [](Hostile &t) { EXPECT_EQ(t.noticeText(), ""); }},
    {"SaveFilePicker", "<script>document.title='done:'+typeof window.showSaveFilePicker</script>",
     {}, {}, "done:undefined"},
};

INSTANTIATE_TEST_SUITE_P(Pages, Hostile, testing::ValuesIn(Rows),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PageGuardRules, TitlesAndSchemesFromTheAddress)
{
    const struct
    {
        const char *address, *title;
        bool otherProgram, topLevelForbidden;
    } rows[] = {
        {"http://127.0.0.1:8080/x", "127.0.0.1 says", false, false},
        {"blob:https://www.example.com/1-2", "www.example.com says", false, false},
        {"data:text/html,<b>hi", "a page says", false, true},
        {"JavaScript:alert(1)", "a page says", false, true},
        {"about:blank", "a page says", false, false},
        {"file:///home/ann/page.html", "a page says", false, false},
        {"SMB://server/share", "a page says", true, false},
        {"magnet:?xt=urn:btih:0", "a page says", true, false},
        {"mailto:ann@example.com", "a page says", true, false},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(pageguard::boxTitle(row.address), row.title) << row.address;
        EXPECT_EQ(!pageguard::engineScheme(pageguard::schemeOf(row.address)), row.otherProgram)
            << row.address;
        EXPECT_EQ(pageguard::topLevelForbidden(row.address), row.topLevelForbidden) << row.address;
    }
}

} // namespace
