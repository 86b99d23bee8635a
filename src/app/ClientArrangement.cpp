#include "app/ClientArrangement.h"

#include "app/ControlPanel.h"
#include "app/WidgetControls.h"

#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <array>
#include <map>

namespace tavrin {

namespace {

// The text boxes across the top and what sits over each of them.
struct TextBoxRow {
    ControlId box;
    ControlId label;
    ControlId active;
    int minimumWidth; // the caption, the "ACTIVE" mark (and for prices "Tab Instructions") fit
};
constexpr std::array<TextBoxRow, 3> kRow = {{
    {ControlId::MainItemBox, ControlId::MainItemLabel, ControlId::MainItemActive, 160},
    {ControlId::SubItemsBox, ControlId::SubItemsLabel, ControlId::SubItemsActive, 160},
    {ControlId::PricesBox, ControlId::PricesLabel, ControlId::PricesActive, 280},
}};
constexpr int kRightMargin = 4;
constexpr int kMinimumClientHeight = 360;

QScrollArea *ColumnOf(const QWidget *client)
{
    return client->findChild<QScrollArea *>(QStringLiteral("controlColumn"), Qt::FindDirectChildrenOnly);
}

int ScrollBarExtent(const QWidget *client) { return client->style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

class Arrangement : public QObject {
public:
    Arrangement(QWidget *client, WidgetControls &controls) : QObject(client), client_(client), controls_(controls)
    {
        // The places the controls were given are their places at full size.
        for (const TextBoxRow &row : kRow)
            for (ControlId id : {row.box, row.label, row.active})
                natural_[id] = controls.controlRect(id);
        natural_[ControlId::TabInstructions] = controls.controlRect(ControlId::TabInstructions);
        client->installEventFilter(this);
        arrange();
    }

    // The smallest client area at which every control can be reached: the column scrolling, the
    // boxes at their narrowest.
    QSize minimumSize() const
    {
        const QRect first = natural_.at(kRow[0].box);
        int width = first.left() + ScrollBarExtent(client_) + kRightMargin;
        for (size_t i = 0; i < kRow.size(); ++i) {
            width += kRow[i].minimumWidth;
            if (i > 0)
                width += natural_.at(kRow[i].box).left() - (natural_.at(kRow[i - 1].box).right() + 1);
        }
        return QSize(width, kMinimumClientHeight);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == client_ && event->type() == QEvent::Resize)
            arrange();
        return QObject::eventFilter(watched, event);
    }

private:
    void arrange()
    {
        QScrollArea *column = ColumnOf(client_);
        int scrollBar = 0;
        if (column && column->widget()) {
            if (column->widget()->height() > client_->height())
                scrollBar = ScrollBarExtent(client_);
            column->setGeometry(0, 0, kColumnWidth + scrollBar, client_->height());
        }
        // The text boxes move aside for the column's scroll bar.
        arrangeTextBoxes(natural_[kRow[0].box].left() + scrollBar);
    }

    void arrangeTextBoxes(int left)
    {
        const QRect first = natural_[kRow[0].box];
        const QRect last = natural_[kRow[2].box];
        const int naturalSpan = last.right() + 1 - first.left();
        const int available = client_->width() - kRightMargin - left;
        // The gaps between the boxes stay; the boxes give up width down to their minimum.
        int gaps = 0, slack = 0, minimum = 0;
        for (size_t i = 0; i < kRow.size(); ++i) {
            const QRect box = natural_[kRow[i].box];
            minimum += kRow[i].minimumWidth;
            slack += box.width() - kRow[i].minimumWidth;
            if (i > 0)
                gaps += box.left() - (natural_[kRow[i - 1].box].right() + 1);
        }
        const double share =
            left == first.left() && available >= naturalSpan
            ? 1.0
            : std::clamp(double(available - gaps - minimum) / slack, 0.0, 1.0);

        int x = left;
        for (size_t i = 0; i < kRow.size(); ++i) {
            const TextBoxRow &row = kRow[i];
            const QRect box = natural_[row.box];
            if (i > 0)
                x += box.left() - (natural_[kRow[i - 1].box].right() + 1);
            const int width = row.minimumWidth + int(share * (box.width() - row.minimumWidth) + 0.5);
            const double scale = double(width) / box.width();
            place(row.box, QRect(x, box.top(), width, box.height()));
            // The caption and the mark keep their place along the box, in proportion.
            for (ControlId over : {row.label, row.active}) {
                const QRect rect = natural_[over];
                place(over, QRect(x + int((rect.left() - box.left()) * scale + 0.5), rect.top(), rect.width(),
                                  rect.height()));
            }
            if (row.box == ControlId::PricesBox) {
                const QRect tab = natural_[ControlId::TabInstructions];
                place(ControlId::TabInstructions,
                      QRect(x + width - (box.right() + 1 - tab.left()), tab.top(), tab.width(), tab.height()));
            }
            x += width;
        }
    }

    void place(ControlId id, const QRect &rect)
    {
        if (QWidget *widget = controls_.widget(id); widget && widget->geometry() != rect)
            widget->setGeometry(rect);
    }

    QWidget *client_;
    WidgetControls &controls_;
    std::map<ControlId, QRect> natural_;
};

} // namespace

void ClientArrangement::Install(QWidget *client, WidgetControls &controls)
{
    auto *arrangement = new Arrangement(client, controls);
    client->setMinimumSize(arrangement->minimumSize());
}

} // namespace tavrin
