#pragma once

#include <glib.h>

#include <string>

// The last part of a path, as the user sees a file named ("report.pdf").
inline std::string fileNameOf(const std::string &path)
{
    gchar *name = g_path_get_basename(path.c_str());
    std::string result = name;
    g_free(name);
    return result;
}
