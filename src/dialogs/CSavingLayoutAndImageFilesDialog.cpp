#include "dialogs/CSavingLayoutAndImageFilesDialog.h"

#include "dialogs/DialogUnits.h"

#include <QCursor>
#include <QLabel>
#include <QPaintEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>

#include <algorithm>

namespace tavrin {

namespace {

constexpr int kFrameAllowance = 16;

QString DisplayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

} // namespace

CSavingLayoutAndImageFilesDialog::CSavingLayoutAndImageFilesDialog(QWidget *parent)
    // A frame for resizing but no title bar: the window shows only its text and OK.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint)
{
    QFont windowFont = font();
    windowFont.setPointSize(16);
    setFont(windowFont);
    setSizeGripEnabled(true);

    // The template's places; a text too long for its area makes the window grow (fitToText).
    const DialogUnits units(windowFont);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("control1120"));
    text_->setTextFormat(Qt::PlainText);
    text_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text_->setWordWrap(true);
    text_->setGeometry(units.rect(14, 3, 209, 106));

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("control1"));
    ok_->setDefault(true);
    ok_->setGeometry(units.rect(90, 113, 65, 14));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("control2"));
    cancel_->hide();

    resize(units.x(235), units.y(132));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void CSavingLayoutAndImageFilesDialog::ShowResult(const QString &message, QWidget *parent)
{
    CSavingLayoutAndImageFilesDialog dialog(parent);
    dialog.setMessage(message);
    dialog.exec();
}

void CSavingLayoutAndImageFilesDialog::setMessage(const QString &message)
{
    message_ = message;
    setText(message);
}

void CSavingLayoutAndImageFilesDialog::setText(const QString &text)
{
    text_->setText(DisplayText(text));
    fitToText();
}

void CSavingLayoutAndImageFilesDialog::fitToText()
{
    const DialogUnits units(font());
    const QRect baseText = units.rect(14, 3, 209, 106);
    const QRect baseOk = units.rect(90, 113, 65, 14);
    const QSize baseWindow(units.x(235), units.y(132));
    const QScreen *target = screen();
    // The window manager's frame is not known before the window is shown: room is left for one.
    const int frame = 2 * kFrameAllowance;
    const QRect available = (target ? target->availableGeometry() : QRect(0, 0, 1024, 768)).adjusted(0, 0, -frame, -frame);
    const int spareWidth = baseWindow.width() - baseText.width();
    const int spareHeight = baseWindow.height() - baseText.height();

    // Text wraps at blanks: the text area is at least as wide as the longest run without one (a
    // layout's name, a folder), up to what the screen holds.
    const QFontMetrics metrics(text_->font());
    int longestWord = 0;
    for (const QString &word : text_->text().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        longestWord = std::max(longestWord, metrics.horizontalAdvance(word) + metrics.averageCharWidth());
    const int textWidth = std::clamp(longestWord, baseText.width(), std::max(baseText.width(), available.width() - spareWidth));
    const int textHeight = std::clamp(text_->heightForWidth(textWidth), baseText.height(),
                                      std::max(baseText.height(), available.height() - spareHeight));

    const QSize windowSize(textWidth + spareWidth, textHeight + spareHeight);
    text_->setGeometry(baseText.left(), baseText.top(), textWidth, textHeight);
    ok_->setGeometry((windowSize.width() - baseOk.width()) / 2, baseOk.top() + textHeight - baseText.height(),
                     baseOk.width(), baseOk.height());
    if (size() == windowSize)
        return;
    resize(windowSize);
    if (isVisible()) {
        centreOnScreen();
        movePointerToOk();
    }
}

void CSavingLayoutAndImageFilesDialog::movePointerToOk()
{
    QCursor::setPos(screen(), okButtonCentre());
}

QString CSavingLayoutAndImageFilesDialog::text() const { return text_->text(); }

void CSavingLayoutAndImageFilesDialog::showCentred()
{
    centreOnScreen();
    show();
}

QPoint CSavingLayoutAndImageFilesDialog::okButtonCentre() const
{
    // Where the window really is: a window manager may have placed it elsewhere than asked.
    const QPoint topLeft = ok_->mapToGlobal(QPoint(0, 0));
    return topLeft + QPoint(ok_->width() / 2, ok_->height() / 2);
}

void CSavingLayoutAndImageFilesDialog::showEvent(QShowEvent *event)
{
    if (!placed_)
        centreOnScreen();
    QDialog::showEvent(event);
}

void CSavingLayoutAndImageFilesDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // A child repainting itself (the button's hover look, a new text) paints only its own area of
    // the window; that is not a paint of the window, and pulling the pointer back then would trap
    // it on OK.
    const QRect painted = event->region().boundingRect();
    for (const QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible() && child->geometry().contains(painted))
            return;
    }
    movePointerToOk();
}

void CSavingLayoutAndImageFilesDialog::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    // The window manager puts a new window where it likes, possibly after it was first painted:
    // the pointer follows OK to where it is now.
    if (isVisible())
        movePointerToOk();
}

void CSavingLayoutAndImageFilesDialog::centreOnScreen()
{
    placed_ = true;
    const QScreen *target = screen();
    if (!target)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(target->availableGeometry().center());
    move(frame.topLeft());
}

} // namespace tavrin
