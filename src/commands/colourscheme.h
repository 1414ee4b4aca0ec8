#pragma once

#include <cstdint>
#include <functional>

namespace Gtk { class Widget; class Window; }
class Dialogs;
class SettingsStore;

// The four colour commands of the File menu: the shared colour picker, the
// colour applied to its field at once, then stored as its decimal number.
class ColourScheme
{
public:
    enum class Target { AddressBarText, AddressBarBackground, SearchBoxText, SearchBoxBackground };
    // Paints a field's text or background in a colour number.
    using Apply = std::function<void(Gtk::Widget &field, bool background, std::uint32_t colour)>;

    struct Command
    {
        Target target;
        const char *menuItem;
    };
    static const Command Commands[4];

    // `pickerColour` is the picker's current colour, shared for the program's
    // run: it starts the picker and takes each accepted colour.
    ColourScheme(SettingsStore &settings, Dialogs &dialogs, Gtk::Widget &addressBar,
                 Gtk::Widget &searchBox, std::uint32_t &pickerColour, Apply apply,
                 Gtk::Window *parent = nullptr);

    // One command: Cancel changes nothing.
    void change(Target target);

private:
    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    Gtk::Widget &m_addressBar;
    Gtk::Widget &m_searchBox;
    std::uint32_t &m_pickerColour;
    Apply m_apply;
    Gtk::Window *m_parent;
};
