// The bar a page's questions show in, without the engine: how much of a
// page's text it shows.
#include "engine/questionpanel.h"
#include "widgetinput.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

namespace {

// However long a page's text, a few thousand characters of it show, laid out
// without breaking a word between every pair of its characters.
TEST(Panel, LongTextIsCutAndSaysSo)
{
    const std::string cut = "\u2026\n\n(The rest is not shown: the text is too long.)";
    const struct { const char *name; std::string text, shown; Pango::WrapMode wrap; } rows[] = {
        {"one 20,000-character word", std::string(20000, 'w'), std::string(3000, 'w') + cut, Pango::WRAP_CHAR},
        {"many short lines", std::string(4000, '\n'), std::string(3000, '\n') + cut, Pango::WRAP_WORD_CHAR},
        {"a sentence", "Your session has expired.", "Your session has expired.", Pango::WRAP_WORD_CHAR},
    };
    Gtk::Window window;
    Gtk::Overlay layer;
    QuestionPanel panel;
    window.set_default_size(600, 400);
    layer.add_overlay(panel);
    window.add(layer);
    widgetinput::show(window);
    for (const auto &row : rows) {
        QuestionPanel::Question asked;
        asked.title = "page.test says";
        asked.text = row.text;
        panel.ask(asked, [](const QuestionPanel::Answer &) {});
        testutil::spinUntil([&] { return panel.get_mapped(); });
        EXPECT_EQ(panel.textLabel().get_text(), row.shown) << row.name;
        EXPECT_EQ(panel.textLabel().get_line_wrap_mode(), row.wrap) << row.name;
        panel.dismiss();
    }
}

} // namespace
