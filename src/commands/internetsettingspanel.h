#pragma once

#include <functional>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/dialog.h>
#include <gtkmm/label.h>

#include "interfaces/pageview.h"

class Dialogs;
class SettingsStore;

// Our small Internet settings panel for the page engine: delete browsing data,
// JavaScript, images and blocking trackers and ads. Not modal; each change is
// stored and applied at once.
class InternetSettingsPanel : public Gtk::Dialog
{
public:
    // `forgetSurfed` deletes the addresses the user surfed, which go with the
    // browsing data; it says whether their stored entry could be removed.
    InternetSettingsPanel(SettingsStore &settings, Dialogs &dialogs, PageView &view,
                          std::function<bool()> forgetSurfed, Gtk::Window *parent = nullptr);

    // Shows the stored choices (they may have changed since the panel was last open).
    void refresh();
    // Asks, then deletes the engine's data and the surfed addresses, and says
    // what was deleted.
    void deleteBrowsingData();

    // What the panel says of blocking: the lists' state, or why it is off.
    static std::string blockingText(const PageView::Blocking &blocking, bool on);

protected:
    void on_show() override;
    void on_response(int response) override;

private:
    void showBlocking();

    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    PageView &m_view;
    std::function<bool()> m_forgetSurfed;
    bool m_refreshing = false;
    Gtk::CheckButton m_javaScriptBox;
    Gtk::CheckButton m_imagesBox;
    Gtk::CheckButton m_blockingBox;
    Gtk::Label m_blockingState;
    Gtk::Button m_deleteButton;
};
