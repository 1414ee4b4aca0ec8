#include "window/gtkdialogs.h"

#include "util/colournumber.h"

#include <gtkmm.h>

namespace {

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
        return run() == Gtk::RESPONSE_OK;
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

void GtkDialogs::message(Gtk::Window *parent, const std::string &text, const std::string &title)
{
    Gtk::MessageDialog dialog(text, false, Gtk::MESSAGE_OTHER, Gtk::BUTTONS_OK, true);
    prepare(dialog, parent, title);
    dialog.run();
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
    if (dialog.run() != Gtk::RESPONSE_OK)
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
    return dialog.run() == Gtk::RESPONSE_OK ? dialog.get_filename() : std::string();
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
    return dialog.run() == Gtk::RESPONSE_OK ? dialog.get_filename() : std::string();
}

bool GtkDialogs::confirm(Gtk::Window *parent, const std::string &text, const std::string &title,
                         const std::string &yes, const std::string &no)
{
    Gtk::MessageDialog dialog(text, false, Gtk::MESSAGE_OTHER, Gtk::BUTTONS_NONE, true);
    prepare(dialog, parent, title);
    dialog.add_button(no, Gtk::RESPONSE_NO);
    dialog.add_button(yes, Gtk::RESPONSE_YES);
    dialog.set_default_response(Gtk::RESPONSE_NO);
    return dialog.run() == Gtk::RESPONSE_YES;
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

std::optional<Dialogs::Credentials> GtkDialogs::credentials(Gtk::Window *parent, const std::string &title,
                                                            const std::string &text)
{
    FormDialog dialog(parent, title, text);
    Gtk::Entry &user = dialog.field("_User name:", "");
    Gtk::Entry &password = dialog.field("_Password:", "");
    password.set_visibility(false);
    password.set_input_purpose(Gtk::INPUT_PURPOSE_PASSWORD);
    user.grab_focus();
    if (!dialog.ask())
        return std::nullopt;
    return Credentials{user.get_text(), password.get_text()};
}

Dialogs::PageBoxAnswer GtkDialogs::pageBox(Gtk::Window *parent, PageBoxKind kind, const std::string &title,
                                           const std::string &text, const std::string &defaultText,
                                           bool offerBlock)
{
    FormDialog dialog(parent, title, text, kind != PageBoxKind::Alert);
    Gtk::Entry *entry = nullptr;
    if (kind == PageBoxKind::Prompt) {
        entry = &dialog.field("", defaultText);
        entry->get_accessible()->set_name(title);
    }
    Gtk::CheckButton block("Don't let this page show more boxes");
    if (offerBlock)
        dialog.get_content_area()->pack_start(block, false, false);
    PageBoxAnswer answer;
    answer.accepted = dialog.ask();
    answer.blockFurther = offerBlock && block.get_active();
    if (entry && answer.accepted)
        answer.text = entry->get_text();
    return answer;
}

std::vector<std::string> GtkDialogs::pageOpenFiles(Gtk::Window *parent, const std::string &title, bool multiple,
                                                   bool folder)
{
    Gtk::FileChooserDialog dialog(title, folder ? Gtk::FILE_CHOOSER_ACTION_SELECT_FOLDER
                                                : Gtk::FILE_CHOOSER_ACTION_OPEN);
    prepare(dialog, parent, title);
    dialog.add_button("_Cancel", Gtk::RESPONSE_CANCEL);
    dialog.add_button("_OK", Gtk::RESPONSE_OK);
    dialog.set_default_response(Gtk::RESPONSE_OK);
    dialog.set_select_multiple(multiple);
    if (dialog.run() != Gtk::RESPONSE_OK)
        return {};
    return dialog.get_filenames();
}
