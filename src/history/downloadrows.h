#pragma once

#include "history/downloadlist.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// What the Downloads window and the status bar say of downloads, in words.
namespace downloadrows {

// "512 bytes", "1.5 MB": as the desktop writes sizes (powers of 1000).
std::string sizeText(std::int64_t bytes);

// How fast a download comes, from what had arrived when.
class Speed
{
public:
    // `time` in microseconds, any steady clock.
    void add(std::int64_t time, std::int64_t received);
    // Bytes a second over the last few seconds; -1 while too little is known.
    double bytesPerSecond() const;

    static constexpr std::int64_t Window = 3'000'000;
    static constexpr std::int64_t Shortest = 500'000;

private:
    struct Sample
    {
        std::int64_t time;
        std::int64_t received;
    };
    std::deque<Sample> m_samples;
};

// One download as the Downloads window lists it.
struct Row
{
    std::int64_t id = 0;
    std::string name;
    std::string site;
    // "1.2 MB of 3.4 MB" while it runs, its size once it has ended.
    std::string size;
    // Its speed while it runs, else how it ended.
    std::string status;
    // The bar's fill while it runs (-1 when the size is unknown); no bar once ended.
    double fraction = -1;
    bool running = false;
    // The file is where it landed: Open and Show in Folder work.
    bool openable = false;
};

// `bytesPerSecond` as Speed says; `fileThere`: the file is still where it landed.
Row rowFor(const DownloadRecord &record, double bytesPerSecond, bool fileThere);

// What the status bar adds while files come: "Downloading a.zip: 45%",
// "Downloading 3 files: 12%"; "" when none runs.
struct Running
{
    std::string name;
    std::int64_t received = 0;
    std::int64_t size = -1;
};
std::string statusNote(const std::vector<Running> &running);

} // namespace downloadrows
