#include "layout/FontList.h"

#include "layout/PathText.h"

#include <QFile>
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
    if (has(face, fontFile))
        return false;
    entries_.push_back({face, fontFile});
    return true;
}

bool FontList::has(const QString &face, const QString &fontFile) const
{
    for (const GatheredFont &entry : entries_) {
        if (entry.face == face && entry.fontFile == fontFile)
            return true;
    }
    return false;
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
    QSet<QString> listed;
    for (const GatheredFont &entry : list.entries()) {
        const QString identity = FileIdentity(entry.fontFile);
        auto known = memberOfFile.find(identity);
        if (known == memberOfFile.end()) {
            const QString member = FreeMemberName(MemberBase(entry.fontFile), takenNames);
            takenNames.insert(member.toLower());
            packed.files.push_back({entry.fontFile, member});
            known = memberOfFile.emplace(identity, member).first;
        }
        const QString pair = entry.face + u',' + known->second + u';';
        if (!entry.face.isEmpty() && !HasListSeparator(entry.face) && !listed.contains(pair)) {
            listed.insert(pair);
            packed.listText += pair;
        }
    }
    return packed;
}

std::vector<GatheredFont> ReadFontListText(const QString &text)
{
    std::vector<GatheredFont> pairs;
    for (const QString &entry : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype comma = entry.indexOf(u',');
        if (comma <= 0 || comma + 1 >= entry.size())
            continue;
        pairs.push_back({entry.left(comma), entry.mid(comma + 1)});
    }
    return pairs;
}

std::vector<GatheredFont> ReadFontListFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // A font list is a few hundred bytes; anything past a megabyte is not one.
    const QByteArray bytes = file.read(1 << 20);
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(uchar(bytes[2 * i]) | (uchar(bytes[2 * i + 1]) << 8)));
    return ReadFontListText(text);
}

} // namespace tavrin
