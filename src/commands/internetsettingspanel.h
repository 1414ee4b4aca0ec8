#pragma once

#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/comboboxtext.h>
#include <gtkmm/dialog.h>
#include <gtkmm/label.h>
#include <memory>

#include "interfaces/pageview.h"

class Dialogs;
class SettingsStore;

// Our small Internet settings panel for the page engine: delete browsing data,
// JavaScript, images and blocking trackers and ads. Not modal; each change is
// stored and applied at once.
class InternetSettingsPanel : public Gtk::Dialog
{
public:
    // `visitedList` is the address bar, whose list of surfed addresses goes
    // with the browsing data.
    InternetSettingsPanel(SettingsStore &settings, Dialogs &dialogs, PageView &view,
                          Gtk::ComboBoxText &visitedList, Gtk::Window *parent = nullptr);

    // Shows the stored choices (they may have changed since the panel was last open).
    void refresh();
    // Asks, then deletes the engine's data, the visited-address list and its
    // stored entry, and says what was deleted.
    void deleteBrowsingData();

    // What the panel says of blocking: the lists' state, or why it is off.
    static std::string blockingText(const PageView::Blocking &blocking, bool on);

    Gtk::CheckButton javaScriptBox;
    Gtk::CheckButton imagesBox;
    Gtk::CheckButton blockingBox;
    Gtk::Label blockingState;
    Gtk::Button deleteButton;

protected:
    void on_show() override;
    void on_response(int response) override;

private:
    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    PageView &m_view;
    Gtk::ComboBoxText &m_visitedList;
    bool m_refreshing = false;
    void showBlocking();
    // Lets an answer from the engine that arrives after the panel is gone find nothing.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
