#pragma once

#include <QChar>
#include <QString>

#include <optional>

namespace tavrin {

// The one number in a price or calorie text, with the text around it: "$5.99" is "$", 5.99 with
// two decimals after a point, and ""; "1,50 €" is 1.5 with two decimals after a comma and " €".
// Spreadsheets give such values back in forms of their own ("3" for "3.00", "6,5" in a list
// with decimal commas), so list cells are compared with the board by value and written back in
// the board's form.
struct NumberInText {
    QString before, after; // the text around the digits, blanks included
    double value = 0.0;
    int decimals = 0;   // digits after the decimal mark as written
    QChar mark;         // the decimal mark, null without decimals
    QChar grouping;     // the thousands separator, null without one
};

// The number of text when it holds exactly one (digits with at most one decimal mark, thousands
// separators where both marks are used or a single mark is followed by three digits, a minus
// sign right before them), and nothing when it holds none or more than one. A single "." or ","
// followed by exactly three digits ("1,050") is a thousands separator, unless form (the board's
// entry the text is compared with) uses that same mark for its decimals ("6.499" for "5.99").
std::optional<NumberInText> NumberOfText(const QString &text, const NumberInText *form = nullptr);

// The number a list cell gives for an entry whose text has the number form: the cell must hold
// one number and nothing around it but blanks, currency signs or the entry's own text around
// its number. Nothing otherwise ("six", "=2.49+0.30", "5.99 each", an empty cell).
std::optional<NumberInText> CellNumber(const QString &cell, const NumberInText &form);

bool SameNumber(double a, double b);

// value written in the entry's form: its text around the digits, its thousands separator, its
// number of decimals (more when the value needs them: then as many as the cell had), and its
// decimal mark (defaultMark when the entry had no decimals).
QString WriteInForm(const NumberInText &cell, const NumberInText &form, QChar defaultMark);

} // namespace tavrin
