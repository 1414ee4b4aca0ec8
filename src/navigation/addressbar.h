#pragma once

#include <gtkmm/button.h>
#include <functional>
#include <gtkmm/comboboxtext.h>
#include <string>

class Dialogs;
class PageView;
class SettingsStore;

// The address bar (an editable drop-down list) and its "Surf" button. Surf
// sends the page view to the text as typed, appends it to the visited-address
// list and remembers it for the next start; words that can be no address are
// searched for instead. Choosing a list entry surfs it; text written from code
// does not. Built with the remembered address as the list's one entry and an
// empty text.
//
// The page's address is shown here too, except over the user's typing: while
// the field has the focus and its text was edited, the page's addresses wait.
// Esc (which brings the page's address back), a surf, leaving the field or
// another navigation the user starts ends that.
//
// The field holds 65,534 bytes and silently drops the rest of a longer text:
// such a cut is said, and a cut text is never surfed or stored.
class AddressBar : public sigc::trackable
{
public:
    // `search` searches words as the Search command does, `canSearch` says
    // whether an engine is chosen to search them with.
    AddressBar(Gtk::ComboBoxText &combo, Gtk::Button &surfButton, SettingsStore &settings,
               PageView &view, Dialogs &dialogs, std::function<void(const std::string &words)> search,
               std::function<bool()> canSearch);

    void surf();
    // Puts `address` in the bar and surfs it, as if typed (a suggestion or a
    // visit chosen in the History window).
    void surfAddress(const std::string &address);

    // The page view's address, unless the user is typing over it.
    void showPageAddress(const std::string &address);
    // The user started a navigation elsewhere (a button, a tab, a favorite):
    // typing left in the bar gives way to the page's address.
    void userNavigated();
    // Deletes the list of surfed addresses and the one kept for the next
    // start; false when the kept one could not be removed from the settings.
    bool forgetSurfed();

    // A phrase that shows a greeting instead of navigating.
    static const std::string HiddenPhrase;

    // A surf is about to navigate.
    sigc::signal<void()> surfing;
    // Something to say in the status bar.
    sigc::signal<void(const std::string &text)> notice;
    // The user changed the text by typing (or pasting): not the page's
    // address written from code.
    sigc::signal<void(const std::string &text)> typed;
    // The text was written from code, or the field let go of the keyboard.
    sigc::signal<void()> typingEnded;

private:
    Gtk::Entry &entry();
    void fitListToWindow();
    void writeText(const std::string &text);
    void listChanged();
    void textChanged();
    void textInserted(const Glib::ustring &text, int *position);
    bool focusLeft(GdkEventFocus *event);
    bool keyPressed(GdkEventKey *event);
    bool wheelTurned(GdkEventScroll *event);

    Gtk::ComboBoxText &m_combo;
    Gtk::Button &m_surfButton;
    SettingsStore &m_settings;
    PageView &m_view;
    Dialogs &m_dialogs;
    std::function<void(const std::string &)> m_search;
    std::function<bool()> m_canSearch;
    bool m_writing = false;
    bool m_edited = false;
    // The text was cut to fit the field: it is no address to open.
    bool m_cut = false;
    bool m_followingWindow = false;
    int m_listWidthFor = -1;
};
