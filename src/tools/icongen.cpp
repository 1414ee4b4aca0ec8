// Writes the program's drawn icon as PNG files for the desktop's icon theme:
// icongen <folder> <size>... writes <folder>/<size>x<size>/skimlark.png.
#include "app/appicon.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <size>...\n", argv[0]);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0)
            return 2;
        const QString folder = QStringLiteral("%1x%1").arg(size);
        if (!root.mkpath(folder)
            || !appicon::draw(size).save(root.filePath(folder + QStringLiteral("/skimlark.png")), "PNG")) {
            std::fprintf(stderr, "%s: cannot write the %d pixel icon\n", argv[0], size);
            return 1;
        }
    }
    return 0;
}
