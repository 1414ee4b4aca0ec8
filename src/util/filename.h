#pragma once

#include <glib.h>

#include <string>

// The folder a path is in ("/home/ann" for "/home/ann/report.pdf").
inline std::string folderOf(const std::string &path)
{
    gchar *folder = g_path_get_dirname(path.c_str());
    std::string result = folder;
    g_free(folder);
    return result;
}

// The last part of a path, as the user sees a file named ("report.pdf").
inline std::string fileNameOf(const std::string &path)
{
    gchar *name = g_path_get_basename(path.c_str());
    std::string result = name;
    g_free(name);
    return result;
}
