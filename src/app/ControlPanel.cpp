#include "app/ControlPanel.h"

#include "app/WidgetControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>

namespace tavrin {

QPoint DialogUnitsToPixels(int x, int y) { return QPoint(x * 7 / 4, y * 2); }

namespace {

QRect DialogRect(int x, int y, int width, int height)
{
    const QPoint topLeft = DialogUnitsToPixels(x, y);
    const QPoint size = DialogUnitsToPixels(width, height);
    return QRect(topLeft, QSize(size.x(), size.y()));
}

template <typename W> W *Place(QWidget *window, WidgetControls &controls, ControlId id, const QRect &rect)
{
    auto *widget = new W(window);
    widget->setObjectName(QStringLiteral("control%1").arg(int(id)));
    widget->setGeometry(rect);
    controls.add(id, widget);
    return widget;
}

void Button(QWidget *window, WidgetControls &controls, ControlId id, const QString &caption, const QRect &rect)
{
    auto *button = Place<QPushButton>(window, controls, id, rect);
    button->setText(caption);
    button->setAutoDefault(false);
}

void CheckBox(QWidget *window, WidgetControls &controls, ControlId id, const QString &caption, const QRect &rect)
{
    Place<QCheckBox>(window, controls, id, rect)->setText(caption);
}

void Label(QWidget *window, WidgetControls &controls, ControlId id, const QString &caption, const QRect &rect)
{
    Place<QLabel>(window, controls, id, rect)->setText(caption);
}

void Group(QWidget *window, WidgetControls &controls, ControlId id, const QString &caption, const QRect &rect)
{
    auto *group = Place<QGroupBox>(window, controls, id, rect);
    group->setTitle(caption);
    group->lower(); // behind the controls drawn over it
}

void Arrow(QWidget *window, WidgetControls &controls, ControlId id, QStyle::StandardPixmap icon, const QRect &rect)
{
    auto *button = Place<QToolButton>(window, controls, id, rect);
    button->setIcon(window->style()->standardIcon(icon));
    button->setAutoRepeat(false);
}

void TextBox(QWidget *window, WidgetControls &controls, ControlId id, const QRect &rect, bool scrollBar)
{
    auto *box = Place<QPlainTextEdit>(window, controls, id, rect);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setTabChangesFocus(true);
    box->setVerticalScrollBarPolicy(scrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

} // namespace

void ControlPanel::Build(QWidget *window, WidgetControls &controls)
{
    // The three text boxes across the top, each with its caption and its hidden "ACTIVE" mark.
    TextBox(window, controls, ControlId::MainItemBox, DialogRect(119, 13, 166, 42), true);
    TextBox(window, controls, ControlId::SubItemsBox, DialogRect(287, 14, 166, 42), true);
    TextBox(window, controls, ControlId::PricesBox, DialogRect(458, 14, 166, 22), false);
    Label(window, controls, ControlId::MainItemLabel, QStringLiteral("Main Item"), DialogRect(119, 3, 60, 9));
    Label(window, controls, ControlId::SubItemsLabel, QStringLiteral("SubItem"), DialogRect(287, 4, 60, 9));
    Label(window, controls, ControlId::PricesLabel, QStringLiteral("Prices/Cals"), DialogRect(458, 4, 60, 9));
    Label(window, controls, ControlId::MainItemActive, QStringLiteral("ACTIVE"), DialogRect(200, 3, 40, 9));
    Label(window, controls, ControlId::SubItemsActive, QStringLiteral("ACTIVE"), DialogRect(368, 4, 40, 9));
    Label(window, controls, ControlId::PricesActive, QStringLiteral("ACTIVE"), DialogRect(510, 4, 40, 9));
    for (ControlId id : {ControlId::MainItemActive, ControlId::SubItemsActive, ControlId::PricesActive})
        controls.setVisible(id, false);
    Button(window, controls, ControlId::TabInstructions, QStringLiteral("Tab Instructions"),
           DialogRect(554, 2, 70, 11));

    // The command column on the left. It scrolls when the window is too low to show all of it
    // (the client arrangement sizes it); the text boxes stay on the client, whose coordinates
    // are the board's.
    auto *columnArea = new QScrollArea(window);
    columnArea->setObjectName(QStringLiteral("controlColumn"));
    columnArea->setFrameShape(QFrame::NoFrame);
    columnArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    columnArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    columnArea->viewport()->setAutoFillBackground(false);
    auto *column = new QWidget;
    column->setObjectName(QStringLiteral("controlColumnContent"));
    int y = 4;
    auto nextRow = [&](int height) {
        const int top = y;
        y += height + 2;
        return top;
    };
    const int left = 4, width = 196, half = 97;
    auto fullRow = [&](ControlId id, const QString &caption) {
        Button(column, controls, id, caption, QRect(left, nextRow(24), width, 24));
    };
    auto halfRow = [&](ControlId first, const QString &firstCaption, ControlId second, const QString &secondCaption) {
        Button(column, controls, first, firstCaption, QRect(left, y, half, 24));
        Button(column, controls, second, secondCaption, QRect(left + width - half, nextRow(24), half, 24));
    };
    fullRow(ControlId::OpenLayout, QStringLiteral("Open Marbix Layout File"));
    fullRow(ControlId::SaveLayoutAndTvImage, QStringLiteral("Save Layout && TV Image Files"));
    halfRow(ControlId::Print, QStringLiteral("Print"), ControlId::Exit, QStringLiteral("Exit"));
    fullRow(ControlId::LoadNewPicture, QStringLiteral("Load New Picture"));
    fullRow(ControlId::DeleteMenuItem, QStringLiteral("Delete Menu Item"));
    fullRow(ControlId::DeletePicture, QStringLiteral("Delete Picture"));
    halfRow(ControlId::Undo, QStringLiteral("Undo"), ControlId::HelpVideos, QStringLiteral("Help Videos"));
    CheckBox(column, controls, ControlId::WhitePrintFormat, QStringLiteral("White Bgnd Print Menu Format"),
             QRect(left, nextRow(20), width, 20));
    CheckBox(column, controls, ControlId::DisplayVerticalGrid, QStringLiteral("Display Vertical Grid"),
             QRect(left, nextRow(20), width, 20));
    Label(column, controls, ControlId::ModeLabel, QStringLiteral("EDIT MODE:  IDLE"), QRect(left, nextRow(22), width, 22));

    // Which text the arrows move, and by how much.
    const int movedTop = nextRow(46);
    Group(column, controls, ControlId::MenuItemTextToBeMovedGroup, QStringLiteral("Menu Item Text to be Moved"),
          QRect(left, movedTop, width, 46));
    CheckBox(column, controls, ControlId::SelectedText, QStringLiteral("Selected Text"),
             QRect(left + 8, movedTop + 20, 104, 22));
    CheckBox(column, controls, ControlId::AllText, QStringLiteral("All Text"), QRect(left + 116, movedTop + 20, 76, 22));
    const int incrementTop = nextRow(46);
    Group(column, controls, ControlId::SizeAndMoveIncrementGroup, QStringLiteral("Size and Move Increment"),
          QRect(left, incrementTop, width, 46));
    CheckBox(column, controls, ControlId::Micro, QStringLiteral("Micro"), QRect(left + 8, incrementTop + 20, 90, 22));
    CheckBox(column, controls, ControlId::Macro, QStringLiteral("Macro"), QRect(left + 116, incrementTop + 20, 76, 22));

    // Move and size arrows, each group a cross of four.
    auto arrowCross = [&](ControlId group, const QString &caption, ControlId up, ControlId leftId, ControlId rightId,
                          ControlId down, QStyle::StandardPixmap leftIcon, QStyle::StandardPixmap rightIcon) {
        const int top = nextRow(96);
        Group(column, controls, group, caption, QRect(left, top, 120, 96));
        const int cx = left + 46;
        Arrow(column, controls, up, QStyle::SP_ArrowUp, QRect(cx, top + 18, 28, 24));
        Arrow(column, controls, leftId, leftIcon, QRect(cx - 32, top + 42, 28, 24));
        Arrow(column, controls, rightId, rightIcon, QRect(cx + 32, top + 42, 28, 24));
        Arrow(column, controls, down, QStyle::SP_ArrowDown, QRect(cx, top + 66, 28, 24));
        return top;
    };
    arrowCross(ControlId::MoveTextGroup, QStringLiteral("Move Text"), ControlId::MoveUp, ControlId::MoveLeft,
               ControlId::MoveRight, ControlId::MoveDown, QStyle::SP_ArrowLeft, QStyle::SP_ArrowRight);
    const int sizeTop = arrowCross(ControlId::SizeTextGroup, QStringLiteral("Size Text"), ControlId::SizeLarger,
                                   ControlId::SizeNarrower, ControlId::SizeWider, ControlId::SizeSmaller,
                                   QStyle::SP_ArrowLeft, QStyle::SP_ArrowRight);
    Label(column, controls, ControlId::SizeReadout, QString(), QRect(left + 128, sizeTop + 42, 64, 24));

    // Spacing arrows: up and down with a label and, for tabs and calories, a read-out.
    auto spacingRow = [&](ControlId label, const QString &caption, ControlId up, ControlId down, ControlId readout) {
        const int top = nextRow(26);
        Label(column, controls, label, caption, QRect(left, top, 90, 26));
        Arrow(column, controls, up, QStyle::SP_ArrowUp, QRect(left + 92, top, 28, 26));
        Arrow(column, controls, down, QStyle::SP_ArrowDown, QRect(left + 122, top, 28, 26));
        if (readout != ControlId::Ok)
            Label(column, controls, readout, QString(), QRect(left + 154, top, 42, 26));
    };
    spacingRow(ControlId::LineSpacingLabel, QStringLiteral("Line Spacing"), ControlId::LineSpacingUp,
               ControlId::LineSpacingDown, ControlId::Ok);
    spacingRow(ControlId::TabSpacingLabel, QStringLiteral("Tab Spacing"), ControlId::TabSpacingUp,
               ControlId::TabSpacingDown, ControlId::TabSpacingReadout);
    spacingRow(ControlId::CalSpacingLabel, QStringLiteral("Cal Spacing"), ControlId::CalSpacingUp,
               ControlId::CalSpacingDown, ControlId::CalSpacingReadout);
    column->resize(kColumnWidth, y + 2);
    columnArea->setWidget(column);
    columnArea->setGeometry(0, 0, kColumnWidth, window->height());

    // The current font name lives in a box that is never shown.
    auto *fontBox = Place<QComboBox>(window, controls, ControlId::FontBox, QRect(0, 0, 10, 10));
    fontBox->setEditable(true);
    fontBox->hide();
    // The dialog's OK and Cancel buttons exist but are never shown.
    for (ControlId id : {ControlId::Ok, ControlId::Cancel}) {
        Button(window, controls, id, id == ControlId::Ok ? QStringLiteral("OK") : QStringLiteral("Cancel"),
               QRect(0, 0, 10, 10));
        controls.setVisible(id, false);
    }
}

} // namespace tavrin
