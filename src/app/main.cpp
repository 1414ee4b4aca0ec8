#include "app/startup.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    const char *x11 = std::getenv("DISPLAY");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!x11 || !*x11) && (!wayland || !*wayland)) {
        std::fprintf(stderr, "skimlark: no display found (DISPLAY and WAYLAND_DISPLAY are unset); "
                             "start it from a desktop session or under xvfb-run.\n");
        return 1;
    }
    return runSkimlark(argc, argv);
}
