#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

class QListWidget;

namespace tavrin {

// The findings of "Check Board", one a line. Clicking a finding hands its index to onPick (the
// window selects the strip it names); "Close" ends the dialog.
class CheckBoardDialog : public QDialog {
    Q_OBJECT
public:
    CheckBoardDialog(const QStringList &findings, QWidget *parent = nullptr);

    std::function<void(int index)> onPick;
    QListWidget *list() const { return list_; }

private:
    QListWidget *list_ = nullptr;
};

} // namespace tavrin
