#include "window/gtkdialogs.h"
#include "commands/filecommands.h"
#include "testutil.h"

#include <algorithm>
#include <atk/atk.h>
#include <chrono>
#include <glib/gstdio.h>
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
    }
}

namespace {

// The names the picker's file list shows now.
std::vector<std::string> listedNames(Gtk::Widget &widget)
{
    std::vector<std::string> names;
    if (auto *view = dynamic_cast<Gtk::TreeView *>(&widget); view && view->get_model()) {
        // Each row of the file list holds its file.
        GtkTreeModel *model = view->get_model()->gobj();
        for (int column = 0; column < gtk_tree_model_get_n_columns(model); ++column) {
            if (gtk_tree_model_get_column_type(model, column) != G_TYPE_FILE)
                continue;
            GtkTreeIter row;
            for (bool more = gtk_tree_model_get_iter_first(model, &row); more;
                 more = gtk_tree_model_iter_next(model, &row)) {
                GFile *file = nullptr;
                gtk_tree_model_get(model, &row, column, &file, -1);
                gchar *name = file ? g_file_get_basename(file) : nullptr;
                names.push_back(name ? name : "");
                g_free(name);
                if (file)
                    g_object_unref(file);
            }
            break;
        }
    }
    if (auto *container = dynamic_cast<Gtk::Container *>(&widget)) {
        for (Gtk::Widget *child : container->get_children()) {
            for (const std::string &name : listedNames(*child))
                names.push_back(name);
        }
    }
    return names;
}

} // namespace

TEST(GtkDialogs, OpenPickerListsThePagesItsFilterNames)
{
    gchar *made = g_dir_make_tmp("open-XXXXXX", nullptr);
    const std::string folder = made;
    g_free(made);
    for (const char *name : {"a.html", "b.htm", "INDEX.HTM", "c.txt", "d.htm.txt"})
        ASSERT_TRUE(g_file_set_contents((folder + "/" + name).c_str(), "", 0, nullptr));
    ASSERT_EQ(g_mkdir((folder + "/pages").c_str(), 0700), 0);

    GtkDialogs dialogs;
    std::vector<std::string> filters, listed;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    Glib::signal_timeout().connect([&] {
        for (Gtk::Window *window : Gtk::Window::list_toplevels()) {
            auto *chooser = dynamic_cast<Gtk::FileChooserDialog *>(window);
            if (!chooser || !chooser->get_mapped())
                continue;
            if (filters.empty()) {
                for (const auto &filter : chooser->list_filters())
                    filters.push_back(filter->get_name());
                chooser->set_current_folder(folder);
                return true;
            }
            // Folders are always listed; the files come in the same batch.
            listed = listedNames(*chooser);
            std::sort(listed.begin(), listed.end());
            if (!std::binary_search(listed.begin(), listed.end(), "pages")
                && std::chrono::steady_clock::now() < deadline)
                return true;
            chooser->response(Gtk::RESPONSE_CANCEL);
            return false;
        }
        return true;
    }, 20);
    EXPECT_EQ(dialogs.openFile(nullptr, FileCommands::OpenFilter), "");
    // The text before the bar names the one filter; the patterns after it choose the files.
    EXPECT_EQ(filters, std::vector<std::string>{"All Internet Files (*.hmt,*.html,*.asp,*.shtml,*.js,*.dhtml) "});
    EXPECT_EQ(listed, (std::vector<std::string>{"INDEX.HTM", "a.html", "b.htm", "pages"}));
}

TEST(GtkDialogs, LongTextScrollsInABoxThatFitsTheScreen)
{
    GtkDialogs dialogs;
    std::string text;
    for (int i = 1; i <= 300; ++i)
        text += "line " + std::to_string(i) + "\n";
    int height = 0, screen = 0;
    Glib::signal_timeout().connect([&] {
        for (Gtk::Window *window : Gtk::Window::list_toplevels()) {
            auto *dialog = dynamic_cast<Gtk::Dialog *>(window);
            if (!dialog || !dialog->get_mapped())
                continue;
            Gdk::Rectangle area;
            window->get_display()->get_monitor_at_window(window->get_window())->get_workarea(area);
            screen = area.get_height();
            height = window->get_allocated_height();
            dialog->response(Gtk::RESPONSE_OK);
            return false;
        }
        return true;
    }, 20);
    dialogs.message(nullptr, text, "Skimlark");
    EXPECT_GT(height, 0);
    EXPECT_LE(height, screen);
}
