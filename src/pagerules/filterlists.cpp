#include "pagerules/filterlists.h"

#include "pagerules/adblockconverter.h"

#include <cstdio>
#include <glib.h>
#include <glib/gstdio.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace filterlists {

namespace {
const char *const ListNames[] = {"easylist.txt", "easyprivacy.txt"};
const char ListsFolder[] = "/assets/thirdparties/easylist";
} // namespace

const std::vector<std::string> &packageFolders()
{
    static const std::vector<std::string> folders = {
        std::string("/usr/share/mozilla/extensions/{ec8030f7-c20a-464f-9b0e-13a3a9e97384}/uBlock0@raymondhill.net")
            + ListsFolder,
        std::string("/usr/share/chromium/extensions/ublock-origin") + ListsFolder,
    };
    return folders;
}

std::vector<std::string> find(const std::vector<std::string> &folders)
{
    for (const std::string &folder : folders) {
        std::vector<std::string> paths;
        for (const char *name : ListNames) {
            const std::string path = folder + "/" + name;
            if (g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR) && g_access(path.c_str(), R_OK) == 0)
                paths.push_back(path);
        }
        if (paths.size() == std::size(ListNames))
            return paths;
    }
    return {};
}

std::string contentKey(const std::vector<std::string> &paths)
{
    std::unique_ptr<GChecksum, decltype(&g_checksum_free)> sum(g_checksum_new(G_CHECKSUM_SHA256), g_checksum_free);
    const std::string version = "converter " + std::to_string(AdblockConverter::Version);
    g_checksum_update(sum.get(), reinterpret_cast<const guchar *>(version.data()), version.size() + 1);
    for (const std::string &path : paths) {
        std::unique_ptr<FILE, decltype(&fclose)> file(std::fopen(path.c_str(), "rb"), fclose);
        if (!file)
            return std::string();
        guchar chunk[65536];
        guint64 length = 0;
        std::size_t got = 0;
        while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
            g_checksum_update(sum.get(), chunk, got);
            length += got;
        }
        if (std::ferror(file.get()))
            return std::string();
        // Where one list ends and the next begins is part of what they hold.
        const std::string end = "\n" + std::to_string(length) + "\n";
        g_checksum_update(sum.get(), reinterpret_cast<const guchar *>(end.data()), end.size());
    }
    return g_checksum_get_string(sum.get());
}

std::string signature(const std::vector<std::string> &paths)
{
    std::string result;
    for (const std::string &path : paths) {
        struct stat status;
        if (stat(path.c_str(), &status) != 0)
            return std::string();
        result += std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino) + ":"
                  + std::to_string(status.st_size) + ":" + std::to_string(status.st_mtim.tv_sec) + "."
                  + std::to_string(status.st_mtim.tv_nsec) + ":" + std::to_string(status.st_ctim.tv_sec) + "."
                  + std::to_string(status.st_ctim.tv_nsec) + ";";
    }
    return result;
}

} // namespace filterlists
