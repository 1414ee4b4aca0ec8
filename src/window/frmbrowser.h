#pragma once

#include "window/enginetabbar.h"
#include "window/toolbarcomponent.h"

#include <gtkmm.h>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class Dialogs;
class PageView;
class SettingsStore;

// The main window. It builds its controls and menu tree, runs the load that
// restores the stored settings, lays itself out and ends the program when
// closed. The subsystems wire their behaviour onto the controls it exposes
// (see the wire* functions each subsystem offers).
class frmBrowser : public Gtk::Window
{
public:
    frmBrowser(SettingsStore &settings, Dialogs &dialogs, PageView &pageView);
    ~frmBrowser() override;

    // The main window load: restores the settings onto the controls. Runs once,
    // before the window is first shown.
    void load();

    // A menu item by its name (`mnugoogle`, `mnusepo` ...); nullptr if none.
    Gtk::MenuItem *menuItem(const std::string &name) const;
    // A menu item that carries a check mark (the engine items); nullptr if none.
    Gtk::CheckMenuItem *checkItem(const std::string &name) const;
    // Toolbar1's button at a 1-based position (1..23; nullptr for separators) or by key.
    Gtk::ToolButton *toolbarButton(int position) const;
    Gtk::ToolButton *toolbarButton(const std::string &key) const;
    // Favorite button N (1..10): position 13 + N.
    Gtk::ToolButton *favoriteButton(int n) const { return toolbarButton(13 + n); }

    SettingsStore &settings() const { return m_settings; }
    ToolbarComponent &toolbarComponent() { return m_toolbarComponent; }
    Dialogs &dialogs() const { return m_dialogs; }

    // Keeps a behaviour object alive as long as the window.
    template <class T> T &keep(std::unique_ptr<T> object)
    {
        T &ref = *object;
        m_kept.push_back(std::shared_ptr<void>(std::move(object)));
        return ref;
    }

    // Window fields.
    int visitedAddressCounter() const { return m_visitedCounter; }
    bool firstActivationPending() const { return m_firstActivation; }

    // The common dialog's current colour (a colour number): black when the
    // window opens, then the colour last accepted in the colour picker.
    std::uint32_t commonDialogColour = 0;

    // Controls, by their design names.
    Gtk::MenuBar menuBar;
    Gtk::Toolbar Toolbar1;
    Gtk::Toolbar UCmoreToolbar;
    Gtk::Label Label1;
    Gtk::Entry Text1;
    Gtk::Button Command1;
    Gtk::Label Label2;
    Gtk::ComboBoxText Combo1{true};
    Gtk::Button Command2;
    EngineTabBar TabStrip1;
    // Holds the page view's widget (and the find bar under it).
    Gtk::Box Picture1{Gtk::ORIENTATION_VERTICAL};
    PageView &WebBrowser1;
    // The status bar: three panels in a row.
    Gtk::Box StatusBar1{Gtk::ORIENTATION_HORIZONTAL};
    std::array<Gtk::Label, 3> panels;
    // The clock's timer (500 ms); connected by the status display.
    sigc::connection Timer3;
    // The window's keyboard shortcuts (menu items show theirs).
    Glib::RefPtr<Gtk::AccelGroup> accelGroup = Gtk::AccelGroup::create();

    // Applies a text or background colour (a colour number) to the address bar
    // or the search box.
    static void setFieldColour(Gtk::Widget &field, bool background, std::uint32_t colour);

    // The first activation (selects the Home Page tab); later calls do nothing.
    void ensureFirstActivation();
    // Says once per run that settings cannot be saved.
    void reportWriteFailure(const std::string &path);

    // The first activation: the Home Page tab is selected right after this.
    sigc::signal<void()> firstActivated;
    // The window is closing; the program ends after this.
    sigc::signal<void()> closing;

protected:
    bool on_delete_event(GdkEventAny *event) override;
    bool on_focus_in_event(GdkEventFocus *event) override;
    bool on_motion_notify_event(GdkEventMotion *event) override;

private:
    void buildControls();
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void applyStoredColours();
    void placeOnScreen();
    void reportDamage(const std::string &path, const std::string &keptAside);
    void showLater(const std::string &text);

    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    Gtk::Box m_layout{Gtk::ORIENTATION_VERTICAL};
    Gtk::Fixed m_searchRow;
    ToolbarComponent m_toolbarComponent;
    std::map<std::string, Gtk::MenuItem *> m_menuItems;
    std::array<Gtk::ToolButton *, 24> m_toolbarButtons{};
    std::vector<std::shared_ptr<void>> m_kept;
    int m_visitedCounter = 0;
    bool m_firstActivation = false;
    bool m_writeFailureReported = false;
    bool m_damageReported = false;
    bool m_firstMouseMove = false;
    bool m_placedByFrame = false;
    bool m_unloaded = false;
};
