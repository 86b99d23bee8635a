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
// X delivers a held key as release/press pairs with one time stamp, often without the repeat
// flag; a person cannot release and press a key again this quickly.
constexpr qint64 kSameMomentMs = 2;

class TextBoxFilter : public QObject {
public:
    TextBoxFilter(Editor &editor, int group, QObject *parent) : QObject(parent), editor_(editor), group_(group)
    {
        clock_.start();
    }

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
        case QEvent::KeyRelease: {
            auto *key = static_cast<QKeyEvent *>(event);
            releasedKey_ = key->key();
            releasedAt_ = timeOf(key);
            break;
        }
        case QEvent::KeyPress: {
            auto *key = static_cast<QKeyEvent *>(event);
            const qint64 now = timeOf(key);
            const bool held = key->isAutoRepeat()
                || (key->timestamp() != 0 && key->key() == releasedKey_ && now - releasedAt_ <= kSameMomentMs);
            // The pace is kept between the presses that went through, for the key held down.
            if (held && key->key() == pacedKey_ && now - lastPressAt_ < kRepeatIntervalMs)
                return true;
            pacedKey_ = key->key();
            lastPressAt_ = now;
            break;
        }
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // The window system's time stamp; events made up without one are timed on arrival.
    qint64 timeOf(const QKeyEvent *key) const
    {
        return key->timestamp() != 0 ? qint64(key->timestamp()) : clock_.elapsed();
    }

    Editor &editor_;
    const int group_;
    QElapsedTimer clock_;
    int releasedKey_ = 0;
    qint64 releasedAt_ = 0;
    int pacedKey_ = 0;
    qint64 lastPressAt_ = 0;
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
