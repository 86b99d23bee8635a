#include "layout/FontList.h"

#include "layout/PathText.h"

#include <QFileInfo>

#include <map>

namespace tavrin {

namespace {

bool HasListSeparator(const QString &text) { return text.contains(u',') || text.contains(u';'); }

// The file's own name made fit for the list: "," and ";" become "_", and a name that is no
// plain file name becomes "font".
QString MemberBase(const QString &fontFile)
{
    QString name = FileNamePart(fontFile);
    name.replace(u',', u'_').replace(u';', u'_').remove(QChar(0));
    if (name.isEmpty() || name == u"." || name == u"..")
        name = QStringLiteral("font");
    return name;
}

QString FreeMemberName(const QString &base, const QSet<QString> &taken)
{
    const qsizetype dot = base.lastIndexOf(u'.');
    const QString extension = dot > 0 ? base.mid(dot) : QString();
    QString name = base;
    for (int n = 1; taken.contains(name.toLower()); ++n)
        name.insert(name.size() - extension.size(), QStringLiteral("(%1)").arg(n));
    return name;
}

// Two paths name the same file when they resolve to it; a path that cannot be resolved stands
// for itself.
QString FileIdentity(const QString &fontFile)
{
    const QString canonical = QFileInfo(fontFile).canonicalFilePath();
    return canonical.isEmpty() ? fontFile : canonical;
}

} // namespace

bool FontList::add(const QString &face, const QString &fontFile)
{
    if (hasFace(face))
        return false;
    entries_.push_back({face, fontFile});
    return true;
}

bool FontList::hasFace(const QString &face) const
{
    for (const GatheredFont &entry : entries_) {
        if (entry.face == face)
            return true;
    }
    return false;
}

QStringList FontList::faces() const
{
    QStringList names;
    for (const GatheredFont &entry : entries_)
        names << entry.face;
    return names;
}

QString FontList::text() const
{
    QString text;
    for (const GatheredFont &entry : entries_)
        text += entry.face + u',' + FileNamePart(entry.fontFile) + u';';
    return text;
}

PackedFontList PackFontList(const FontList &list, QSet<QString> &takenNames)
{
    PackedFontList packed;
    std::map<QString, QString> memberOfFile;
    for (const GatheredFont &entry : list.entries()) {
        const QString identity = FileIdentity(entry.fontFile);
        auto known = memberOfFile.find(identity);
        if (known == memberOfFile.end()) {
            const QString member = FreeMemberName(MemberBase(entry.fontFile), takenNames);
            takenNames.insert(member.toLower());
            packed.files.push_back({entry.fontFile, member});
            known = memberOfFile.emplace(identity, member).first;
        }
        if (!entry.face.isEmpty() && !HasListSeparator(entry.face))
            packed.listText += entry.face + u',' + known->second + u';';
    }
    return packed;
}

} // namespace tavrin
