#include "commands/colourscheme.h"

#include "interfaces/dialogs.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

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

const ColourScheme::Command ColourScheme::Commands[4] = {
    {Target::AddressBarText, "mnuchangefontcoloraddressbar"},
    {Target::AddressBarBackground, "mnuchangebackgroundcoloraddressbar"},
    {Target::SearchBoxText, "mnuchangefontcolorsearchbox"},
    {Target::SearchBoxBackground, "mnuchangebackgroundcolorsearchbox"},
};

ColourScheme::ColourScheme(SettingsStore &settings, Dialogs &dialogs, Gtk::Widget &addressBar,
                           Gtk::Widget &searchBox, std::uint32_t &pickerColour, Apply apply,
                           Gtk::Window *parent)
    : m_settings(settings), m_dialogs(dialogs), m_addressBar(addressBar), m_searchBox(searchBox),
      m_pickerColour(pickerColour), m_apply(std::move(apply)), m_parent(parent)
{
}

void ColourScheme::change(Target target)
{
    for (const Row &row : Rows) {
        if (row.target != target)
            continue;
        // The picker starts on the colour last accepted in any of the four commands.
        const auto picked = m_dialogs.pickColour(m_parent, row.title, m_pickerColour);
        if (!picked)
            return;
        const std::uint32_t colour = *picked & 0xFFFFFF;
        m_pickerColour = colour;
        // Applied first: a colour that cannot be stored still shows for this run.
        if (m_apply)
            m_apply(row.addressBar ? m_addressBar : m_searchBox, row.background, colour);
        m_settings.write(keys::App, keys::Home, row.key, std::to_string(colour));
        return;
    }
}
