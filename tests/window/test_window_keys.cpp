#include "windowfixture.h"

#include "window/findbar.h"
#include "window/gtkdialogs.h"

#include <atk/atk.h>

namespace {

// Keys reach the window first whichever of its controls they are sent to (a
// toplevel itself cannot be the target of a simulated key).
void press(Gtk::Widget &widget, guint keyval, GdkModifierType modifiers = GdkModifierType(0))
{
    ASSERT_TRUE(gtk_test_widget_send_key(GTK_WIDGET(widget.gobj()), keyval, modifiers));
    testutil::spin();
}

FindBar *findBarIn(frmBrowser &w)
{
    for (Gtk::Widget *child : w.Picture1.get_children()) {
        if (auto *bar = dynamic_cast<FindBar *>(child))
            return bar;
    }
    return nullptr;
}

} // namespace

struct KeyRow { const char *name; guint keyval; GdkModifierType modifiers; const char *target; };
class Keys : public WindowFixture, public testing::WithParamInterface<KeyRow> {};

// A target names what the key must run: a toolbar button ("button:back"), a
// menu item ("menu:mnusave"), a page view call ("view:zoomBy:1") or the field
// it must put the focus in ("focus:address").
TEST_P(Keys, RunWhatTheMouseRuns)
{
    frmBrowser &w = shown();
    const KeyRow &row = GetParam();
    const std::string target = row.target;
    const std::string kind = target.substr(0, target.find(':'));
    const std::string what = target.substr(target.find(':') + 1);
    int runs = 0;
    if (kind == "button")
        w.toolbarButton(what)->signal_clicked().connect([&runs] { ++runs; });
    if (kind == "menu")
        w.menuItem(what)->signal_activate().connect([&runs] { ++runs; });
    w.Combo1.get_entry()->set_text("http://typed.test/");
    view.calls.clear();
    press(w.Command2, row.keyval, row.modifiers);
    if (kind == "view") {
        EXPECT_EQ(view.calls, std::vector<std::string>{what});
    } else if (kind == "focus") {
        Gtk::Entry &field = what == "address" ? *w.Combo1.get_entry() : w.Text1;
        EXPECT_TRUE(field.has_focus());
        int start = 0, end = 0;
        EXPECT_TRUE(field.get_selection_bounds(start, end));
        EXPECT_EQ(end - start, int(field.get_text().size()));
    } else {
        EXPECT_EQ(runs, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Keys, testing::Values(
    KeyRow{"AltLeft", GDK_KEY_Left, GDK_MOD1_MASK, "button:back"},
    KeyRow{"AltRight", GDK_KEY_Right, GDK_MOD1_MASK, "button:forward"},
    KeyRow{"F5", GDK_KEY_F5, GdkModifierType(0), "button:refresh"},
    KeyRow{"CtrlR", GDK_KEY_r, GDK_CONTROL_MASK, "button:refresh"},
    KeyRow{"Esc", GDK_KEY_Escape, GdkModifierType(0), "button:stop"},
    KeyRow{"AltHome", GDK_KEY_Home, GDK_MOD1_MASK, "button:home"},
    KeyRow{"CtrlS", GDK_KEY_s, GDK_CONTROL_MASK, "menu:mnusave"},
    KeyRow{"CtrlP", GDK_KEY_p, GDK_CONTROL_MASK, "menu:mnuprint"},
    KeyRow{"CtrlO", GDK_KEY_o, GDK_CONTROL_MASK, "menu:mnuopen"},
    KeyRow{"CtrlPlus", GDK_KEY_plus, GDK_CONTROL_MASK, "view:zoomBy:1"},
    KeyRow{"CtrlEqual", GDK_KEY_equal, GDK_CONTROL_MASK, "view:zoomBy:1"},
    KeyRow{"CtrlMinus", GDK_KEY_minus, GDK_CONTROL_MASK, "view:zoomBy:-1"},
    KeyRow{"Ctrl0", GDK_KEY_0, GDK_CONTROL_MASK, "view:resetZoom"},
    KeyRow{"CtrlL", GDK_KEY_l, GDK_CONTROL_MASK, "focus:address"},
    KeyRow{"CtrlK", GDK_KEY_k, GDK_CONTROL_MASK, "focus:search"}),
    [](const testing::TestParamInfo<KeyRow> &info) { return info.param.name; });

TEST_F(WindowFixture, FindBarFindsAndEscClosesItBeforeStopping)
{
    frmBrowser &w = shown();
    FindBar *bar = findBarIn(w);
    ASSERT_TRUE(bar);
    EXPECT_FALSE(bar->get_visible());
    press(w.Command2, GDK_KEY_f, GDK_CONTROL_MASK);
    ASSERT_TRUE(bar->field().has_focus());
    view.calls.clear();
    bar->field().set_text("ab");
    press(bar->field(), GDK_KEY_Return);
    press(bar->field(), GDK_KEY_Return, GDK_SHIFT_MASK);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"find:ab:forward", "find:ab:forward", "find:ab:back"}));

    int stops = 0;
    w.toolbarButton("stop")->signal_clicked().connect([&stops] { ++stops; });
    view.calls.clear();
    press(bar->field(), GDK_KEY_Escape);
    EXPECT_FALSE(bar->get_visible());
    EXPECT_EQ(view.calls, (std::vector<std::string>{"find::forward", "takeFocus"}));
    EXPECT_EQ(stops, 0);
    // Reopened, the last words are selected, ready to be replaced.
    press(w.Command2, GDK_KEY_f, GDK_CONTROL_MASK);
    int start = 0, end = 0;
    // The focus arrives from the display server, after the key.
    EXPECT_TRUE(testutil::spinUntil([&] { return bar->field().get_selection_bounds(start, end); },
                                    std::chrono::seconds(2)));
    EXPECT_EQ(end - start, 2);
}

TEST(FilterPatterns, ComeFromTheParentheses)
{
    struct Row { const char *filter; std::vector<std::string> patterns; };
    const Row rows[] = {
        {"HTML Files (*.htm;*.html)", {"*.htm", "*.html"}},
        {"Text (*.txt)", {"*.txt"}},
        {"All files", {"*"}},
        {"Odd (a) (*.a; *.b )", {"*.a", "*.b"}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(filterPatterns(row.filter), row.patterns) << row.filter;
}
