// Writes the program's drawn icon as PNG files for the desktop's icon theme:
// icongen <folder> <size>... writes <folder>/<size>x<size>/skimlark.png.
#include "util/appicon.h"

#include <cstdio>
#include <cstdlib>
#include <glib/gstdio.h>
#include <gdkmm/wrap_init.h>
#include <glibmm/error.h>
#include <glibmm/init.h>
#include <string>

int main(int argc, char *argv[])
{
    Glib::init();
    Gdk::wrap_init();
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <size>...\n", argv[0]);
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0)
            return 2;
        const std::string folder = std::string(argv[1]) + "/" + argv[i] + "x" + argv[i];
        try {
            if (g_mkdir_with_parents(folder.c_str(), 0755) == 0) {
                appicon::draw(size)->save(folder + "/skimlark.png", "png");
                continue;
            }
        } catch (const Glib::Error &) {
        }
        std::fprintf(stderr, "%s: cannot write the %d pixel icon in %s\n", argv[0], size,
                     folder.c_str());
        return 1;
    }
    return 0;
}
