#pragma once

#include "layout/Colour.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QFontComboBox;

namespace tavrin {

class Editor;

// The look of the selection, in the control column: font, emphasis, alignment and colours of
// the active text group in Text mode; the strip's colour, picture border and white-print hiding
// in Picture and Background mode. Every change goes to the editor as one undo step.
class StylePanel : public QGroupBox {
    Q_OBJECT
public:
    StylePanel(Editor &editor, QWidget *parent);

    // Shows the selection's current values and switches the controls for the mode.
    void sync();

private:
    QComboBox *colourBox(const QString &name, bool withClear);
    // Sets the colour box to colour's palette entry; none shown when it is not in the palette.
    void showColour(QComboBox *box, Colour colour);
    // The colour of the chosen entry; "Other..." asks the colour dialog. False when cancelled.
    bool pickedColour(QComboBox *box, int index, Colour &colour);

    Editor &editor_;
    QFontComboBox *font_;
    QCheckBox *bold_, *italic_, *centre_, *calorieItalics_, *hiddenOnWhite_;
    QComboBox *alignment_, *textColour_, *shadowColour_, *calorieColour_, *stripColour_, *border_;
    QWidget *groupPart_, *pricesPart_, *stripPart_;
};

} // namespace tavrin
