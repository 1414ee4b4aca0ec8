// The bar a page's questions show in, without the engine: who has the
// keyboard, when its buttons answer, and how much of a page's text it shows.
#include "questionview.h"
#include "util/showntext.h"
#include "widgetinput.h"
#include "window/questionpanel.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

namespace {

using Question = QuestionPanel::Question;
using Fields = Question::Fields;

Question question(const std::string &cancel, Fields fields = Fields::None)
{
    Question asked;
    asked.site = "page.test";
    asked.title = "page.test says";
    asked.text = "Go on?";
    asked.fields = fields;
    asked.cancel = cancel;
    return asked;
}

// The question over a stand-in for the page: a field the user types in.
struct Panel : testing::Test
{
    Gtk::Window window;
    Gtk::Overlay layer;
    Gtk::Entry page;
    QuestionPanel panel;
    QuestionView shown{panel};
    std::vector<QuestionPanel::Answer> answers;
    int keyboardReturned = 0;

    Panel()
    {
        window.set_default_size(600, 400);
        page.set_valign(Gtk::ALIGN_END);
        layer.add(page);
        layer.add_overlay(panel);
        window.add(layer);
        panel.keyboardLeft.connect([this] { ++keyboardReturned; });
        widgetinput::show(window);
        widgetinput::focus(page);
    }

    void ask(const Question &asked)
    {
        GdkFrameClock *clock = gtk_widget_get_frame_clock(GTK_WIDGET(window.gobj()));
        const gint64 frame = gdk_frame_clock_get_frame_counter(clock);
        panel.ask(asked, [this](const QuestionPanel::Answer &answer) { answers.push_back(answer); });
        // Laid out and drawn, so a click finds its place: two whole frames on.
        testutil::spinUntil([&] {
            window.queue_draw();
            return shown.bar().get_mapped() && gdk_frame_clock_get_frame_counter(clock) > frame + 1;
        });
        settle();
    }
    // The X server has sent back what the test sent it, and it was handled.
    void settle()
    {
        gdk_display_sync(gdk_display_get_default());
        testutil::spin();
    }
    bool keyboardInside()
    {
        Gtk::Widget *focus = window.get_focus();
        return focus && focus->is_ancestor(panel);
    }
    // Keys as the user types them, handed to the window as the display would.
    void type(const std::string &keys)
    {
        GdkDisplay *display = gdk_display_get_default();
        for (const char key : keys) {
            GdkEvent *event = gdk_event_new(GDK_KEY_PRESS);
            event->key.window = GDK_WINDOW(g_object_ref(window.get_window()->gobj()));
            event->key.keyval = key == '\n' ? GDK_KEY_Return : key == '\t' ? GDK_KEY_Tab : gdk_unicode_to_keyval(key);
            GdkKeymapKey *found = nullptr;
            gint count = 0;
            if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), event->key.keyval, &found, &count))
                event->key.hardware_keycode = found[0].keycode;
            g_free(found);
            gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(display)));
            gtk_main_do_event(event);
            event->type = GDK_KEY_RELEASE;
            gtk_main_do_event(event);
            gdk_event_free(event);
            testutil::spin();
        }
    }
};

// Keys meant for the page go to the page, whatever the question, and Tab
// passes it by; once the user moves in (F6, or a click in it), keys answer.
TEST_F(Panel, KeysAnswerOnlyOnceTheUserMovesIn)
{
    enum Move { Stay, F6, Click };
    const struct
    {
        const char *name;
        Question asked;
        Move move;
        const char *keys;
        int answer; // -1 none, 0 cancelled, 1 accepted
        const char *text, *password;
    } rows[] = {
        {"alert", question(""), Stay, "the quick \n\t", -1, "", ""},
        {"prompt", question("Cancel", Fields::Text), Stay, "the quick \n\t", -1, "", ""},
        {"sign-in", question("Cancel", Fields::SignIn), Stay, "the quick \n\t", -1, "", ""},
        {"F6 to OK", question(""), F6, "\n", 1, "", ""},
        // Where there is a choice, the keyboard lands on the safe one.
        {"F6 to Cancel", question("Cancel"), F6, " ", 0, "", ""},
        {"F6 to the field", question("Cancel", Fields::Text), F6, "bob\n", 1, "bob", ""},
        {"click to sign in", question("Cancel", Fields::SignIn), Click, "ann\tpw\n", 1, "ann", "pw"},
    };
    panel.setInputDelay(std::chrono::milliseconds(0));
    EXPECT_FALSE(panel.letKeysIn());
    for (const auto &row : rows) {
        answers.clear();
        keyboardReturned = 0;
        page.set_text("");
        widgetinput::focus(page);
        ask(row.asked);
        if (row.move == F6) {
            EXPECT_TRUE(panel.letKeysIn()) << row.name;
        } else if (row.move == Click) {
            widgetinput::click(shown.field(), 1);
        }
        settle();
        type(row.keys);
        if (row.answer < 0) {
            EXPECT_TRUE(page.has_focus() && !keyboardInside()) << row.name;
            EXPECT_EQ(page.get_text(), "the quick ") << row.name;
            EXPECT_TRUE(panel.asking() && answers.empty()) << row.name;
            panel.dismiss();
            continue;
        }
        // A button answers once it has shown itself pressed.
        ASSERT_TRUE(testutil::spinUntil([this] { return !answers.empty(); })) << row.name;
        EXPECT_EQ(answers[0].accepted, row.answer == 1) << row.name;
        EXPECT_EQ(answers[0].text, row.text) << row.name;
        EXPECT_EQ(answers[0].password, row.password) << row.name;
        // Answered from the keyboard, the question hands it back to the page.
        EXPECT_EQ(keyboardReturned, 1) << row.name;
    }
}

// A question that shows under a click or key meant for the page takes none
// of them: its buttons wait a second before they answer anything.
TEST_F(Panel, ButtonsWaitASecondBeforeTheyAnswer)
{
    const gint64 start = g_get_monotonic_time();
    ask(question("Cancel", Fields::Text));
    EXPECT_FALSE(shown.accept().is_sensitive());
    EXPECT_FALSE(shown.cancel().is_sensitive());
    widgetinput::click(shown.accept(), 1);
    settle();
    shown.accept().clicked();
    widgetinput::click(shown.field(), 1);
    settle();
    type("x\n");
    EXPECT_TRUE(answers.empty());
    ASSERT_TRUE(testutil::spinUntil([this] { return shown.accept().is_sensitive(); }));
    EXPECT_GE(g_get_monotonic_time() - start, 1000 * G_TIME_SPAN_MILLISECOND);
    EXPECT_TRUE(shown.accept().is_sensitive());
    widgetinput::click(shown.accept(), 1);
    ASSERT_TRUE(testutil::spinUntil([this] { return !answers.empty(); }));
    EXPECT_TRUE(answers[0].accepted);
    EXPECT_EQ(answers[0].text, "x");

    // F6 while the buttons wait: the keyboard is in the question, and on its
    // safe button once they answer.
    ask(question("Cancel"));
    EXPECT_TRUE(panel.letKeysIn());
    EXPECT_TRUE(keyboardInside());
    type("\n ");
    EXPECT_EQ(answers.size(), 1u);
    ASSERT_TRUE(testutil::spinUntil([this] { return shown.accept().is_sensitive(); }));
    EXPECT_TRUE(shown.cancel().has_focus());
}

// One 20,000-character word is cut, and broken anywhere rather than tried
// at every pair of its characters.
TEST_F(Panel, AnOversizedWordIsCutAndLaidOutAtOnce)
{
    Question asked = question("");
    asked.text = std::string(20000, 'w');
    ask(asked);
    EXPECT_EQ(shown.text().get_text(), showntext::cut(asked.text));
    EXPECT_EQ(shown.text().get_line_wrap_mode(), Pango::WRAP_CHAR);
}

} // namespace
