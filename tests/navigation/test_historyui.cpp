#include "browserfixture.h"

#include "history/historydatabase.h"
#include "history/historystore.h"
#include "pagerules/makersite.h"

#include "navigation/historywindow.h"

#include <gtkmm/scrolledwindow.h>
#include <gtkmm/treeview.h>
#include <set>

using testutil::spinUntil;
using Strings = std::vector<std::string>;

namespace {

// The main window over the fake page view, and the history file it keeps,
// read and seeded through a connection of the test's own.
struct HistoryUi : BrowserFixture
{
    HistoryDatabase db;
    HistoryStore store{db};

    Gtk::Entry &entry() { return *w().addressCombo().get_entry(); }

    // A page as the engine reports it: its address, its commit, then its title.
    void reach(const std::string &address, const std::string &title, bool errorPage = false)
    {
        view.loadStarted.emit();
        view.errorPage = errorPage;
        if (view.address != address) {
            view.address = address;
            view.urlChanged.emit(address);
        }
        view.title = "";
        view.loadCommitted.emit();
        view.title = title;
        view.titleChanged.emit(title);
    }
    Strings kept()
    {
        Strings rows;
        for (const Visit &visit : store.visits())
            rows.push_back(visit.address + " | " + visit.title);
        return rows;
    }

    // The rows of a tree as shown: a day's heading, then its visits indented.
    static Strings rowsOf(Gtk::TreeView &list, int column = 0)
    {
        Strings rows;
        std::function<void(const Gtk::TreeModel::Children &, const std::string &)> walk =
            [&](const Gtk::TreeModel::Children &children, const std::string &indent) {
                for (const auto &row : children) {
                    Glib::ustring text;
                    row.get_value(column, text);
                    rows.push_back(indent + std::string(text));
                    walk(row.children(), indent + "  ");
                }
            };
        walk(list.get_model()->children(), "");
        return rows;
    }

    Gtk::Window &historyWindow()
    {
        choose("mnuhistory");
        Gtk::Window *window = nullptr;
        EXPECT_TRUE(spinUntil([&] { return (window = findwidget::shownWindow("History")) != nullptr; }));
        return *window;
    }
    Gtk::Window *suggestions() { return findwidget::shownWindow("Suggestions"); }
};

} // namespace

TEST_F(HistoryUi, EveryWebPageReachedIsKeptWithItsTitle)
{
    shown();
    reach("http://kitchen.test/", "Copper pots");
    reach("http://kitchen.test/", "Copper pots");                  // Refresh: a visit again
    reach("http://kitchen.test/#lids", "Copper pots");             // the page's own new address
    reach("http://typo.test/", "Problem loading page", true);      // our explanation, no place
    reach("about:blank", "");
    reach(makersite::ReferralAddress, "");                        // leads straight on
    reach("file:///home/user/notes.html", "Notes");
    EXPECT_EQ(kept(), (Strings{"file:///home/user/notes.html | Notes", "http://kitchen.test/#lids | Copper pots",
                               "http://kitchen.test/ | Copper pots", "http://kitchen.test/ | Copper pots"}));
}

TEST_F(HistoryUi, TheHistoryWindowListsDaysNewestFirstSearchesOpensAndDeletes)
{
    const std::int64_t now = HistoryDatabase::now();
    const std::int64_t day = std::int64_t(24) * 3600 * 1000000;
    store.recordVisit("http://old.test/", "Old <b>news</b> & more", now - 3 * day);
    store.recordVisit("http://yesterday.test/", "", now - day);
    store.recordVisit("http://kitchen.test/pans", "Copper pans", now - 1000000);
    store.recordVisit("http://kitchen.test/pots", "Copper pots", now);
    shown();
    Gtk::Window &window = historyWindow();
    auto &list = *findwidget::named<Gtk::TreeView>(window, "Visits");
    auto &search = *findwidget::named<Gtk::Entry>(window, "Search history");
    const Strings all = rowsOf(list);
    ASSERT_EQ(all.size(), 7u);
    EXPECT_EQ(Strings(all.begin(), all.begin() + 6),
              (Strings{"Today", "  Copper pots", "  Copper pans", "Yesterday", "  http://yesterday.test/",
                       all[5]}));
    // Page text is shown as it is, never read as markup.
    EXPECT_EQ(all[6], "  Old <b>news</b> & more");
    for (const char *name : {"Search history", "Visits", "Open", "Delete", "Close"})
        EXPECT_TRUE(findwidget::named(window, name)) << name;

    // Typing narrows the list to address or title holding every word.
    search.set_text("copper POTS");
    ASSERT_TRUE(spinUntil([&] { return rowsOf(list).size() == 2; }));
    EXPECT_EQ(rowsOf(list, 1), (Strings{"", "  http://kitchen.test/pots"}));
    // Enter opens the page as Surf does: the address goes to the page and the list.
    search.activate();
    testutil::spin();
    EXPECT_EQ(view.navigations, Strings{"http://kitchen.test/pots"});
    EXPECT_EQ(visitedList().back(), "http://kitchen.test/pots");

    search.set_text("");
    ASSERT_TRUE(spinUntil([&] { return rowsOf(list).size() == 7; }));
    // Delete removes the selected visits; a day's heading stands for its visits.
    widgetinput::focus(list);
    list.get_selection()->unselect_all();
    list.get_selection()->select(Gtk::TreePath("0:1"));
    list.get_selection()->select(Gtk::TreePath("1"));
    widgetinput::key(list, GDK_KEY_Delete);
    testutil::spin();
    EXPECT_EQ(rowsOf(list, 1), (Strings{"", "  http://kitchen.test/pots", "", "  http://old.test/"}));
    EXPECT_EQ(store.visits().size(), 2u);
}

TEST_F(HistoryUi, DeletingBrowsingDataEmptiesTheHistory)
{
    store.recordVisit("http://kitchen.test/", "Kitchen");
    shown();
    Gtk::Window &history = historyWindow();
    choose("mnuinternetproperites");
    Gtk::Window *panel = nullptr;
    ASSERT_TRUE(spinUntil([&] { return (panel = findwidget::shownWindow("Internet Properties")) != nullptr; }));
    dialogs.confirmAnswers = {true};
    click(*findwidget::named<Gtk::Button>(*panel, "Delete browsing data"));
    EXPECT_TRUE(store.visits().empty());
    EXPECT_TRUE(spinUntil([&] { return findwidget::shownText(history, "History").find("No pages visited.") != std::string::npos; }));
}

TEST_F(HistoryUi, TypingOffersVisitedPagesAndTheKeyboardChoosesOne)
{
    store.recordVisit("http://kitchen.test/pots", "Copper <pots> & pans");
    store.recordVisit("http://kitchen.test/lids", "Lids");
    store.recordVisit("http://kitchen.test/lids", "Lids");
    const struct
    {
        const char *name;
        std::vector<guint> keys;
        std::string navigated;
    } rows[] = {
        // Without a pick Enter surfs what was typed: the list never takes the typing.
        {"Enter surfs the typed text", {GDK_KEY_Return}, "https://kitch"},
        {"Down picks the most visited", {GDK_KEY_Down, GDK_KEY_Return}, "http://kitchen.test/lids"},
        {"Down twice the next", {GDK_KEY_Down, GDK_KEY_Down, GDK_KEY_Return}, "http://kitchen.test/pots"},
        {"Up from the top gives Enter back", {GDK_KEY_Down, GDK_KEY_Up, GDK_KEY_Return}, "https://kitch"},
    };
    shown();
    widgetinput::show(w());
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        view.navigations.clear();
        widgetinput::focus(entry());
        entry().set_text("");
        for (const char *key : {"k", "i", "t", "c", "h"})
            widgetinput::key(entry(), gdk_unicode_to_keyval(key[0]));
        ASSERT_TRUE(spinUntil([&] { return entry().get_text() == "kitch"; })) << entry().get_text();
        ASSERT_TRUE(spinUntil([&] { return suggestions() != nullptr; }));
        auto &list = *findwidget::named<Gtk::TreeView>(*suggestions(), "Suggestions");
        // The typed text in bold, the page's own text escaped.
        EXPECT_EQ(rowsOf(list, 0), (Strings{"Lids", "Copper &lt;pots&gt; &amp; pans"}));
        EXPECT_EQ(rowsOf(list, 1), (Strings{"http://<b>kitch</b>en.test/lids", "http://<b>kitch</b>en.test/pots"}));
        for (guint key : row.keys)
            widgetinput::key(entry(), key);
        EXPECT_TRUE(spinUntil([&] { return !view.navigations.empty(); }));
        EXPECT_EQ(view.navigations, Strings{row.navigated});
        EXPECT_EQ(suggestions(), nullptr);
        EXPECT_EQ(visitedList().back(), row.navigated == "https://kitch" ? "kitch" : row.navigated);
    }
}

// A damaged history never stops the browser: the page is kept in a new one,
// and the user reads what became of the old.
TEST_F(HistoryUi, ADamagedHistoryIsSetAsideAndTold)
{
    const std::string path = HistoryDatabase::defaultPath();
    g_mkdir_with_parents(Glib::path_get_dirname(path).c_str(), 0700);
    ASSERT_TRUE(g_file_set_contents(path.c_str(), std::string(8192, 'x').c_str(), 8192, nullptr));
    shown();
    reach("http://kitchen.test/", "Kitchen");
    EXPECT_NE(w().panels()[1].get_text().find("The history was damaged"), std::string::npos)
        << w().panels()[1].get_text();
    EXPECT_EQ(kept(), Strings{"http://kitchen.test/ | Kitchen"});
    Gtk::Window &window = historyWindow();
    EXPECT_NE(findwidget::shownText(window, "History").find("The history was damaged"), std::string::npos);
}

// A long history is read a page at a time as the list is scrolled to its end;
// a day read over two pages keeps one heading.
TEST_F(HistoryUi, ScrollingReadsMoreUnderTheSameDayAndANewVisitKeepsThePlace)
{
    const std::int64_t now = HistoryDatabase::now();
    const int count = int(HistoryWindow::PageSize) + 3;
    for (int n = 0; n < count; ++n)
        store.recordVisit("http://page.test/" + std::to_string(n), "Page", now - count + n);
    shown();
    Gtk::Window &window = historyWindow();
    auto &list = *findwidget::named<Gtk::TreeView>(window, "Visits");
    EXPECT_EQ(rowsOf(list).size(), HistoryWindow::PageSize + 1);
    Glib::RefPtr<Gtk::Adjustment> scroll = findwidget::every<Gtk::ScrolledWindow>(window).at(0)->get_vadjustment();
    ASSERT_TRUE(spinUntil([&] { return scroll->get_upper() > scroll->get_page_size(); }));
    scroll->set_value(scroll->get_upper() - scroll->get_page_size());
    ASSERT_TRUE(spinUntil([&] { return rowsOf(list).size() == std::size_t(count) + 1; })) << rowsOf(list).size();
    const Strings addresses = rowsOf(list, 1);
    EXPECT_EQ(addresses.front(), "");
    EXPECT_EQ(addresses.back(), "  http://page.test/0");
    EXPECT_EQ(std::set<std::string>(addresses.begin() + 1, addresses.end()).size(), std::size_t(count));

    // A page reached meanwhile joins the list, which keeps what was read and selected.
    list.get_selection()->select(Gtk::TreePath("0:" + std::to_string(count - 1)));
    reach("http://new.test/", "New");
    ASSERT_TRUE(spinUntil([&] { return rowsOf(list).size() == std::size_t(count) + 2; })) << rowsOf(list).size();
    EXPECT_EQ(rowsOf(list, 1)[1], "  http://new.test/");
    const auto selected = list.get_selection()->get_selected_rows();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0].to_string(), "0:" + std::to_string(count));
}
