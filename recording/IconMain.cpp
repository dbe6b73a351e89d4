#include "core/ProgramIcon.h"

#include <QDir>
#include <QString>

#include <cstdio>

// zumbrel_icon <theme folder> <size>...: writes <size>x<size>/apps/zumbrel.png below the folder for each size,
// the layout of an icon theme, from the drawing the window shows.
int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: zumbrel_icon <theme folder> <size>...\n");
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 16 || size > 1024) {
            std::fprintf(stderr, "zumbrel_icon: no icon size: %s\n", argv[i]);
            return 2;
        }
        const QString folder = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/%1x%1/apps").arg(size);
        const QString file = folder + QStringLiteral("/zumbrel.png");
        if (!QDir().mkpath(folder) || !DrawProgramIcon(size).save(file, "PNG")) {
            std::fprintf(stderr, "zumbrel_icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
