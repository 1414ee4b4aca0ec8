#include "commands/downloadswindow.h"

#include <gtkmm/box.h>
#include <gtkmm/buttonbox.h>
#include <gtkmm/progressbar.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/separator.h>

namespace {
const char *const Title = "Downloads";

void name(Gtk::Widget &widget, const std::string &text)
{
    widget.get_accessible()->set_name(text);
}

void plainLabel(Gtk::Label &label)
{
    label.set_use_markup(false);
    label.set_xalign(0);
    label.set_ellipsize(Pango::ELLIPSIZE_MIDDLE);
}
} // namespace

struct DownloadsWindow::Entry
{
    Gtk::ListBoxRow row;
    Gtk::Box layout{Gtk::ORIENTATION_VERTICAL, 2};
    Gtk::Label name;
    Gtk::Label details;
    Gtk::ProgressBar bar;
    Gtk::ButtonBox buttons{Gtk::ORIENTATION_HORIZONTAL};
    Gtk::Button cancel{"_Cancel", true};
    Gtk::Button open{"_Open", true};
    Gtk::Button showInFolder{"Show in _Folder", true};
};

DownloadsWindow::DownloadsWindow() : m_clearButton("C_lear List", true), m_closeButton("_Close", true)
{
    set_title(Title);
    name(*this, Title);
    set_default_size(560, 380);
    set_border_width(8);

    name(m_list, "Downloads list");
    m_list.set_selection_mode(Gtk::SELECTION_NONE);
    m_list.set_header_func([](Gtk::ListBoxRow *row, Gtk::ListBoxRow *before) {
        if (!before)
            row->unset_header();
        else if (!row->get_header())
            row->set_header(*Gtk::manage(new Gtk::Separator));
    });
    // The list's own: it goes with the list.
    auto *empty = Gtk::manage(new Gtk::Label("No downloads"));
    empty->show();
    m_list.set_placeholder(*empty);
    auto *scrolled = Gtk::manage(new Gtk::ScrolledWindow);
    scrolled->set_policy(Gtk::POLICY_NEVER, Gtk::POLICY_AUTOMATIC);
    scrolled->set_shadow_type(Gtk::SHADOW_IN);
    scrolled->add(m_list);

    plainLabel(m_said);
    m_said.set_line_wrap(true);
    m_said.set_ellipsize(Pango::ELLIPSIZE_NONE);
    name(m_said, "Message");
    name(m_clearButton, "Clear List");
    name(m_closeButton, "Close");
    auto *buttons = Gtk::manage(new Gtk::ButtonBox(Gtk::ORIENTATION_HORIZONTAL));
    buttons->set_layout(Gtk::BUTTONBOX_END);
    buttons->set_spacing(6);
    buttons->pack_start(m_clearButton);
    buttons->pack_start(m_closeButton);

    auto *layout = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_VERTICAL, 6));
    layout->pack_start(*scrolled, true, true);
    layout->pack_start(m_said, false, false);
    layout->pack_start(*buttons, false, false);
    add(*layout);
    layout->show_all();
    m_said.hide();

    m_clearButton.signal_clicked().connect([this] { clearAsked.emit(); });
    m_closeButton.signal_clicked().connect([this] { hide(); });
    // Esc closes it, as it closes the program's other small windows.
    signal_key_press_event().connect([this](GdkEventKey *event) {
        if (event->keyval != GDK_KEY_Escape)
            return false;
        hide();
        return true;
    }, false);
}

DownloadsWindow::~DownloadsWindow() = default;

DownloadsWindow::Entry &DownloadsWindow::entryFor(std::int64_t id, int position)
{
    std::unique_ptr<Entry> &kept = m_entries[id];
    if (kept)
        return *kept;
    kept = std::make_unique<Entry>();
    Entry &entry = *kept;
    plainLabel(entry.name);
    // Bold by attribute: the name stays plain text, whatever it holds.
    Pango::AttrList bold;
    Pango::Attribute weight = Pango::Attribute::create_attr_weight(Pango::WEIGHT_BOLD);
    bold.insert(weight);
    entry.name.set_attributes(bold);
    plainLabel(entry.details);
    entry.bar.set_show_text(true);
    entry.buttons.set_layout(Gtk::BUTTONBOX_START);
    entry.buttons.set_spacing(6);
    for (Gtk::Button *button : {&entry.cancel, &entry.open, &entry.showInFolder})
        entry.buttons.pack_start(*button);
    name(entry.cancel, "Cancel");
    name(entry.open, "Open");
    name(entry.showInFolder, "Show in Folder");
    entry.layout.set_border_width(6);
    entry.layout.pack_start(entry.name, false, false);
    entry.layout.pack_start(entry.details, false, false);
    entry.layout.pack_start(entry.bar, false, false);
    entry.layout.pack_start(entry.buttons, false, false);
    entry.row.add(entry.layout);
    entry.row.show_all();
    entry.cancel.signal_clicked().connect([this, id] { cancelAsked.emit(id); });
    entry.open.signal_clicked().connect([this, id] { openAsked.emit(id); });
    entry.showInFolder.signal_clicked().connect([this, id] { showInFolderAsked.emit(id); });
    m_list.insert(entry.row, position);
    return entry;
}

void DownloadsWindow::show(const std::vector<downloadrows::Row> &rows)
{
    std::map<std::int64_t, std::unique_ptr<Entry>> gone;
    gone.swap(m_entries);
    for (std::size_t position = 0; position < rows.size(); ++position) {
        const downloadrows::Row &row = rows[position];
        if (auto kept = gone.find(row.id); kept != gone.end()) {
            m_entries[row.id] = std::move(kept->second);
            gone.erase(kept);
        }
        Entry &entry = entryFor(row.id, int(position));
        if (entry.row.get_index() != int(position)) {
            m_list.remove(entry.row);
            m_list.insert(entry.row, int(position));
        }
        fill(entry, row);
    }
    for (auto &[id, entry] : gone)
        m_list.remove(entry->row);
    m_clearButton.set_sensitive(rows.size() > 0);
}

void DownloadsWindow::update(const downloadrows::Row &row)
{
    if (const auto kept = m_entries.find(row.id); kept != m_entries.end())
        fill(*kept->second, row);
}

void DownloadsWindow::fill(Entry &entry, const downloadrows::Row &row)
{
    entry.name.set_text(row.name);
    std::string details = row.site;
    for (const std::string &part : {row.size, row.status}) {
        if (!part.empty())
            details += (details.empty() ? "" : " \u2014 ") + part;
    }
    entry.details.set_text(details);
    name(entry.row, row.name);
    name(entry.bar, "Progress of " + row.name);
    entry.bar.set_visible(row.running);
    if (row.fraction >= 0) {
        entry.bar.set_fraction(row.fraction);
        entry.bar.set_text(std::to_string(int(row.fraction * 100)) + "%");
    } else if (row.running) {
        entry.bar.pulse();
        entry.bar.set_text(row.size);
    }
    entry.cancel.set_visible(row.running);
    entry.open.set_visible(row.openable);
    entry.showInFolder.set_visible(row.openable);
}

void DownloadsWindow::say(const std::string &text)
{
    m_said.set_text(text);
    m_said.set_visible(!text.empty());
}
