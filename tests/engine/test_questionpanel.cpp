// The bar a page's questions show in, without the engine: who has the
// keyboard, when its buttons answer, and how much of a page's text it shows.
#include "engine/questionpanel.h"
#include "widgetinput.h"

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
            return panel.bar().get_mapped() && gdk_frame_clock_get_frame_counter(clock) > frame + 1;
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
    // Keys as the user types them, to whatever has the keyboard: handed to
    // the window as the display would hand them, one at a time.
    void type(const std::string &keys)
    {
        GdkDisplay *display = gdk_display_get_default();
        for (const char key : keys) {
            const guint keyval = key == '\n' ? GDK_KEY_Return : key == '\t' ? GDK_KEY_Tab : gdk_unicode_to_keyval(key);
            GdkKeymapKey *found = nullptr;
            gint count = 0;
            gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &found, &count);
            for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
                GdkEvent *event = gdk_event_new(type);
                event->key.window = GDK_WINDOW(g_object_ref(window.get_window()->gobj()));
                event->key.send_event = TRUE;
                event->key.keyval = keyval;
                event->key.hardware_keycode = count ? found[0].keycode : 0;
                gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(display)));
                gtk_main_do_event(event);
                gdk_event_free(event);
            }
            g_free(found);
            testutil::spin();
        }
    }
};

// Whatever the question, the keys meant for the page go to the page: none
// answers it, and Tab passes the question by.
TEST_F(Panel, NeverTakesTheKeyboard)
{
    const struct { const char *name; Question asked; } rows[] = {
        {"alert", question("")},
        {"confirm", question("Cancel")},
        {"prompt", question("Cancel", Fields::Text)},
        {"sign-in", question("Cancel", Fields::SignIn)},
    };
    panel.setInputDelay(std::chrono::milliseconds(0));
    for (const auto &row : rows) {
        page.set_text("");
        widgetinput::focus(page);
        ask(row.asked);
        type("the quick \n\t");
        EXPECT_TRUE(page.has_focus()) << row.name;
        EXPECT_FALSE(keyboardInside()) << row.name;
        EXPECT_EQ(page.get_text(), "the quick ") << row.name;
        EXPECT_TRUE(panel.asking() && answers.empty()) << row.name;
        panel.dismiss();
    }
    EXPECT_EQ(keyboardReturned, 0);
}

// Once the user moves in (F6, or a click in the question), the keys answer.
TEST_F(Panel, KeysAnswerOnceTheUserMovesIn)
{
    const struct
    {
        const char *name;
        Question asked;
        bool click; // into the first field, else F6
        std::string keys;
        bool accepted;
        std::string text, password;
    } rows[] = {
        {"F6 to OK", question(""), false, "\n", true, "", ""},
        // Where there is a choice, the keyboard lands on the safe one.
        {"F6 to Cancel", question("Cancel"), false, " ", false, "", ""},
        {"F6 to the field", question("Cancel", Fields::Text), false, "bob\n", true, "bob", ""},
        {"click in the field", question("Cancel", Fields::Text), true, "bob\n", true, "bob", ""},
        {"click to sign in", question("Cancel", Fields::SignIn), true, "ann\tpw\n", true, "ann", "pw"},
    };
    panel.setInputDelay(std::chrono::milliseconds(0));
    EXPECT_FALSE(panel.letKeysIn());
    for (const auto &row : rows) {
        answers.clear();
        keyboardReturned = 0;
        widgetinput::focus(page);
        ask(row.asked);
        if (row.click)
            widgetinput::click(panel.textField(), 1);
        else
            EXPECT_TRUE(panel.letKeysIn()) << row.name;
        settle();
        EXPECT_TRUE(keyboardInside()) << row.name;
        type(row.keys);
        // A button answers once it has shown itself pressed.
        ASSERT_TRUE(testutil::spinUntil([this] { return !answers.empty(); })) << row.name;
        EXPECT_EQ(answers.size(), 1u) << row.name;
        EXPECT_EQ(answers[0].accepted, row.accepted) << row.name;
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
    EXPECT_FALSE(panel.acceptButton().is_sensitive());
    EXPECT_FALSE(panel.cancelButton().is_sensitive());
    widgetinput::click(panel.acceptButton(), 1);
    settle();
    panel.acceptButton().clicked();
    widgetinput::click(panel.textField(), 1);
    settle();
    type("x\n");
    EXPECT_TRUE(answers.empty());
    ASSERT_TRUE(testutil::spinUntil([this] { return panel.acceptsInput(); }));
    EXPECT_GE(g_get_monotonic_time() - start, 1000 * G_TIME_SPAN_MILLISECOND);
    EXPECT_TRUE(panel.acceptButton().is_sensitive());
    widgetinput::click(panel.acceptButton(), 1);
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
    ASSERT_TRUE(testutil::spinUntil([this] { return panel.acceptsInput(); }));
    EXPECT_TRUE(panel.cancelButton().has_focus());
}

// However long a page's text, a few thousand characters of it show, laid out
// without breaking a word between every pair of its characters.
TEST_F(Panel, LongTextIsCutAndSaysSo)
{
    const std::string cut = "\u2026\n\n(The rest is not shown: the text is too long.)";
    const struct { const char *name; std::string text, shown; Pango::WrapMode wrap; } rows[] = {
        {"one 20,000-character word", std::string(20000, 'w'), std::string(3000, 'w') + cut, Pango::WRAP_CHAR},
        {"many short lines", std::string(4000, '\n'), std::string(3000, '\n') + cut, Pango::WRAP_WORD_CHAR},
        {"a sentence", "Your session has expired.", "Your session has expired.", Pango::WRAP_WORD_CHAR},
    };
    for (const auto &row : rows) {
        Question asked = question("");
        asked.text = row.text;
        ask(asked);
        EXPECT_EQ(panel.textLabel().get_text(), row.shown) << row.name;
        EXPECT_EQ(panel.textLabel().get_line_wrap_mode(), row.wrap) << row.name;
        panel.dismiss();
    }
}

} // namespace
