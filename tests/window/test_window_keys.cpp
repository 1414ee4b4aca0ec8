#include "browserfixture.h"

#include "pagerules/makersite.h"

using Strings = std::vector<std::string>;

namespace {

// Keys reach the window first whichever of its controls they are sent to (a
// toplevel itself cannot be the target of a simulated key).
void press(Gtk::Widget &widget, guint keyval, GdkModifierType modifiers = GdkModifierType(0))
{
    ASSERT_TRUE(gtk_test_widget_send_key(GTK_WIDGET(widget.gobj()), keyval, modifiers));
    // The key goes through the display server: handled once a round trip to it has returned.
    gdk_display_sync(gdk_display_get_default());
    testutil::spin();
}

} // namespace

// What a key must do, as the user sees it: a call on the page (as the
// button or menu item would make it), the focus in a field with its text
// selected, a box, or a favorite stored.
struct KeyCase { const char *name; guint keyval; GdkModifierType modifiers; const char *effect; };
class Keys : public BrowserFixture, public testing::WithParamInterface<KeyCase> {};

TEST_P(Keys, DoWhatTheMouseDoes)
{
    MainWindow &w = shown();
    const KeyCase &row = GetParam();
    const std::string effect = row.effect;
    const std::string kind = effect.substr(0, effect.find(':'));
    const std::string what = effect.substr(effect.find(':') + 1);
    w.addressCombo().get_entry()->set_text("http://typed.test/");
    view.address = "http://shown.test/";
    // Zoom keys step from 120%.
    view.zoom = 1.2;
    // F6 goes from the address bar (where the keyboard starts) to the search
    // box, and from the page into its question, which never takes it itself.
    view.asking = kind == "question";
    if (view.asking) {
        static_cast<Gtk::Label &>(view.widget()).set_selectable(true);
        view.widget().grab_focus();
    }
    view.calls.clear();
    press(w.surfButton(), row.keyval, row.modifiers);
    if (kind == "view") {
        EXPECT_NE(std::find(view.calls.begin(), view.calls.end(), what), view.calls.end()) << testing::PrintToString(view.calls);
        EXPECT_EQ(view.calls.size(), what == "print" ? 2u : 1u) << testing::PrintToString(view.calls);
    } else if (kind == "focus") {
        Gtk::Entry &field = what == "address" ? *w.addressCombo().get_entry() : w.searchBox();
        EXPECT_TRUE(field.has_focus());
        int start = 0, end = 0;
        EXPECT_TRUE(field.get_selection_bounds(start, end));
        EXPECT_EQ(end - start, int(field.get_text().size()));
    } else if (kind == "question") {
        EXPECT_EQ(view.calls, Strings{"focusQuestion"});
    } else if (kind == "zoom") {
        EXPECT_EQ(int(view.zoom * 100 + 0.5), std::stoi(what));
    } else if (kind == "box") {
        EXPECT_EQ(dialogs.kinds(), Strings{what});
    } else if (kind == "stored") {
        EXPECT_EQ(stored("Home", what), "http://shown.test/");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Keys, testing::Values(
    KeyCase{"AltLeft", GDK_KEY_Left, GDK_MOD1_MASK, "view:back"},
    KeyCase{"AltRight", GDK_KEY_Right, GDK_MOD1_MASK, "view:forward"},
    KeyCase{"F5", GDK_KEY_F5, GdkModifierType(0), "view:refresh"},
    KeyCase{"CtrlR", GDK_KEY_r, GDK_CONTROL_MASK, "view:refresh"},
    KeyCase{"Esc", GDK_KEY_Escape, GdkModifierType(0), "view:stop"},
    KeyCase{"AltHome", GDK_KEY_Home, GDK_MOD1_MASK, "view:navigate:http://www.velmora.example/skimlark.htm"},
    KeyCase{"CtrlS", GDK_KEY_s, GDK_CONTROL_MASK, "view:saveAs"},
    KeyCase{"CtrlP", GDK_KEY_p, GDK_CONTROL_MASK, "view:print"},
    KeyCase{"CtrlO", GDK_KEY_o, GDK_CONTROL_MASK, "box:open"},
    KeyCase{"CtrlPlus", GDK_KEY_plus, GDK_CONTROL_MASK, "zoom:133"},
    KeyCase{"CtrlEqual", GDK_KEY_equal, GDK_CONTROL_MASK, "zoom:133"},
    KeyCase{"CtrlMinus", GDK_KEY_minus, GDK_CONTROL_MASK, "zoom:110"},
    KeyCase{"Ctrl0", GDK_KEY_0, GDK_CONTROL_MASK, "zoom:100"},
    KeyCase{"CtrlL", GDK_KEY_l, GDK_CONTROL_MASK, "focus:address"},
    KeyCase{"CtrlK", GDK_KEY_k, GDK_CONTROL_MASK, "focus:search"},
    KeyCase{"F6FromThePage", GDK_KEY_F6, GdkModifierType(0), "question:"},
    KeyCase{"F6FromTheAddressBar", GDK_KEY_F6, GdkModifierType(0), "focus:search"},
    KeyCase{"CtrlD", GDK_KEY_d, GDK_CONTROL_MASK, "stored:Address1"}),
    [](const testing::TestParamInfo<KeyCase> &info) { return info.param.name; });

TEST_F(BrowserFixture, CtrlDFillsTheFirstEmptySlotAndCtrlQEnds)
{
    seed("Home", "Address1", "http://one.test/");
    MainWindow &w = shown();
    view.address = "http://shown.test/";
    press(w.searchBox(), GDK_KEY_d, GDK_CONTROL_MASK);
    // A loaded display server may hand the key on after the round trip.
    testutil::spinUntil([&] { return !stored("Home", "Address2").empty(); });
    EXPECT_EQ(stored("Home", "Address2"), "http://shown.test/");
    EXPECT_EQ(w.favoriteButton(2)->get_tooltip_text(), "http://shown.test/");
    EXPECT_EQ(stored("Home", "Address1"), "http://one.test/");

    int closing = 0;
    w.signal_closing().connect([&closing] { ++closing; });
    press(w.searchBox(), GDK_KEY_q, GDK_CONTROL_MASK);
    testutil::spinUntil([&] { return closing > 0; });
    EXPECT_EQ(closing, 1);
}

TEST_F(BrowserFixture, FindBarFindsAndEscClosesItBeforeStopping)
{
    MainWindow &w = shown();
    Gtk::Widget &bar = *findwidget::named(w, "Find in page");
    Gtk::Entry &field = *findwidget::named<Gtk::Entry>(bar, "Find:");
    EXPECT_FALSE(bar.get_visible());
    press(w.surfButton(), GDK_KEY_f, GDK_CONTROL_MASK);
    ASSERT_TRUE(field.has_focus());
    view.calls.clear();
    field.set_text("ab");
    press(field, GDK_KEY_Return);
    press(field, GDK_KEY_Return, GDK_SHIFT_MASK);
    EXPECT_EQ(view.calls, (Strings{"find:ab:forward", "find:ab:forward", "find:ab:back"}));

    view.calls.clear();
    press(field, GDK_KEY_Escape);
    EXPECT_FALSE(bar.get_visible());
    EXPECT_EQ(view.calls, (Strings{"find::forward", "takeFocus"}));
    // Reopened, the last words are selected, ready to be replaced.
    press(w.surfButton(), GDK_KEY_f, GDK_CONTROL_MASK);
    int start = 0, end = 0;
    // The focus arrives from the display server, after the key.
    EXPECT_TRUE(testutil::spinUntil([&] { return field.get_selection_bounds(start, end); },
                                    std::chrono::seconds(2)));
    EXPECT_EQ(end - start, 2);
}
