#include "app/settingsreport.h"

#include "interfaces/dialogs.h"
#include "settings/settingskeys.h"
#include "util/later.h"

#include <gtkmm/window.h>

namespace {

using Problem = SettingsStore::Problem;

// Why the file could not be written, to follow "because".
std::string because(Problem problem)
{
    switch (problem) {
    case Problem::FileReadOnly:
        return "the file is read-only";
    case Problem::FolderReadOnly:
        return "its folder is read-only";
    case Problem::Unreadable:
        return "the file cannot be read, and writing it would lose what it holds";
    case Problem::NoRoom:
        return "the disk is full";
    case Problem::None:
    case Problem::NotWritable:
        break;
    }
    return "the file or its folder cannot be written";
}

// What the user can do about it.
std::string remedy(Problem problem)
{
    switch (problem) {
    case Problem::FileReadOnly:
    case Problem::FolderReadOnly:
        return "Skimlark leaves what you made read-only as it is: make it writable to keep changes again.";
    case Problem::NoRoom:
        return "Make room on the disk to keep changes again.";
    default:
        return "Check that the file and its folder can be read and written.";
    }
}

} // namespace

SettingsReport::SettingsReport(SettingsStore &settings, Dialogs &dialogs, Gtk::Window &window)
    : m_settings(settings), m_dialogs(dialogs), m_window(window)
{
    m_settings.writeFailed.connect(sigc::mem_fun(*this, &SettingsReport::writeFailed));
    m_settings.damaged.connect(sigc::mem_fun(*this, &SettingsReport::keptAside));

    m_barText.set_line_wrap(true);
    m_barText.set_xalign(0);
    m_barText.set_selectable(true);
    static_cast<Gtk::Container *>(m_bar.get_content_area())->add(m_barText);
    m_bar.set_show_close_button(true);
    m_bar.signal_response().connect([this](int) {
        m_bar.hide();
        m_told.clear();
        m_times = 0;
    });
    m_bar.show_all();
    m_bar.set_no_show_all(true);
    m_bar.hide();
}

void SettingsReport::windowShown()
{
    const std::string path = m_settings.filePath(keys::App);
    if (m_settings.isDamaged(keys::App) && !m_damageTold) {
        m_damageTold = true;
        tell("The settings file " + path + " is damaged: some of its lines cannot be read, and Skimlark goes "
             "on without them.",
             "The file will be kept aside as it is when a setting next changes.", Gtk::MESSAGE_WARNING);
    }
    const Problem problem = m_settings.writeProblem(keys::App);
    if (problem != Problem::None)
        tell("Settings cannot be saved to " + path + ": " + because(problem) + ". Until that changes, a change "
             "of a setting is not made, and the address you surf is not remembered for the next start.",
             remedy(problem), Gtk::MESSAGE_WARNING);
}

void SettingsReport::writeFailed(const std::string &path, Problem problem, SettingsStore::Purpose purpose)
{
    const std::string why = ": it could not be saved to " + path + ", because " + because(problem) + ".";
    if (purpose == SettingsStore::Purpose::SurfedAddress)
        tell("The page was opened, but its address was not remembered for the next start" + why, remedy(problem),
             Gtk::MESSAGE_WARNING);
    else
        tell("This change was not made" + why, remedy(problem), Gtk::MESSAGE_WARNING);
}

void SettingsReport::keptAside(const std::string &path, const std::string &aside)
{
    m_damageTold = true;
    tell("The damaged settings file " + path + " was kept as " + aside + ".", "What could be read was kept.",
         Gtk::MESSAGE_INFO);
}

void SettingsReport::tell(const std::string &text, const std::string &more, Gtk::MessageType type)
{
    // The same news again is counted, so that a second failure shows too.
    m_times = m_bar.get_visible() && text == m_told ? m_times + 1 : 1;
    m_told = text;
    m_barText.set_text(m_times > 1 ? text + " (" + std::to_string(m_times) + " times)" : text);
    m_bar.set_message_type(type);
    // Named after the type is set, which names the bar by the type.
    m_bar.get_accessible()->set_name("Settings file");
    m_bar.show();
    // A box once per run: later news is in the bar only.
    if (m_boxShown)
        return;
    m_boxShown = true;
    // Shown once the change that failed has returned: its handler may have
    // been run by an assistive tool, which can then answer the box.
    runLater(*this, [this, box = text + " " + more] { showBox(box); });
}

void SettingsReport::showBox(const std::string &text)
{
    m_dialogs.message(&m_window, text, "Skimlark");
}
