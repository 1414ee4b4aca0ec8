#pragma once

#include "favorites/favoritetexts.h"

#include <array>
#include <string>

namespace Gtk { class Widget; class Window; }
class Dialogs;
class PageView;
class SettingsStore;

// The two commands on favorite slot N (1..10): edit asks for the address,
// activate opens it, or fills an empty slot with the page now shown (and
// says that it opened nothing). Favorite
// button N's tooltip shows what the slot holds, from the start.
class FavoriteCommands
{
public:
    using Buttons = std::array<Gtk::Widget *, favoritetexts::Count>;

    // `buttons` are favorite buttons 1 to 10 (a null entry is skipped);
    // `parent` owns the boxes.
    FavoriteCommands(SettingsStore &settings, Dialogs &dialogs, PageView &view, Buttons buttons,
                     Gtk::Window *parent = nullptr);

    void edit(int n);
    bool activate(int n);
    // Fills the first empty slot with the page now shown, as that slot's
    // button would; says so when all ten hold an address.
    void addCurrentPage();

private:
    std::string slot(int n) const;
    bool store(int n, const std::string &address);
    void showInTooltip(int n, const std::string &address);

    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    PageView &m_view;
    Buttons m_buttons;
    Gtk::Window *m_parent;
};
