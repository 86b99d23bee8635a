#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace tavrin::fuzz {

inline QByteArray BytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Plugins (image formats) are found through the application object; one lives for the whole run.
inline void EnsureCoreApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "fuzzer";
    static char *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

// A folder of the run's own, removed when the fuzzer ends; the program's data folder points
// into it so that nothing the targets do reaches the user's.
inline QString RunFolder()
{
    static QTemporaryDir folder;
    static const bool prepared = [] {
        if (!folder.isValid())
            std::abort();
        qputenv("TAVRIN_DATA_DIR", (folder.path() + "/data").toLocal8Bit());
        return true;
    }();
    (void)prepared;
    return folder.path();
}

inline void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort(); // the run folder is ours; failing to write it is not a finding
}

} // namespace tavrin::fuzz
