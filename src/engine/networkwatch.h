#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <sys/types.h>

// The engine does not tell when its network process ends (killed, crashed):
// a load on its way then may wait for ever. This watches the network
// processes the program starts once the watch is made, and says when one
// ends. Those already running belong to another profile and are left alone.
class NetworkWatch
{
public:
    // `processName` as the system keeps it (15 characters at most).
    explicit NetworkWatch(std::function<void()> ended, std::string processName = "WebKitNetworkPr");
    ~NetworkWatch();
    NetworkWatch(const NetworkWatch &) = delete;
    NetworkWatch &operator=(const NetworkWatch &) = delete;

    // Watches such processes started since the last look (the engine starts
    // one when it first needs it, and again after one ended).
    void look();

private:
    struct Watched;
    std::set<pid_t> running() const;
    void ended(pid_t pid);

    std::function<void()> m_ended;
    std::string m_name;
    std::set<pid_t> m_before;
    std::map<pid_t, std::unique_ptr<Watched>> m_watched;
};
