#pragma once

#include <string>

// A lock only one running copy of the program holds: whether another copy
// runs for this user is known at once, before the desktop's own check on the
// session bus answers, so work that only the first copy does can start early.
// Held from construction until destruction (or the program's end, however it
// ends); a lock that cannot be taken at all reads as held elsewhere.
class InstanceLock
{
public:
    explicit InstanceLock(const std::string &path);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    bool held() const { return m_fd >= 0; }

    // Where the program's lock lives: the user's runtime folder.
    static std::string programPath();

private:
    int m_fd = -1;
};
