#pragma once

#include "history/downloadrows.h"

#include <cstdint>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/listbox.h>
#include <gtkmm/window.h>
#include <map>
#include <memory>
#include <vector>

// The Downloads window: every download, newest first, each with its name,
// site, size, a bar and speed while it runs, and what may be done with it.
// Not modal; closing it hides it. What the user asks for goes out through
// the signals; the window does nothing itself.
class DownloadsWindow : public Gtk::Window
{
public:
    DownloadsWindow();
    ~DownloadsWindow() override;

    // Shows these rows in this order; a row kept from before keeps its
    // widgets, so the keyboard stays where it was.
    void show(const std::vector<downloadrows::Row> &rows);
    // Shows a listed row anew (its download came further).
    void update(const downloadrows::Row &row);
    // A word to the user under the list ("" clears it).
    void say(const std::string &text);

    sigc::signal<void(std::int64_t id)> openAsked;
    sigc::signal<void(std::int64_t id)> showInFolderAsked;
    sigc::signal<void(std::int64_t id)> cancelAsked;
    sigc::signal<void()> clearAsked;

private:
    struct Entry;
    Entry &entryFor(std::int64_t id, int position);
    static void fill(Entry &entry, const downloadrows::Row &row);

    Gtk::ListBox m_list;
    Gtk::Label m_said;
    Gtk::Button m_clearButton;
    Gtk::Button m_closeButton;
    std::map<std::int64_t, std::unique_ptr<Entry>> m_entries;
};
