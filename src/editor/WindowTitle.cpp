#include "editor/WindowTitle.h"

#include "Version.h"

namespace tavrin {

QString VersionText()
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(version::kMajor)
        .arg(version::kMinor)
        .arg(version::kBuild)
        .arg(version::kRevision);
}

QString WindowTitleText(const QString &layoutName)
{
    QString title = QLatin1String(version::kProductName) + QStringLiteral(" Ver ") + VersionText();
    if (!layoutName.isEmpty())
        title += QStringLiteral("      MarbixFile : ") + layoutName;
    return title;
}

QString ResolutionSuffix(int width, int height, int pixelsPerInch)
{
    const int ppi = pixelsPerInch > 0 ? pixelsPerInch : 96;
    // QString::number is locale-free: the point stays a point under every regional setting.
    return QStringLiteral("      Resolution: %1 x %2 at %3 PPI (%4 in x %5 in)")
        .arg(width)
        .arg(height)
        .arg(ppi)
        .arg(QString::number(double(width) / ppi, 'f', 1))
        .arg(QString::number(double(height) / ppi, 'f', 1));
}

} // namespace tavrin
