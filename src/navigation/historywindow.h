#pragma once

#include "history/historystore.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/treestore.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>
#include <string>

// The History window: the visits, newest first, under a heading per day,
// narrowed as the user types in its search field to those whose address or
// title holds every word. Enter or a double click opens a visit's page;
// Delete removes the selected visits (a day's heading stands for all its
// visits). A plain window of its own, brought forward when open again.
class HistoryWindow : public Gtk::Window
{
public:
    // `open` surfs to an address as the address bar does.
    HistoryWindow(HistoryStore &store, std::function<void(const std::string &address)> open,
                  Gtk::Window *parent = nullptr);

    // Shows the window with the history as it is now.
    void present();
    // The history changed (a visit kept, browsing data deleted): shown again
    // if the window is open.
    void historyChanged();
    // A problem with the history file, said in the window (empty: none).
    void tellProblem(const std::string &message);

    // The heading of a day's visits: "Today", "Yesterday", or the date.
    static std::string dayHeading(const HistoryDay &day, const Glib::DateTime &now);

    // Visits are read this many at a time; more as the list is scrolled to its end.
    static constexpr std::size_t PageSize = 500;

private:
    struct Columns : Gtk::TreeModelColumnRecord
    {
        Columns()
        {
            add(title);
            add(address);
            add(time);
            add(visit);
        }
        Gtk::TreeModelColumn<Glib::ustring> title;
        Gtk::TreeModelColumn<Glib::ustring> address;
        Gtk::TreeModelColumn<Glib::ustring> time;
        // 0 on a day's heading.
        Gtk::TreeModelColumn<gint64> visit;
    };

    void reload();
    // Again, keeping the selected visits and the one at the top of the view.
    void reloadInPlace();
    void scheduleReload();
    void appendPage();
    void showCount();
    void rowActivated(const Gtk::TreeModel::Path &path, Gtk::TreeViewColumn *column);
    bool keyPressed(GdkEventKey *event);
    void openSelected();
    void selectFirstVisit();
    void deleteSelected();
    void selectionChanged();

    HistoryStore &m_store;
    std::function<void(const std::string &)> m_open;
    Columns m_columns;
    Glib::RefPtr<Gtk::TreeStore> m_model = Gtk::TreeStore::create(m_columns);
    Gtk::Box m_layout{Gtk::ORIENTATION_VERTICAL, 6};
    Gtk::Box m_searchRow{Gtk::ORIENTATION_HORIZONTAL, 6};
    Gtk::Label m_searchLabel;
    Gtk::Entry m_searchField;
    Gtk::ScrolledWindow m_scroller;
    Gtk::TreeView m_list;
    Gtk::Label m_state;
    Gtk::Box m_buttons{Gtk::ORIENTATION_HORIZONTAL, 6};
    Gtk::Button m_openButton;
    Gtk::Button m_deleteButton;
    Gtk::Button m_closeButton;
    // What is shown: the search it answers, the last visit read, the last day.
    std::string m_search;
    Visit m_last;
    bool m_more = false;
    std::size_t m_shown = 0;
    HistoryDay m_lastDay;
    Gtk::TreeModel::iterator m_lastDayRow;
    std::string m_problem;
    sigc::connection m_pendingReload;
    bool m_keepPlace = false;
};
