#include "dialogs/CSavingLayoutAndImageFilesDialog.h"

#include "dialogs/DialogUnits.h"

#include <QCursor>
#include <QLabel>
#include <QPaintEvent>
#include <QPushButton>
#include <QScreen>

namespace tavrin {

namespace {

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

    // Fixed places, no layout: a long text wraps inside its area and the window does not grow.
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

void CSavingLayoutAndImageFilesDialog::setText(const QString &text) { text_->setText(DisplayText(text)); }

QString CSavingLayoutAndImageFilesDialog::text() const { return text_->text(); }

void CSavingLayoutAndImageFilesDialog::showCentred()
{
    centreOnScreen();
    show();
}

QPoint CSavingLayoutAndImageFilesDialog::okButtonCentre() const
{
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
    QCursor::setPos(screen(), okButtonCentre());
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
