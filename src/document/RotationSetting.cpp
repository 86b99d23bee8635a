#include "document/RotationSetting.h"

#include "platform/SafeFile.h"

#include <QFile>

namespace tavrin {

QString RotationSettingPath(const QString &dataFolder) { return dataFolder + QStringLiteral("/RotationData.txt"); }

int ReadRotationSetting(const QString &dataFolder)
{
    QFile file(RotationSettingPath(dataFolder));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray first = file.read(2);
    if (first.size() < 2 || first[1] != '\0')
        return 0;
    return first[0] == '1' ? 1 : first[0] == '2' ? 2 : 0;
}

bool WriteRotationSetting(const QString &dataFolder, int rotation)
{
    const QString text = QString::number(rotation);
    QByteArray bytes;
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xff));
        bytes.append(char(c.unicode() >> 8));
    }
    return WriteFileReplacing(RotationSettingPath(dataFolder), bytes);
}

} // namespace tavrin
