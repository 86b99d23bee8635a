#include "prices/PriceNumbers.h"

#include <QStringList>

#include <cmath>

namespace tavrin {

namespace {

bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool IsMark(QChar c) { return c == u'.' || c == u','; }

// Decorations a cell may carry around its number: blanks and currency signs.
bool OnlyBlanksAndCurrency(const QString &text)
{
    for (QChar c : text)
        if (!c.isSpace() && c.category() != QChar::Symbol_Currency)
            return false;
    return true;
}

QString Grouped(const QString &digits, QChar grouping)
{
    if (grouping.isNull())
        return digits;
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += grouping;
        out += digits[i];
    }
    return out;
}

} // namespace

std::optional<NumberInText> NumberOfText(const QString &text, const NumberInText *form)
{
    qsizetype start = -1, end = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!c.isDigit())
            continue;
        if (!IsAsciiDigit(c) || start >= 0)
            return std::nullopt; // digits of another script, or a second number
        start = i;
        end = i;
        while (end < text.size()
               && (IsAsciiDigit(text[end])
                   || (IsMark(text[end]) && end + 1 < text.size() && IsAsciiDigit(text[end + 1]))))
            ++end;
        i = end - 1;
    }
    if (start < 0)
        return std::nullopt;

    const QString token = text.mid(start, end - start);
    QStringList groups;
    QString separators;
    QString group;
    for (QChar c : token) {
        if (IsMark(c)) {
            groups << group;
            separators += c;
            group.clear();
        } else {
            group += c;
        }
    }
    groups << group;

    NumberInText number;
    QString integerDigits, decimalDigits;
    const auto groupedInteger = [&](qsizetype count, QChar grouping) {
        // The groups after the first are of three digits, the first of one to three.
        if (groups[0].size() > 3)
            return false;
        for (qsizetype k = 1; k < count; ++k)
            if (groups[k].size() != 3 || separators[k - 1] != grouping)
                return false;
        integerDigits = groups.mid(0, count).join(QString());
        number.grouping = grouping;
        return true;
    };
    if (separators.isEmpty()) {
        integerDigits = token;
    } else if (separators.size() == 1) {
        const QChar mark = separators[0];
        const bool formsDecimalsSo = form && form->mark == mark;
        if (groups[1].size() == 3 && groups[0].size() <= 3 && !formsDecimalsSo) {
            groupedInteger(2, mark);
        } else {
            integerDigits = groups[0];
            decimalDigits = groups[1];
            number.mark = mark;
        }
    } else {
        const QChar last = separators.back();
        const bool oneKind = !separators.contains(last == u'.' ? u',' : u'.');
        if (oneKind) {
            if (!groupedInteger(groups.size(), last))
                return std::nullopt;
        } else {
            const QChar grouping = last == u'.' ? u',' : u'.';
            if (separators.count(last) != 1 || !groupedInteger(groups.size() - 1, grouping))
                return std::nullopt;
            decimalDigits = groups.back();
            number.mark = last;
        }
    }

    qsizetype before = start;
    bool negative = false;
    if (before > 0 && (text[before - 1] == u'-' || text[before - 1] == QChar(0x2212))) {
        negative = true;
        --before;
    }
    number.before = text.left(before);
    number.after = text.mid(end);
    number.decimals = int(decimalDigits.size());
    bool ok = false;
    number.value = (integerDigits + (decimalDigits.isEmpty() ? QString() : QLatin1Char('.') + decimalDigits)).toDouble(&ok);
    if (!ok || !std::isfinite(number.value))
        return std::nullopt;
    if (negative)
        number.value = -number.value;
    return number;
}

std::optional<NumberInText> CellNumber(const QString &cell, const NumberInText &form)
{
    std::optional<NumberInText> number = NumberOfText(cell, &form);
    if (!number)
        return std::nullopt;
    const auto decoration = [](const QString &own, const QString &entry) {
        return OnlyBlanksAndCurrency(own) || own.trimmed() == entry.trimmed();
    };
    if (!decoration(number->before, form.before) || !decoration(number->after, form.after))
        return std::nullopt;
    return number;
}

bool SameNumber(double a, double b)
{
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::max(std::abs(a), std::abs(b)));
}

QString WriteInForm(const NumberInText &cell, const NumberInText &form, QChar defaultMark)
{
    int decimals = form.decimals;
    const double scale = std::pow(10.0, decimals);
    if (!SameNumber(std::round(cell.value * scale) / scale, cell.value))
        decimals = std::max(decimals, cell.decimals);
    const QString digits = QString::number(std::abs(cell.value), 'f', decimals);
    const qsizetype point = digits.indexOf(u'.');
    QString number = Grouped(point < 0 ? digits : digits.left(point), form.grouping);
    if (point >= 0)
        number += (form.mark.isNull() ? defaultMark : form.mark) + digits.mid(point + 1);
    if (cell.value < 0 && !SameNumber(cell.value, 0.0))
        number.prepend(u'-');
    return form.before + number + form.after;
}

} // namespace tavrin
