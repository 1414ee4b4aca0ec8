// Downloads as the user meets them in the whole window over the real engine:
// the question that outlives the page, the Downloads window, the status bar.
#include "app/browser.h"
#include "enginepage.h"
#include "fakedesktop.h"
#include "findwidget.h"
#include "settings/settingsstore.h"
#include "widgetinput.h"
#include "window/mainwindow.h"

namespace {

using enginepage::Reply;

const char HomePage[] = "http://www.velmora.example/skimlark.htm";

class FileDownloads : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!page.start())
            GTEST_SKIP() << page.skipped;
        // The page view goes into the program's own window instead of the test's.
        page.frame->layout.remove(page.view->widget());
        page.window.reset();
        page.frame.reset();
        browser = std::make_unique<Browser>(settings, page.dialogs, *page.view, "", &desktop);
        browser->load();
        widgetinput::show(browser->window());
        // Its first activation opens the home page, as at a start; nothing
        // activates the window here, so it is asked for now rather than at
        // some later focus, which would take the page from the test.
        browser->window().ensureFirstActivation();
        ASSERT_TRUE(testutil::spinUntil([this] { return page.view->currentAddress() == HomePage; }));
    }
    void TearDown() override
    {
        browser.reset();
        page.close();
    }

    std::string panel(int n) { return browser->window().panels()[n].get_text(); }

    enginepage::EnginePage page;
    const std::string home = g_get_home_dir();
    SettingsStore settings;
    FakeDesktop desktop;
    std::unique_ptr<Browser> browser;
};

TEST_F(FileDownloads, AFileOutlivesItsPageIsListedWithItsProgressAndOpens)
{
    TestServer &server = page.server;
    server.expect("http://shown.test/", enginepage::htmlPage("Shown"));
    server.expect("http://elsewhere.test/", enginepage::htmlPage("Elsewhere"));
    std::string bytes(200'000, 'r');
    bytes.replace(0, 5, "%PDF-");
    TestServer::Response file{200, "application/octet-stream", bytes, {}};
    file.pauseAfter = 100'000;
    server.expect("http://files.test/report.pdf", file);
    ASSERT_TRUE(page.load("http://shown.test/", "Shown"));

    // The user goes elsewhere while the file's question is open, and answers it there.
    const std::string target = home + "/report.pdf";
    Reply save = Reply::yes();
    save.waitFor = [&] { return page.view->currentTitle() == "Elsewhere"; };
    page.user->replies = {save, Reply::choosing({target})};
    page.view->navigate("http://files.test/report.pdf");
    ASSERT_TRUE(testutil::spinUntil([&] { return page.user->asked.size() == 1; }));
    ASSERT_TRUE(page.load("http://elsewhere.test/", "Elsewhere"));

    auto *searchBox = findwidget::named<Gtk::Entry>(browser->window(), "Search the Internet:");
    ASSERT_TRUE(gtk_test_widget_send_key(GTK_WIDGET(searchBox->gobj()), GDK_KEY_y,
                                         GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK)));
    Gtk::Window *list = nullptr;
    ASSERT_TRUE(testutil::spinUntil([&] { return (list = findwidget::shownWindow("Downloads")) != nullptr; }));
    const std::string running = "report.pdf\nfiles.test \u2014 100.0\u00a0kB of 200.0\u00a0kB";
    ASSERT_TRUE(testutil::spinUntil([&] { return findwidget::visibleText(*list, "report.pdf").rfind(running, 0) == 0; }))
        << findwidget::visibleText(*list, "report.pdf") << testing::PrintToString(page.user->asked);
    auto *bar = findwidget::named<Gtk::ProgressBar>(*list, "Progress of report.pdf");
    ASSERT_TRUE(bar && bar->get_visible());
    EXPECT_EQ(bar->get_text(), "50%");
    EXPECT_EQ(panel(1), "http://elsewhere.test/ \u2014 Downloading report.pdf: 50%");
    EXPECT_TRUE(findwidget::named<Gtk::Button>(*list, "Cancel")->get_visible());

    server.release();
    ASSERT_TRUE(testutil::spinUntil([&] {
        return findwidget::visibleText(*list, "report.pdf") == "report.pdf\nfiles.test \u2014 200.0\u00a0kB \u2014 Done\nOpen\nShow in Folder";
    })) << findwidget::visibleText(*list, "report.pdf");
    EXPECT_FALSE(bar->get_visible());
    EXPECT_EQ(panel(1), "Downloaded report.pdf");
    EXPECT_EQ(testutil::fileContents(target), bytes);
    findwidget::named<Gtk::Button>(*list, "Open")->clicked();
    findwidget::named<Gtk::Button>(*list, "Show in Folder")->clicked();
    EXPECT_EQ(desktop.opened, std::vector<std::string>{target});
    EXPECT_EQ(desktop.shown, std::vector<std::string>{target});
    g_unlink(target.c_str());
}

} // namespace
