#include "app/instancelock.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::InstanceLock(const std::string &path)
{
    // Not handed to the page engine's processes or helpers: the lock ends
    // with this process.
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return;
    }
    m_fd = fd;
}

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        close(m_fd);
}

std::string InstanceLock::programPath()
{
    // Falls back to the user's cache folder where there is no runtime folder.
    gchar *path = g_build_filename(g_get_user_runtime_dir(), "org.velmora.Skimlark.lock", nullptr);
    std::string result = path;
    g_free(path);
    return result;
}
