#include "commands/downloadscommands.h"

#include "commands/downloadswindow.h"
#include "interfaces/desktop.h"
#include "pagerules/downloadpaths.h"
#include "util/filename.h"

#include <cstdio>
#include <glib.h>
#include <glib/gstdio.h>

namespace {

DownloadState stateOf(PageView::Download::State state)
{
    switch (state) {
    case PageView::Download::State::Running:
        return DownloadState::Running;
    case PageView::Download::State::Finished:
        return DownloadState::Finished;
    case PageView::Download::State::Cancelled:
        return DownloadState::Cancelled;
    case PageView::Download::State::Failed:
        break;
    }
    return DownloadState::Failed;
}

// The first bytes of a file, to tell a program by.
std::string startOf(const std::string &path)
{
    char bytes[4] = {};
    FILE *file = g_fopen(path.c_str(), "rb");
    if (!file)
        return "";
    const std::size_t got = fread(bytes, 1, sizeof bytes, file);
    fclose(file);
    return std::string(bytes, got);
}

} // namespace

DownloadsCommands::DownloadsCommands(PageView &view, DownloadList &list, Desktop &desktop, Gtk::Window &mainWindow)
    : m_view(view), m_list(list), m_desktop(desktop), m_mainWindow(mainWindow)
{
    view.downloadChanged.connect(sigc::mem_fun(*this, &DownloadsCommands::changed));
}

DownloadsCommands::~DownloadsCommands() = default;

void DownloadsCommands::showWindow()
{
    if (!m_window) {
        m_window = std::make_unique<DownloadsWindow>();
        m_window->set_transient_for(m_mainWindow);
        m_window->openAsked.connect(sigc::mem_fun(*this, &DownloadsCommands::open));
        m_window->showInFolderAsked.connect(sigc::mem_fun(*this, &DownloadsCommands::showInFolder));
        m_window->cancelAsked.connect(sigc::mem_fun(*this, &DownloadsCommands::cancel));
        m_window->clearAsked.connect(sigc::mem_fun(*this, &DownloadsCommands::clear));
    }
    m_window->say("");
    reload();
    m_window->present();
}

void DownloadsCommands::changed(const PageView::Download &download)
{
    const std::string name = fileNameOf(download.path);
    auto listed = m_listed.find(download.id);
    const bool added = listed == m_listed.end();
    if (added) {
        const std::int64_t id = m_list.add(name, download.path, download.source, download.size);
        // Not kept (the file cannot be written): the status bar still tells it.
        if (!id)
            return;
        listed = m_listed.emplace(download.id, id).first;
        m_engineIds[id] = download.id;
    }
    const std::int64_t id = listed->second;
    if (download.state == PageView::Download::State::Running) {
        m_list.progress(id, download.received, download.size);
        m_speeds[id].add(g_get_monotonic_time(), download.received);
    } else {
        const DownloadRecord *shown = recordOf(id);
        // A taken name got a number where it landed.
        if (!shown || shown->path != download.path)
            m_list.setDestination(id, name, download.path);
        m_list.end(id, stateOf(download.state), download.received, download.size);
        m_listed.erase(listed);
        m_engineIds.erase(id);
        m_speeds.erase(id);
    }
    if (!m_window)
        return;
    if (added || download.state != PageView::Download::State::Running)
        return reload();
    for (DownloadRecord &record : m_records) {
        if (record.id != id)
            continue;
        record.received = download.received;
        record.size = download.size;
        m_window->update(downloadrows::rowFor(record, m_speeds[id].bytesPerSecond(), false));
    }
}

void DownloadsCommands::reload()
{
    if (!m_window)
        return;
    m_records = m_list.list();
    m_fileThere.clear();
    for (const DownloadRecord &record : m_records) {
        if (record.state == DownloadState::Finished)
            m_fileThere[record.id] = g_file_test(record.path.c_str(), G_FILE_TEST_IS_REGULAR);
    }
    refresh();
}

void DownloadsCommands::refresh()
{
    std::vector<downloadrows::Row> rows;
    rows.reserve(m_records.size());
    for (const DownloadRecord &record : m_records) {
        const auto speed = m_speeds.find(record.id);
        const auto there = m_fileThere.find(record.id);
        rows.push_back(downloadrows::rowFor(record, speed == m_speeds.end() ? -1 : speed->second.bytesPerSecond(),
                                            there != m_fileThere.end() && there->second));
    }
    m_window->show(rows);
}

const DownloadRecord *DownloadsCommands::recordOf(std::int64_t id) const
{
    for (const DownloadRecord &record : m_records) {
        if (record.id == id)
            return &record;
    }
    return nullptr;
}

void DownloadsCommands::say(const std::string &text)
{
    if (m_window)
        m_window->say(text);
}

void DownloadsCommands::open(std::int64_t id)
{
    const DownloadRecord *record = recordOf(id);
    if (!record)
        return;
    const std::string path = record->path;
    const std::string name = record->fileName;
    if (!g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR)) {
        say("\u201c" + name + "\u201d is no longer where it was saved.");
        return reload();
    }
    // A program is not started from here: the user sees it where it is.
    if (downloadpaths::runsCode(name, "", startOf(path))) {
        say("\u201c" + name + "\u201d is a program: Skimlark does not start it. It is shown in its folder.");
        return showInFolder(id);
    }
    const std::string problem = m_desktop.open(path);
    say(problem.empty() ? "" : "\u201c" + name + "\u201d could not be opened: " + problem);
}

void DownloadsCommands::showInFolder(std::int64_t id)
{
    const DownloadRecord *record = recordOf(id);
    if (!record)
        return;
    const std::string name = record->fileName;
    m_desktop.showInFolder(record->path, sigc::track_obj([this, name](const std::string &why) {
        say("The folder of \u201c" + name + "\u201d could not be shown: " + why);
    }, *this));
}

void DownloadsCommands::cancel(std::int64_t id)
{
    const auto running = m_engineIds.find(id);
    if (running != m_engineIds.end())
        m_view.cancelDownload(running->second);
}

void DownloadsCommands::clear()
{
    if (!m_list.removeEnded())
        say("The list could not be cleared.");
    reload();
}
