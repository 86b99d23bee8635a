#include "app/WidgetControls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>

namespace tavrin {

QWidget *WidgetControls::widget(ControlId id) const
{
    auto it = widgets_.find(id);
    return it == widgets_.end() ? nullptr : it->second;
}

void WidgetControls::setEnabled(ControlId id, bool enabled)
{
    if (QWidget *w = widget(id))
        w->setEnabled(enabled);
}

bool WidgetControls::isEnabled(ControlId id) const
{
    QWidget *w = widget(id);
    return w && w->isEnabled();
}

void WidgetControls::setVisible(ControlId id, bool visible)
{
    if (QWidget *w = widget(id))
        w->setVisible(visible);
}

bool WidgetControls::isVisible(ControlId id) const
{
    QWidget *w = widget(id);
    return w && !w->isHidden();
}

void WidgetControls::setChecked(ControlId id, bool checked)
{
    if (auto *button = qobject_cast<QAbstractButton *>(widget(id)))
        button->setChecked(checked);
}

bool WidgetControls::isChecked(ControlId id) const
{
    auto *button = qobject_cast<QAbstractButton *>(widget(id));
    return button && button->isChecked();
}

void WidgetControls::setText(ControlId id, const QString &text)
{
    QWidget *w = widget(id);
    if (auto *edit = qobject_cast<QPlainTextEdit *>(w)) {
        QString plain = text;
        plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        // The program's own changes are not the user's typing: no change is reported for them.
        if (edit->toPlainText() != plain) {
            const QSignalBlocker quiet(edit);
            edit->setPlainText(plain);
        }
    } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        button->setText(text);
    } else if (auto *label = qobject_cast<QLabel *>(w)) {
        label->setText(text);
    } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
        group->setTitle(text);
    } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        combo->setEditText(text);
    }
}

QString WidgetControls::text(ControlId id) const
{
    QWidget *w = widget(id);
    if (auto *edit = qobject_cast<QPlainTextEdit *>(w)) {
        QString text = edit->toPlainText();
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        return text;
    }
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return button->text();
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->text();
    if (auto *group = qobject_cast<QGroupBox *>(w))
        return group->title();
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentText();
    return {};
}

void WidgetControls::setFocus(ControlId id)
{
    if (QWidget *w = widget(id))
        w->setFocus();
}

void WidgetControls::setSelection(ControlId id, int start, int end)
{
    auto *edit = qobject_cast<QPlainTextEdit *>(widget(id));
    if (!edit)
        return;
    // Positions count CR LF as two code units; the box holds a single line feed.
    const QString withCrLf = text(id);
    auto toBoxPosition = [&](int position) {
        position = std::clamp(position, 0, int(withCrLf.size()));
        return position - int(withCrLf.left(position).count(QLatin1Char('\r')));
    };
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(toBoxPosition(start));
    cursor.setPosition(toBoxPosition(end), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

void WidgetControls::setWindowTitle(const QString &title) { window_->setWindowTitle(title); }

} // namespace tavrin

namespace tavrin {

QRect WidgetControls::controlRect(ControlId id) const
{
    QWidget *w = widget(id);
    return w ? w->geometry() : QRect();
}

QSize WidgetControls::clientSize() const { return client_ ? client_->size() : window_->size(); }

} // namespace tavrin
