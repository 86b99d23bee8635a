#include "app/StylePanel.h"

#include "editor/ColourPalette.h"
#include "editor/Editor.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tavrin {

namespace {

constexpr int kOtherColour = -2; // item data of "Other..."

QColor ToQColor(Colour colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

QIcon Swatch(Colour colour)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    if (IsClear(colour)) {
        painter.drawRect(0, 0, 13, 13);
        painter.drawLine(0, 13, 13, 0);
    } else {
        painter.setBrush(ToQColor(colour));
        painter.drawRect(0, 0, 13, 13);
    }
    return QIcon(pixmap);
}

// A small drawn sample of a picture border style, on a mid-grey ground so white shows.
QIcon BorderSample(int index)
{
    QPixmap pixmap(28, 16);
    pixmap.fill(QColor(170, 190, 210));
    if (index > 0) {
        static const QColor kColours[] = {Qt::black, Qt::white, QColor(128, 128, 128)};
        QPainter painter(&pixmap);
        const int width = 1 + (index - 1) % 3;
        painter.setPen(QPen(kColours[(index - 1) / 3], width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(QRectF(2 + width / 2.0, 2 + width / 2.0, 24 - width, 12 - width));
    }
    return QIcon(pixmap);
}

} // namespace

StylePanel::StylePanel(Editor &editor, QWidget *parent) : QGroupBox(parent), editor_(editor)
{
    setObjectName(QStringLiteral("stylePanel"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 4, 6, 4);
    auto part = [&](const QString &name) {
        auto *widget = new QWidget(this);
        widget->setObjectName(name);
        auto *form = new QFormLayout(widget);
        form->setContentsMargins(0, 0, 0, 0);
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        column->addWidget(widget);
        return std::pair{widget, form};
    };

    // The active text group.
    auto [groupPart, groupForm] = part(QStringLiteral("styleGroupPart"));
    groupPart_ = groupPart;
    font_ = new QFontComboBox(groupPart);
    font_->setObjectName(QStringLiteral("styleFont"));
    font_->setEditable(false);
    // Each family is listed in its own face; the box itself stays as narrow as the column.
    font_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    font_->setMinimumContentsLength(8);
    font_->setToolTip(QStringLiteral("The font of the selected text"));
    groupForm->addRow(QStringLiteral("Font"), font_);
    bold_ = new QCheckBox(QStringLiteral("Bold"), groupPart);
    italic_ = new QCheckBox(QStringLiteral("Italic"), groupPart);
    auto *emphasis = new QHBoxLayout;
    emphasis->addWidget(bold_);
    emphasis->addWidget(italic_);
    groupForm->addRow(emphasis);
    alignment_ = new QComboBox(groupPart);
    alignment_->setObjectName(QStringLiteral("styleAlignment"));
    alignment_->addItems({QStringLiteral("Left"), QStringLiteral("Centre"), QStringLiteral("Right")});
    groupForm->addRow(QStringLiteral("Align"), alignment_);
    centre_ = new QCheckBox(QStringLiteral("Centre in strip"), groupPart);
    groupForm->addRow(centre_);
    textColour_ = colourBox(QStringLiteral("styleTextColour"), false);
    groupForm->addRow(QStringLiteral("Colour"), textColour_);
    shadowColour_ = colourBox(QStringLiteral("styleShadowColour"), true);
    groupForm->addRow(QStringLiteral("Shadow"), shadowColour_);

    // The prices group: the calories' own colour and italics.
    auto [pricesPart, pricesForm] = part(QStringLiteral("stylePricesPart"));
    pricesPart_ = pricesPart;
    calorieColour_ = colourBox(QStringLiteral("styleCalorieColour"), false);
    pricesForm->addRow(QStringLiteral("Calories"), calorieColour_);
    calorieItalics_ = new QCheckBox(QStringLiteral("Calories in italics"), pricesPart);
    pricesForm->addRow(calorieItalics_);

    // The selected picture or background strip.
    auto [stripPart, stripForm] = part(QStringLiteral("styleStripPart"));
    stripPart_ = stripPart;
    stripColour_ = colourBox(QStringLiteral("styleStripColour"), true);
    stripForm->addRow(QStringLiteral("Strip"), stripColour_);
    border_ = new QComboBox(stripPart);
    border_->setObjectName(QStringLiteral("styleBorder"));
    for (int i = 0; i < kPictureFrameCount; ++i)
        border_->addItem(BorderSample(i), QString::fromLatin1(kPictureFrameNames[i]));
    border_->setIconSize(QSize(28, 16));
    stripForm->addRow(QStringLiteral("Border"), border_);
    hiddenOnWhite_ = new QCheckBox(QStringLiteral("Hidden on white print"), stripPart);
    stripForm->addRow(hiddenOnWhite_);

    bold_->setToolTip(QStringLiteral("Bold text"));
    italic_->setToolTip(QStringLiteral("Italic text"));
    centre_->setToolTip(QStringLiteral("Centre the text across the strip"));
    textColour_->setToolTip(QStringLiteral("The colour of the selected text"));
    shadowColour_->setToolTip(QStringLiteral("The colour of the selected text's drop shadow; Clear for none"));
    calorieColour_->setToolTip(QStringLiteral("The colour of the calorie counts"));
    stripColour_->setToolTip(QStringLiteral("The colour behind the strip; Clear for none"));
    border_->setToolTip(QStringLiteral("The border drawn around the strip's picture"));
    hiddenOnWhite_->setToolTip(QStringLiteral("Leave the picture out of the white-print format"));

    connect(font_, &QComboBox::activated, this, [this] { editor_.SetGroupFont(font_->currentFont().family()); });
    connect(bold_, &QCheckBox::clicked, this, [this](bool on) { editor_.SetGroupBold(on); });
    connect(italic_, &QCheckBox::clicked, this, [this](bool on) { editor_.SetGroupItalic(on); });
    connect(centre_, &QCheckBox::clicked, this, [this](bool on) { editor_.SetGroupCentreInStrip(on); });
    connect(alignment_, &QComboBox::activated, this,
            [this](int index) { editor_.SetGroupAlignment(GroupAlignment(index)); });
    connect(calorieItalics_, &QCheckBox::clicked, this, [this](bool on) { editor_.SetCalorieItalics(on); });
    connect(hiddenOnWhite_, &QCheckBox::clicked, this, [this](bool on) { editor_.SetHiddenOnWhite(on); });
    connect(border_, &QComboBox::activated, this, [this](int index) { editor_.SetPictureBorder(index); });
    const std::pair<QComboBox *, bool (Editor::*)(Colour)> colourSetters[] = {
        {textColour_, &Editor::SetGroupColour},
        {shadowColour_, &Editor::SetGroupDropShadow},
        {calorieColour_, &Editor::SetCalorieColour},
        {stripColour_, &Editor::SetStripBackground},
    };
    for (const auto &[box, setter] : colourSetters) {
        connect(box, &QComboBox::activated, this, [this, box = box, setter = setter](int index) {
            Colour colour = 0;
            if (pickedColour(box, index, colour))
                (editor_.*setter)(colour);
            sync(); // a cancelled dialog shows the current colour again
        });
    }
    sync();
}

QComboBox *StylePanel::colourBox(const QString &name, bool withClear)
{
    auto *box = new QComboBox(this);
    box->setObjectName(name);
    for (int i = withClear ? 0 : 1; i < kPaletteSize; ++i) {
        const PaletteEntry &entry = ColourPalette()[i];
        box->addItem(Swatch(entry.value), QString::fromLatin1(entry.name), i);
    }
    box->addItem(QStringLiteral("Other..."), kOtherColour);
    box->setMaxVisibleItems(16);
    return box;
}

void StylePanel::showColour(QComboBox *box, Colour colour)
{
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(box->findData(LookUpPaletteEntry(colour)));
}

bool StylePanel::pickedColour(QComboBox *box, int index, Colour &colour)
{
    const int entry = box->itemData(index).toInt();
    if (entry >= 0 && entry < kPaletteSize) {
        editor_.setPaletteEntry(entry);
        colour = ColourPalette()[entry].value;
        return true;
    }
    const QColor chosen = QColorDialog::getColor(Qt::white, window(), QStringLiteral("Other Colour"));
    if (!chosen.isValid())
        return false;
    colour = MakeColour(chosen.red(), chosen.green(), chosen.blue());
    // That one value stands for "no colour"; the nearest real colour is used instead.
    if (IsClear(colour))
        colour = kBlack;
    return true;
}

void StylePanel::sync()
{
    const StyleSelection selection = editor_.CurrentStyleSelection();
    const bool group = selection.group >= 0;
    groupPart_->setEnabled(group);
    pricesPart_->setEnabled(group && selection.group == PricesGroup);
    stripPart_->setEnabled(selection.stripSelected);
    if (group) {
        const TextGroup &g = selection.strip.Groups[selection.group];
        {
            const QSignalBlocker blocker(font_);
            if (font_->currentFont().family() != g.Font)
                font_->setCurrentFont(QFont(g.Font));
        }
        for (auto [box, on] : {std::pair{bold_, g.Bold != 0}, std::pair{italic_, g.Italics != 0},
                                std::pair{centre_, g.CenterInStrip != 0},
                                std::pair{calorieItalics_, selection.strip.CaloriesItalics != 0}})
            box->setChecked(on);
        {
            const QSignalBlocker blocker(alignment_);
            alignment_->setCurrentIndex(g.GroupAlignment >= 0 && g.GroupAlignment <= 2 ? g.GroupAlignment : -1);
        }
        showColour(textColour_, g.TextColor);
        showColour(shadowColour_, g.DropShadowColor);
        showColour(calorieColour_, selection.strip.CaloriesTextColor);
    }
    if (selection.stripSelected) {
        showColour(stripColour_, selection.strip.BackGroundColor);
        const QSignalBlocker blocker(border_);
        const int border = selection.strip.Picture.SubImageFrameIndex;
        border_->setCurrentIndex(border >= 0 && border < kPictureFrameCount ? border : -1);
        hiddenOnWhite_->setChecked(selection.strip.Picture.ImageHiddenOnWhite != 0);
    }
}

} // namespace tavrin
