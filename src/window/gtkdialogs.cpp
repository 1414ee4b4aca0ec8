#include "window/gtkdialogs.h"

#include "util/colournumber.h"

#include <algorithm>
#include <gtkmm.h>

namespace {

// The boxes running now, innermost last, and whether the program is closing.
struct Modals
{
    std::vector<Gtk::Dialog *> running;
    bool closing = false;
};

Modals &modals()
{
    static Modals state;
    return state;
}

// Runs a box to its answer, unless the program is closing: then it is not
// shown, and the answer is the one a closed box gives.
int runModal(Gtk::Dialog &dialog)
{
    if (modals().closing)
        return Gtk::RESPONSE_DELETE_EVENT;
    modals().running.push_back(&dialog);
    const int response = dialog.run();
    auto &running = modals().running;
    running.erase(std::remove(running.begin(), running.end(), &dialog), running.end());
    return response;
}

bool isRunning(GtkWidget *toplevel)
{
    for (Gtk::Dialog *dialog : modals().running) {
        if (GTK_WIDGET(dialog->gobj()) == toplevel)
            return true;
    }
    return false;
}

// Every event passes here first. A close request for a window other than the
// box now open (the main window's close box) would be dropped while the box
// holds the pointer and keys: the boxes end and the request goes on to its
// window once they have.
void passCloseRequests(GdkEvent *event, gpointer)
{
    if (event->type == GDK_DELETE && !modals().running.empty()) {
        GtkWidget *target = gtk_get_event_widget(event);
        if (target && !isRunning(gtk_widget_get_toplevel(target))) {
            GtkDialogs::closeAll();
            gdk_event_put(event);
            return;
        }
    }
    gtk_main_do_event(event);
}

// The most a box's text may take before it scrolls: the screen's work area
// less room for the box's title and buttons.
int mostTextHeight(Gtk::Window *parent)
{
    auto display = Gdk::Display::get_default();
    Glib::RefPtr<Gdk::Monitor> monitor;
    if (parent && parent->get_window())
        monitor = display->get_monitor_at_window(parent->get_window());
    if (!monitor)
        monitor = display->get_primary_monitor();
    if (!monitor)
        monitor = display->get_monitor(0);
    Gdk::Rectangle area(0, 0, 1024, 768);
    if (monitor)
        monitor->get_workarea(area);
    return std::max(100, area.get_height() - 200);
}

// A message box's text, as plain text that scrolls when it would not fit.
void setScrollingText(Gtk::MessageDialog &dialog, const std::string &text, Gtk::Window *parent)
{
    auto *label = Gtk::manage(new Gtk::Label(text));
    label->set_line_wrap(true);
    label->set_line_wrap_mode(Pango::WRAP_WORD_CHAR);
    label->set_max_width_chars(60);
    label->set_xalign(0);
    label->set_yalign(0);
    label->set_selectable(true);
    label->set_can_focus(false);
    auto *scroller = Gtk::manage(new Gtk::ScrolledWindow);
    scroller->set_policy(Gtk::POLICY_NEVER, Gtk::POLICY_AUTOMATIC);
    scroller->set_propagate_natural_height(true);
    scroller->set_propagate_natural_width(true);
    scroller->set_max_content_height(mostTextHeight(parent));
    scroller->add(*label);
    scroller->show_all();
    dialog.get_message_area()->pack_start(*scroller, true, true);
}

void prepare(Gtk::Window &dialog, Gtk::Window *parent, const std::string &title)
{
    dialog.set_title(title);
    // GTK names a dialog after its kind unless told.
    dialog.get_accessible()->set_name(title);
    dialog.set_modal(true);
    if (parent)
        dialog.set_transient_for(*parent);
    dialog.set_position(parent ? Gtk::WIN_POS_CENTER_ON_PARENT : Gtk::WIN_POS_CENTER);
}

// A dialog with a plain-text message, fields below it, and OK and Cancel.
struct FormDialog : Gtk::Dialog
{
    FormDialog(Gtk::Window *parent, const std::string &title, const std::string &text, bool cancel = true)
    {
        prepare(*this, parent, title);
        set_resizable(false);
        if (cancel)
            add_button("_Cancel", Gtk::RESPONSE_CANCEL);
        add_button("_OK", Gtk::RESPONSE_OK);
        set_default_response(Gtk::RESPONSE_OK);
        Gtk::Box *area = get_content_area();
        area->set_spacing(6);
        area->set_border_width(10);
        message.set_text(text);
        message.set_line_wrap(true);
        message.set_max_width_chars(60);
        message.set_xalign(0);
        message.set_selectable(true);
        if (!text.empty())
            area->pack_start(message, false, false);
        area->pack_start(grid, false, false);
        grid.set_row_spacing(6);
        grid.set_column_spacing(8);
    }

    Gtk::Entry &field(const std::string &caption, const std::string &value)
    {
        auto *label = Gtk::manage(new Gtk::Label(caption, true));
        auto *entry = Gtk::manage(new Gtk::Entry);
        label->set_xalign(0);
        label->set_mnemonic_widget(*entry);
        entry->set_text(value);
        entry->set_activates_default(true);
        entry->set_hexpand(true);
        std::string name = label->get_text();
        entry->get_accessible()->set_name(name);
        grid.attach(*label, 0, rows);
        grid.attach(*entry, 1, rows++);
        return *entry;
    }

    bool ask()
    {
        show_all();
        return runModal(*this) == Gtk::RESPONSE_OK;
    }

    Gtk::Label message;
    Gtk::Grid grid;
    int rows = 0;
};

} // namespace

namespace {

// The filter entry of a text "Name|*.a;*.b": the name as written (blanks
// next to the bar included) and the patterns without blanks around them;
// "*" when the text has no patterns.
struct FileFilterEntry
{
    std::string name;
    std::vector<std::string> patterns;
};

FileFilterEntry fileFilterEntry(const std::string &filter)
{
    const std::size_t bar = filter.find('|');
    FileFilterEntry entry{filter.substr(0, bar), {}};
    const std::string patterns = bar == std::string::npos ? std::string() : filter.substr(bar + 1);
    for (std::size_t start = 0; start <= patterns.size();) {
        std::size_t end = patterns.find(';', start);
        if (end == std::string::npos)
            end = patterns.size();
        std::string pattern = patterns.substr(start, end - start);
        pattern.erase(0, pattern.find_first_not_of(' '));
        pattern.erase(pattern.find_last_not_of(' ') + 1);
        if (!pattern.empty())
            entry.patterns.push_back(pattern);
        start = end + 1;
    }
    if (entry.patterns.empty())
        entry.patterns.push_back("*");
    return entry;
}

// Page names are matched in any case ("INDEX.HTM" is a page too), as the
// patterns' writers expect. A pattern with sets of its own is left as written.
std::string anyCase(const std::string &pattern)
{
    if (pattern.find('[') != std::string::npos)
        return pattern;
    std::string out;
    for (char c : pattern) {
        if (g_ascii_isalpha(c))
            out += std::string("[") + g_ascii_tolower(c) + g_ascii_toupper(c) + "]";
        else
            out += c;
    }
    return out;
}

} // namespace

void GtkDialogs::closeAll()
{
    modals().closing = true;
    // GTK's own boxes inside ours (a picker's questions) end as well.
    GList *windows = gtk_window_list_toplevels();
    for (GList *item = windows; item; item = item->next) {
        GtkWidget *window = GTK_WIDGET(item->data);
        if (GTK_IS_DIALOG(window) && gtk_widget_get_visible(window) && gtk_window_get_modal(GTK_WINDOW(window)))
            gtk_dialog_response(GTK_DIALOG(window), GTK_RESPONSE_DELETE_EVENT);
    }
    g_list_free(windows);
    for (Gtk::Dialog *dialog : std::vector<Gtk::Dialog *>(modals().running))
        dialog->response(Gtk::RESPONSE_DELETE_EVENT);
}

void GtkDialogs::closeAllThen(std::function<void()> close)
{
    closeAll();
    // Once every box has returned to its caller, nothing holds the window.
    Glib::signal_idle().connect([close] {
        if (!modals().running.empty())
            return true;
        close();
        return false;
    });
}

bool GtkDialogs::anyOpen()
{
    return !modals().running.empty();
}

void GtkDialogs::letCloseRequestsThrough()
{
    gdk_event_handler_set(passCloseRequests, nullptr, nullptr);
}

void GtkDialogs::message(Gtk::Window *parent, const std::string &text, const std::string &title)
{
    Gtk::MessageDialog dialog("", false, Gtk::MESSAGE_OTHER, Gtk::BUTTONS_OK, true);
    setScrollingText(dialog, text, parent);
    prepare(dialog, parent, title);
    runModal(dialog);
}

std::string GtkDialogs::input(Gtk::Window *parent, const std::string &prompt, const std::string &title,
                              const std::string &initialText)
{
    FormDialog dialog(parent, title, prompt);
    Gtk::Entry &entry = dialog.field("", initialText);
    entry.get_accessible()->set_name(prompt);
    return dialog.ask() ? std::string(entry.get_text()) : std::string();
}

std::optional<std::uint32_t> GtkDialogs::pickColour(Gtk::Window *parent, const std::string &title,
                                                    std::uint32_t current)
{
    Gtk::ColorChooserDialog dialog(title);
    prepare(dialog, parent, title);
    dialog.set_use_alpha(false);
    dialog.set_rgba(colournumber::toRgba(current));
    if (runModal(dialog) != Gtk::RESPONSE_OK)
        return std::nullopt;
    return colournumber::fromRgba(dialog.get_rgba());
}

std::string GtkDialogs::openFile(Gtk::Window *parent, const std::string &filter)
{
    Gtk::FileChooserDialog dialog("Open", Gtk::FILE_CHOOSER_ACTION_OPEN);
    prepare(dialog, parent, "Open");
    dialog.add_button("_Cancel", Gtk::RESPONSE_CANCEL);
    dialog.add_button("_OK", Gtk::RESPONSE_OK);
    dialog.set_default_response(Gtk::RESPONSE_OK);
    const FileFilterEntry entry = fileFilterEntry(filter);
    auto files = Gtk::FileFilter::create();
    files->set_name(entry.name);
    for (const std::string &pattern : entry.patterns)
        files->add_pattern(anyCase(pattern));
    dialog.add_filter(files);
    return runModal(dialog) == Gtk::RESPONSE_OK ? dialog.get_filename() : std::string();
}

std::string GtkDialogs::saveFile(Gtk::Window *parent, const std::string &title, const std::string &suggestedPath)
{
    Gtk::FileChooserDialog dialog(title, Gtk::FILE_CHOOSER_ACTION_SAVE);
    prepare(dialog, parent, title);
    dialog.add_button("_Cancel", Gtk::RESPONSE_CANCEL);
    dialog.add_button("_OK", Gtk::RESPONSE_OK);
    dialog.set_default_response(Gtk::RESPONSE_OK);
    dialog.set_do_overwrite_confirmation(true);
    const std::string folder = Glib::path_get_dirname(suggestedPath);
    if (!suggestedPath.empty() && folder != "." && Glib::file_test(folder, Glib::FILE_TEST_IS_DIR))
        dialog.set_current_folder(folder);
    if (!suggestedPath.empty())
        dialog.set_current_name(Glib::path_get_basename(suggestedPath));
    return runModal(dialog) == Gtk::RESPONSE_OK ? dialog.get_filename() : std::string();
}

bool GtkDialogs::confirm(Gtk::Window *parent, const std::string &text, const std::string &title,
                         const std::string &yes, const std::string &no)
{
    Gtk::MessageDialog dialog("", false, Gtk::MESSAGE_OTHER, Gtk::BUTTONS_NONE, true);
    setScrollingText(dialog, text, parent);
    prepare(dialog, parent, title);
    dialog.add_button(no, Gtk::RESPONSE_NO);
    dialog.add_button(yes, Gtk::RESPONSE_YES);
    dialog.set_default_response(Gtk::RESPONSE_NO);
    return runModal(dialog) == Gtk::RESPONSE_YES;
}

std::optional<std::string> GtkDialogs::favoriteName(Gtk::Window *parent, const std::string &name,
                                                    const std::string &address)
{
    FormDialog dialog(parent, "Add Favorite", "");
    Gtk::Entry &nameField = dialog.field("_Name:", name);
    Gtk::Entry &addressField = dialog.field("Address:", address);
    addressField.set_editable(false);
    nameField.grab_focus();
    if (!dialog.ask())
        return std::nullopt;
    return std::string(nameField.get_text());
}
