#include "app/TextBoxWiring.h"

#include "app/WidgetControls.h"
#include "editor/Editor.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace tavrin {

namespace {

// Held keys repeat at about two and a half presses a second inside a box.
constexpr qint64 kRepeatIntervalMs = 400;

class TextBoxFilter : public QObject {
public:
    TextBoxFilter(Editor &editor, int group, QObject *parent) : QObject(parent), editor_(editor), group_(group) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
            editor_.TextBoxFocused(group_);
            break;
        case QEvent::FocusOut:
            editor_.TextBoxLostFocus(group_);
            break;
        case QEvent::KeyPress: {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->isAutoRepeat()) {
                if (repeat_.isValid() && repeat_.elapsed() < kRepeatIntervalMs)
                    return true;
                repeat_.restart();
            } else {
                repeat_.invalidate();
            }
            break;
        }
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Editor &editor_;
    const int group_;
    QElapsedTimer repeat_;
};

// The caret with CR LF line breaks counted as two characters, as the editing logic counts.
int CaretWithCrLf(const QPlainTextEdit *edit)
{
    const QTextCursor cursor = edit->textCursor();
    return cursor.position() + cursor.blockNumber();
}

} // namespace

void ConnectTextBoxes(WidgetControls &controls, Editor &editor)
{
    const ControlId boxes[] = {ControlId::MainItemBox, ControlId::SubItemsBox, ControlId::PricesBox};
    for (int group = 0; group < 3; ++group) {
        auto *edit = qobject_cast<QPlainTextEdit *>(controls.widget(boxes[group]));
        if (!edit)
            continue;
        edit->installEventFilter(new TextBoxFilter(editor, group, edit));
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                         [&editor, edit, group] { editor.TextChanged(group, CaretWithCrLf(edit)); });
    }
}

} // namespace tavrin
