#pragma once

#include "history/downloadlist.h"
#include "history/downloadrows.h"
#include "interfaces/pageview.h"

#include <cstdint>
#include <map>
#include <memory>
#include <sigc++/sigc++.h>
#include <vector>

class Desktop;
class DownloadsWindow;
namespace Gtk { class Window; }

// The user's downloads: each file the user kept is written in the list as
// it comes and ends, and the Downloads window shows them all, this run's and
// earlier ones', with Cancel, Open and Show in Folder.
class DownloadsCommands : public sigc::trackable
{
public:
    DownloadsCommands(PageView &view, DownloadList &list, Desktop &desktop, Gtk::Window &mainWindow);
    ~DownloadsCommands();

    // Opens the Downloads window, or brings it forward.
    void showWindow();

    void open(std::int64_t id);
    void showInFolder(std::int64_t id);
    void cancel(std::int64_t id);
    // Forgets the downloads that have ended (the files stay).
    void clear();

private:
    void changed(const PageView::Download &download);
    // Reads the list again (something came or went); shows it.
    void reload();
    // Shows what is known, the running ones' progress from memory.
    void refresh();
    const DownloadRecord *recordOf(std::int64_t id) const;
    void say(const std::string &text);

    PageView &m_view;
    DownloadList &m_list;
    Desktop &m_desktop;
    Gtk::Window &m_mainWindow;
    std::unique_ptr<DownloadsWindow> m_window;
    // What the window lists: read from the list, the running ones kept up to date.
    std::vector<DownloadRecord> m_records;
    std::map<std::int64_t, bool> m_fileThere;
    // This run's downloads: the page view's id to the list's, and back.
    std::map<unsigned, std::int64_t> m_listed;
    std::map<std::int64_t, unsigned> m_engineIds;
    std::map<std::int64_t, downloadrows::Speed> m_speeds;
};
