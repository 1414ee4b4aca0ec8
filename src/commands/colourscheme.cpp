#include "commands/colourscheme.h"

#include "interfaces/dialogs.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"
#include "util/colournumber.h"

#include <string>

namespace {
struct Row
{
    ColourScheme::Target target;
    const std::string &key;
    bool background;
    bool addressBar;
    const char *title;
};

const Row Rows[] = {
    {ColourScheme::Target::AddressBarText, keys::AddressbarFontColor, false, true, "Change Font Color"},
    {ColourScheme::Target::AddressBarBackground, keys::AddressbarBackgroundColor, true, true,
     "Change Background Color"},
    {ColourScheme::Target::SearchBoxText, keys::SearchboxFontColor, false, false, "Change Font Color"},
    {ColourScheme::Target::SearchBoxBackground, keys::SearchboxBackgroundColor, true, false,
     "Change Background Color"},
};
} // namespace

ColourScheme::ColourScheme(SettingsStore &settings, Dialogs &dialogs, Gtk::Entry &addressBar,
                           Gtk::Entry &searchBox, Gtk::Window *parent)
    : m_settings(settings), m_dialogs(dialogs), m_addressBar(addressBar), m_searchBox(searchBox),
      m_parent(parent)
{
    // A stored colour is the user's choice, white and black included; a
    // missing key leaves the theme's colour, and a text that names no colour
    // is skipped.
    for (const Row &row : Rows) {
        if (!m_settings.contains(keys::App, keys::Home, row.key))
            continue;
        if (auto colour = colournumber::fromText(m_settings.read(keys::App, keys::Home, row.key, "")))
            paint(row.addressBar, row.background, *colour);
    }
}

void ColourScheme::paint(bool addressBar, bool background, std::uint32_t colour)
{
    FieldColours &field = addressBar ? m_addressBar : m_searchBox;
    background ? field.setBackground(colour) : field.setText(colour);
}

void ColourScheme::change(Target target)
{
    for (const Row &row : Rows) {
        if (row.target != target)
            continue;
        const auto picked = m_dialogs.pickColour(m_parent, row.title, m_pickerColour);
        if (!picked)
            return;
        const std::uint32_t colour = *picked & 0xFFFFFF;
        m_pickerColour = colour;
        // A colour that cannot be kept is not shown either: the user is told
        // the change was not made, and the field says the same.
        if (!m_settings.write(keys::App, keys::Home, row.key, std::to_string(colour)))
            return;
        paint(row.addressBar, row.background, colour);
        return;
    }
}
