#include "history/downloadrows.h"

#include <glib.h>

namespace downloadrows {

namespace {

int percentOf(std::int64_t received, std::int64_t size)
{
    return size > 0 ? int(std::min<std::int64_t>(received, size) * 100 / size) : 0;
}

} // namespace

std::string sizeText(std::int64_t bytes)
{
    gchar *text = g_format_size(guint64(std::max<std::int64_t>(bytes, 0)));
    std::string result = text;
    g_free(text);
    return result;
}

void Speed::add(std::int64_t time, std::int64_t received)
{
    // A fetch again starts from nothing: what came before says nothing of it.
    if (!m_samples.empty() && (received < m_samples.back().received || time < m_samples.back().time))
        m_samples.clear();
    m_samples.push_back({time, received});
    while (m_samples.size() > 2 && time - m_samples[1].time >= Window)
        m_samples.pop_front();
}

double Speed::bytesPerSecond() const
{
    if (m_samples.size() < 2)
        return -1;
    const Sample &first = m_samples.front(), &last = m_samples.back();
    const std::int64_t span = last.time - first.time;
    if (span < Shortest)
        return -1;
    return double(last.received - first.received) * 1e6 / double(span);
}

Row rowFor(const DownloadRecord &record, double bytesPerSecond, bool fileThere)
{
    Row row;
    row.id = record.id;
    row.name = record.fileName;
    row.site = record.site();
    switch (record.state) {
    case DownloadState::Running:
        row.running = true;
        row.size = sizeText(record.received) + (record.size > 0 ? " of " + sizeText(record.size) : "");
        row.fraction = record.size > 0 ? double(std::min(record.received, record.size)) / double(record.size) : -1;
        row.status = bytesPerSecond >= 0 ? sizeText(std::int64_t(bytesPerSecond)) + "/s" : "Starting\u2026";
        break;
    case DownloadState::Finished:
        row.size = sizeText(record.received);
        row.openable = fileThere;
        row.status = fileThere ? "Done" : "Moved or deleted";
        break;
    case DownloadState::Failed:
    case DownloadState::Cancelled:
        row.size = record.size > 0 ? sizeText(record.size) : "";
        row.status = record.state == DownloadState::Failed ? "Failed" : "Cancelled";
        break;
    }
    return row;
}

std::string statusNote(const std::vector<Running> &running)
{
    if (running.empty())
        return "";
    if (running.size() == 1) {
        const Running &one = running.front();
        return "Downloading " + one.name + ": "
               + (one.size > 0 ? std::to_string(percentOf(one.received, one.size)) + "%" : sizeText(one.received));
    }
    std::int64_t received = 0, size = 0;
    bool sized = true;
    for (const Running &one : running) {
        sized = sized && one.size > 0;
        received += std::min(one.received, std::max<std::int64_t>(one.size, 0));
        size += std::max<std::int64_t>(one.size, 0);
    }
    const std::string files = "Downloading " + std::to_string(running.size()) + " files";
    return sized ? files + ": " + std::to_string(percentOf(received, size)) + "%" : files;
}

} // namespace downloadrows
