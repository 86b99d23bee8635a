// Writes the program's icon as PNG files into an icon theme folder: FOLDER/NxN/apps/NAME.png.
#include "platform/ApplicationIconArt.h"

#include <QDir>
#include <QString>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s THEME_FOLDER ICON_NAME\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString sizeFolder = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(sizeFolder)
            || !tavrin::ApplicationIconImage(size).save(QStringLiteral("%1/%2.png").arg(sizeFolder, name))) {
            std::fprintf(stderr, "cannot write the %dx%d icon into %s\n", size, size, qPrintable(sizeFolder));
            return 1;
        }
    }
    return 0;
}
