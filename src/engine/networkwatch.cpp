#include "engine/networkwatch.h"

#include <glib-unix.h>
#include <glib.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::string contents(const std::string &path)
{
    gchar *data = nullptr;
    std::string text;
    if (g_file_get_contents(path.c_str(), &data, nullptr, nullptr))
        text = data;
    g_free(data);
    return text;
}

} // namespace

// An open handle on the process, readable once it has ended.
struct NetworkWatch::Watched
{
    int handle = -1;
    guint source = 0;
    ~Watched()
    {
        if (source)
            g_source_remove(source);
        if (handle >= 0)
            close(handle);
    }
};

NetworkWatch::NetworkWatch(std::function<void()> ended, std::string processName)
    : m_ended(std::move(ended)), m_name(std::move(processName)), m_before(running())
{
}

NetworkWatch::~NetworkWatch() = default;

std::set<pid_t> NetworkWatch::running() const
{
    // Our children, thread by thread, as the system lists them.
    std::set<pid_t> found;
    GDir *tasks = g_dir_open("/proc/self/task", 0, nullptr);
    while (const char *task = tasks ? g_dir_read_name(tasks) : nullptr) {
        gchar **pids = g_strsplit(contents(std::string("/proc/self/task/") + task + "/children").c_str(), " ", -1);
        for (gchar **pid = pids; *pid; ++pid) {
            if (**pid && contents(std::string("/proc/") + *pid + "/comm") == m_name + "\n")
                found.insert(pid_t(g_ascii_strtoll(*pid, nullptr, 10)));
        }
        g_strfreev(pids);
    }
    if (tasks)
        g_dir_close(tasks);
    return found;
}

void NetworkWatch::look()
{
    const std::set<pid_t> now = running();
    // A number may come back for a new process once the old one is gone.
    for (auto it = m_before.begin(); it != m_before.end();)
        it = now.count(*it) ? std::next(it) : m_before.erase(it);
    for (pid_t pid : now) {
        if (m_before.count(pid) || m_watched.count(pid))
            continue;
        auto watched = std::make_unique<Watched>();
        // The system call itself: the C library's header for it cannot be
        // included from C++ here.
        watched->handle = int(syscall(SYS_pidfd_open, pid, 0));
        if (watched->handle < 0)
            continue;
        struct Call
        {
            NetworkWatch *self;
            pid_t pid;
        };
        watched->source = g_unix_fd_add_full(
            G_PRIORITY_DEFAULT, watched->handle, G_IO_IN,
            [](gint, GIOCondition, gpointer data) {
                const Call call = *static_cast<Call *>(data);
                call.self->ended(call.pid);
                return gboolean(G_SOURCE_REMOVE);
            },
            new Call{this, pid}, [](gpointer data) { delete static_cast<Call *>(data); });
        m_watched[pid] = std::move(watched);
    }
}

void NetworkWatch::ended(pid_t pid)
{
    // The source ends itself: only the handle is left to close.
    auto it = m_watched.find(pid);
    it->second->source = 0;
    m_watched.erase(it);
    if (m_ended)
        m_ended();
}
