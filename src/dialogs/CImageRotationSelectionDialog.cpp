#include "dialogs/CImageRotationSelectionDialog.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {

QRadioButton *ChoiceButton(const QString &caption, int id, QWidget *parent)
{
    auto *button = new QRadioButton(caption, parent);
    button->setObjectName(QStringLiteral("control%1").arg(id));
    // The dialog keeps the three buttons in line with the rotation itself, so that it can also
    // show none of them checked and a click on the checked button leaves it checked.
    button->setAutoExclusive(false);
    return button;
}

} // namespace

CImageRotationSelectionDialog::CImageRotationSelectionDialog(int rotation, QWidget *parent)
    : QDialog(parent), rotation_(rotation)
{
    setWindowTitle(QStringLiteral("TV Image Rotation"));
    QFont dialogFont = font();
    dialogFont.setPointSize(10);
    setFont(dialogFont);

    explanation_ = new QLabel(QStringLiteral("The TV Image File Rotation can be set to NONE,\n Clockwise (CW), or "
                                             "Counterclockwise (CCW)\n to accomodate portrait style menu boards."),
                              this);
    explanation_->setTextFormat(Qt::PlainText);
    explanation_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto *group = new QGroupBox(QStringLiteral("TV Image File Rotation"), this);
    none_ = ChoiceButton(QStringLiteral("NONE"), 1121, group);
    clockwise_ = ChoiceButton(QStringLiteral("CW"), 1122, group);
    counterClockwise_ = ChoiceButton(QStringLiteral("CCW"), 1123, group);
    auto *choices = new QHBoxLayout(group);
    choices->addStretch();
    for (QRadioButton *button : {none_, clockwise_, counterClockwise_}) {
        choices->addWidget(button);
        choices->addStretch();
    }

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("control1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("control2"));
    cancel_->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(explanation_);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(none_, &QRadioButton::clicked, this, [this] { choose(NoRotation); });
    connect(clockwise_, &QRadioButton::clicked, this, [this] { choose(Clockwise); });
    connect(counterClockwise_, &QRadioButton::clicked, this, [this] { choose(CounterClockwise); });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    showRotation();
}

int CImageRotationSelectionDialog::Ask(int preselected, QWidget *parent)
{
    CImageRotationSelectionDialog dialog(preselected, parent);
    dialog.exec();
    return dialog.rotation();
}

void CImageRotationSelectionDialog::setRotation(int rotation)
{
    rotation_ = rotation;
    showRotation();
}

bool CImageRotationSelectionDialog::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        showRotation();
    return handled;
}

void CImageRotationSelectionDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    showRotation();
}

void CImageRotationSelectionDialog::showRotation()
{
    none_->setChecked(rotation_ == NoRotation);
    clockwise_->setChecked(rotation_ == Clockwise);
    counterClockwise_->setChecked(rotation_ == CounterClockwise);
}

void CImageRotationSelectionDialog::choose(int rotation)
{
    rotation_ = rotation;
    showRotation();
}

} // namespace tavrin
