#include "window/gtkdialogs.h"
#include "testutil.h"

#include <atk/atk.h>
#include <functional>
#include <gtest/gtest.h>
#include <gtkmm.h>

namespace {

// The dialog now open, as the test's inspector sees it.
struct Seen { std::string accessibleName, title; bool hasImage = false; std::vector<std::string> buttons, labels; };

void collect(Gtk::Widget &widget, Seen &seen)
{
    if (auto *button = dynamic_cast<Gtk::Button *>(&widget); button && !dynamic_cast<Gtk::CheckButton *>(&widget))
        seen.buttons.push_back(atk_object_get_name(button->get_accessible()->gobj()) ?: "");
    if (auto *label = dynamic_cast<Gtk::Label *>(&widget))
        seen.labels.push_back(label->get_text());
    if (auto *check = dynamic_cast<Gtk::CheckButton *>(&widget))
        seen.labels.push_back(check->get_label());
    if (dynamic_cast<Gtk::Image *>(&widget) && widget.get_visible())
        seen.hasImage = true;
    if (auto *container = dynamic_cast<Gtk::Container *>(&widget)) {
        for (Gtk::Widget *child : container->get_children())
            collect(*child, seen);
    }
}

// Answers the next dialog with `response` once it shows, noting what it showed.
void answerNext(Seen &seen, int response)
{
    Glib::signal_timeout().connect([&seen, response] {
        for (Gtk::Window *window : Gtk::Window::list_toplevels()) {
            auto *dialog = dynamic_cast<Gtk::Dialog *>(window);
            if (!dialog || !dialog->get_mapped())
                continue;
            seen.accessibleName = atk_object_get_name(dialog->get_accessible()->gobj()) ?: "";
            seen.title = dialog->get_title();
            if (auto *message = dynamic_cast<Gtk::MessageDialog *>(dialog))
                seen.hasImage = message->get_image() && message->get_image()->get_visible();
            collect(*dialog->get_content_area(), seen);
            dialog->response(response);
            return false;
        }
        return true;
    }, 20);
}

bool contains(const std::vector<std::string> &list, const std::string &item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

} // namespace

TEST(GtkDialogs, NamedByTitleWithPlainTextAndTheirButtons)
{
    GtkDialogs dialogs;
    const std::string markup = "<b>bold</b> & <a href='x'>link</a>";
    struct Row { const char *title; std::function<void()> open; std::vector<std::string> buttons; };
    const Row rows[] = {
        {"Skimlark", [&] { dialogs.message(nullptr, markup, "Skimlark"); }, {"OK"}},
        {"Ask", [&] { EXPECT_EQ(dialogs.input(nullptr, markup, "Ask", "typed"), "typed"); }, {"Cancel", "OK"}},
        {"Sure?", [&] { EXPECT_TRUE(dialogs.confirm(nullptr, markup, "Sure?", "_Yes", "_No")); }, {"No", "Yes"}},
        {"host says", [&] { EXPECT_TRUE(dialogs.credentials(nullptr, "host says", markup)); }, {"Cancel", "OK"}},
        {"page says", [&] {
             const auto answer = dialogs.pageBox(nullptr, Dialogs::PageBoxKind::Prompt, "page says", markup, "d", true);
             EXPECT_TRUE(answer.accepted);
             EXPECT_EQ(answer.text, "d");
         }, {"Cancel", "OK"}},
    };
    for (const Row &row : rows) {
        Seen seen;
        const int yes = std::string(row.title) == "Sure?" ? Gtk::RESPONSE_YES : Gtk::RESPONSE_OK;
        answerNext(seen, yes);
        row.open();
        EXPECT_EQ(seen.accessibleName, row.title);
        EXPECT_EQ(seen.title, row.title);
        EXPECT_FALSE(seen.hasImage) << row.title;
        EXPECT_TRUE(contains(seen.labels, markup)) << row.title;
        EXPECT_EQ(seen.buttons, row.buttons) << row.title;
        if (std::string(row.title) == "page says") {
            EXPECT_TRUE(contains(seen.labels, "Don't let this page show more boxes"));
        }
    }
}

TEST(GtkDialogs, OpenPickerShowsOneFilterNamedAsGiven)
{
    GtkDialogs dialogs;
    std::vector<std::string> filters;
    Glib::signal_timeout().connect([&filters] {
        for (Gtk::Window *window : Gtk::Window::list_toplevels()) {
            auto *chooser = dynamic_cast<Gtk::FileChooserDialog *>(window);
            if (!chooser || !chooser->get_mapped())
                continue;
            for (const auto &filter : chooser->list_filters())
                filters.push_back(filter->get_name());
            chooser->response(Gtk::RESPONSE_CANCEL);
            return false;
        }
        return true;
    }, 20);
    EXPECT_EQ(dialogs.openFile(nullptr, "HTML Files (*.htm;*.html)"), "");
    EXPECT_EQ(filters, std::vector<std::string>{"HTML Files (*.htm;*.html)"});
}
