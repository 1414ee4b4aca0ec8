#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <glib.h>
#include <glib/gstdio.h>
#include <glibmm/main.h>
#include <string>
#include <vector>

namespace testutil {

// Runs the main loop until `done` holds or the deadline passes; returns `done()`.
inline bool spinUntil(const std::function<bool()> &done,
                      std::chrono::milliseconds deadline = std::chrono::seconds(20))
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    auto context = Glib::MainContext::get_default();
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        context->iteration(false) || context->iteration(false) || (g_usleep(1000), true);
    }
    return true;
}

// Runs every pending event once.
inline void spin()
{
    auto context = Glib::MainContext::get_default();
    while (context->pending())
        context->iteration(false);
}

// The whole file as bytes, or "<unreadable>".
inline std::string fileContents(const std::string &path)
{
    gchar *data = nullptr;
    gsize length = 0;
    if (!g_file_get_contents(path.c_str(), &data, &length, nullptr))
        return "<unreadable>";
    std::string result(data, length);
    g_free(data);
    return result;
}

// Removes a file or a folder with all it holds (a link, not what it leads to).
inline void removeTree(const std::string &path)
{
    GDir *folder = g_file_test(path.c_str(), G_FILE_TEST_IS_SYMLINK) ? nullptr : g_dir_open(path.c_str(), 0, nullptr);
    if (folder) {
        for (const gchar *name = g_dir_read_name(folder); name; name = g_dir_read_name(folder))
            removeTree(path + "/" + name);
        g_dir_close(folder);
    }
    g_remove(path.c_str());
}

// The names a folder holds, in order; none for a folder that cannot be read.
inline std::vector<std::string> folderEntries(const std::string &path)
{
    std::vector<std::string> names;
    if (GDir *folder = g_dir_open(path.c_str(), 0, nullptr)) {
        for (const gchar *name = g_dir_read_name(folder); name; name = g_dir_read_name(folder))
            names.push_back(name);
        g_dir_close(folder);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A warning whose message contains `part` is expected in the running test.
void allowWarning(const std::string &part);
// Fails the running test for each unexpected GLib warning seen so far.
void expectNoWarnings();

} // namespace testutil
