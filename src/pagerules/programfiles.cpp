#include "pagerules/programfiles.h"

#include "util/filename.h"

#include <glib.h>

namespace {
const char CompilerName[] = "skimlark-filtercompile";
const char ExtensionsName[] = "web-extensions";

std::string runningFolder()
{
    gchar *self = g_file_read_link("/proc/self/exe", nullptr);
    const std::string result = self ? folderOf(self) : "";
    g_free(self);
    return result;
}
} // namespace

ProgramFiles ProgramFiles::find(const std::string &programFolder)
{
    const std::string folder = programFolder.empty() ? runningFolder() : programFolder;
    const std::string beside = folder + "/" + CompilerName;
    // The build tree: the helper was built beside the program.
    if (!folder.empty() && g_file_test(beside.c_str(), G_FILE_TEST_IS_EXECUTABLE))
        return {beside, folder + "/" + ExtensionsName};
    return {std::string(SKIMLARK_LIBEXEC_FOLDER) + "/" + CompilerName,
            std::string(SKIMLARK_LIBRARY_FOLDER) + "/" + ExtensionsName};
}
