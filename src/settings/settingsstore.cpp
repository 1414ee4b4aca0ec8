#include "settingsstore.h"

#include <glib.h>
#include <glib/gstdio.h>

// Stand-in until the tolerant INI reader lands: GKeyFile, atomic writes.
SettingsStore::SettingsStore() : SettingsStore(defaultConfigRoot()) {}

SettingsStore::SettingsStore(std::string configRoot) : m_root(std::move(configRoot)) {}

std::string SettingsStore::defaultConfigRoot()
{
    return g_get_user_config_dir();
}

std::string SettingsStore::filePath(const std::string &application) const
{
    return m_root + "/Velmora/" + application + ".conf";
}

static GKeyFile *loadFile(const std::string &path)
{
    GKeyFile *file = g_key_file_new();
    g_key_file_load_from_file(file, path.c_str(), G_KEY_FILE_KEEP_COMMENTS, nullptr);
    return file;
}

std::string SettingsStore::read(const std::string &application, const std::string &section,
                                const std::string &key, const std::string &defaultValue) const
{
    GKeyFile *file = loadFile(filePath(application));
    gchar *value = g_key_file_get_string(file, section.c_str(), key.c_str(), nullptr);
    std::string result = value ? value : defaultValue;
    g_free(value);
    g_key_file_free(file);
    return result;
}

bool SettingsStore::contains(const std::string &application, const std::string &section,
                             const std::string &key) const
{
    GKeyFile *file = loadFile(filePath(application));
    const bool has = g_key_file_has_key(file, section.c_str(), key.c_str(), nullptr);
    g_key_file_free(file);
    return has;
}

bool SettingsStore::write(const std::string &application, const std::string &section,
                          const std::string &key, const std::string &value)
{
    const std::string path = filePath(application);
    gchar *folder = g_path_get_dirname(path.c_str());
    bool ok = g_mkdir_with_parents(folder, 0700) == 0;
    g_free(folder);
    if (ok) {
        GKeyFile *file = loadFile(path);
        g_key_file_set_string(file, section.c_str(), key.c_str(), value.c_str());
        gsize length = 0;
        gchar *data = g_key_file_to_data(file, &length, nullptr);
        ok = g_file_set_contents_full(path.c_str(), data, gssize(length),
                                      GFileSetContentsFlags(G_FILE_SET_CONTENTS_CONSISTENT
                                                            | G_FILE_SET_CONTENTS_DURABLE),
                                      0600, nullptr);
        g_free(data);
        g_key_file_free(file);
    }
    if (!ok)
        writeFailed.emit(path);
    return ok;
}

bool SettingsStore::isWritable(const std::string &application) const
{
    const std::string path = filePath(application);
    gchar *folder = g_path_get_dirname(path.c_str());
    bool ok = g_mkdir_with_parents(folder, 0700) == 0 && g_access(folder, W_OK) == 0;
    g_free(folder);
    return ok && (!g_file_test(path.c_str(), G_FILE_TEST_EXISTS)
                  || (g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR) && g_access(path.c_str(), W_OK) == 0));
}
