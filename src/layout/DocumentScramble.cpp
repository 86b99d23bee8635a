#include "layout/LayoutDocument.h"

#include <QByteArray>

namespace tavrin {

// The stored form works on UTF-16 code units, not on characters: a character outside the basic
// plane is two code units, and they are reversed and shifted like any other two.

QString ScrambleText(const QString &text)
{
    const qsizetype n = text.size();
    QString result(n, Qt::Uninitialized);
    const char16_t *in = reinterpret_cast<const char16_t *>(text.constData());
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    for (qsizetype i = 0; i < n; ++i)
        out[i] = char16_t(in[n - 1 - i] + 1);
    return result;
}

QString UnscrambleText(const QString &text)
{
    const qsizetype n = text.size();
    QString result(n, Qt::Uninitialized);
    const char16_t *in = reinterpret_cast<const char16_t *>(text.constData());
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    for (qsizetype i = 0; i < n; ++i)
        out[i] = char16_t(in[n - 1 - i] - 1);
    return result;
}

QString DocumentTextFromBytes(const QByteArray &bytes)
{
    const qsizetype n = bytes.size() / 2;
    QString text(n, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.constData());
    for (qsizetype i = 0; i < n; ++i)
        out[i] = char16_t(in[2 * i] | (in[2 * i + 1] << 8));
    return text;
}

QByteArray StoredDocumentBytes(const QString &documentText)
{
    const QString scrambled = ScrambleText(documentText);
    QByteArray bytes(scrambled.size() * 2, Qt::Uninitialized);
    const char16_t *in = reinterpret_cast<const char16_t *>(scrambled.constData());
    for (qsizetype i = 0; i < scrambled.size(); ++i) {
        bytes[2 * i] = char(in[i] & 0xFF);
        bytes[2 * i + 1] = char(in[i] >> 8);
    }
    return bytes;
}

} // namespace tavrin
