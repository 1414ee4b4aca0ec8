#pragma once

#include "commands/fieldcolours.h"

#include <cstdint>

namespace Gtk { class Entry; class Window; }
class Dialogs;
class SettingsStore;

// The colours of the address bar and the search box: the stored ones applied
// when built, and the four colour commands of the File menu (the shared
// colour picker, the colour stored as its decimal number, then applied).
class ColourScheme
{
public:
    // In the order of the commands' arguments.
    enum class Target { AddressBarText, AddressBarBackground, SearchBoxText, SearchBoxBackground };

    ColourScheme(SettingsStore &settings, Dialogs &dialogs, Gtk::Entry &addressBar, Gtk::Entry &searchBox,
                 Gtk::Window *parent = nullptr);

    // One command: Cancel changes nothing; nor does a colour that cannot be stored.
    void change(Target target);

private:
    void paint(bool addressBar, bool background, std::uint32_t colour);

    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    FieldColours m_addressBar;
    FieldColours m_searchBox;
    Gtk::Window *m_parent;
    // The picker's current colour for the program's run: black at first,
    // then the colour last accepted in any of the four commands.
    std::uint32_t m_pickerColour = 0;
};
