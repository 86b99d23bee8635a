#include "app/Shortcuts.h"

#include "app/WidgetControls.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QMenu>

#include <vector>

namespace tavrin {

namespace {

struct ButtonCommand {
    ControlId button;
    const char *menuText;
    QKeySequence keys;
};

const std::vector<ButtonCommand> &ButtonCommands()
{
    static const std::vector<ButtonCommand> commands = {
        {ControlId::OpenLayout, "Open Marbix Layout File...", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {ControlId::SaveLayoutAndTvImage, "Save Layout && TV Image Files", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {ControlId::Print, "Print...", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {ControlId::Undo, "Undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {ControlId::DeleteMenuItem, "Delete Menu Item", QKeySequence(Qt::Key_Delete)},
        {ControlId::HelpVideos, "Help Videos", QKeySequence(Qt::Key_F1)},
        {ControlId::Exit, "Quit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
    };
    return commands;
}

QAbstractButton *ButtonOf(const WidgetControls &controls, ControlId id)
{
    return qobject_cast<QAbstractButton *>(controls.widget(id));
}

// Keeps an action enabled exactly while one of its buttons is, so that the menu greys it out and
// a disabled command's key falls through to the focused control.
class EnabledMirror : public QObject {
public:
    EnabledMirror(QAction *action, std::vector<QAbstractButton *> buttons)
        : QObject(action), action_(action), buttons_(std::move(buttons))
    {
        for (QAbstractButton *button : buttons_)
            button->installEventFilter(this);
        update();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange)
            update();
        return QObject::eventFilter(watched, event);
    }

private:
    void update()
    {
        bool enabled = false;
        for (QAbstractButton *button : buttons_)
            enabled = enabled || button->isEnabled();
        action_->setEnabled(enabled);
    }

    QAction *action_;
    std::vector<QAbstractButton *> buttons_;
};

// A click on the button, when it takes clicks: the same handler, the same checks.
void ClickIfEnabled(QAbstractButton *button)
{
    if (button && button->isEnabled())
        button->click();
}

} // namespace

QKeySequence ShortcutOf(ControlId button)
{
    if (button == ControlId::DeletePicture)
        button = ControlId::DeleteMenuItem;
    for (const ButtonCommand &command : ButtonCommands())
        if (command.button == button)
            return command.keys;
    return {};
}

void InstallShortcuts(QWidget *window, QMenu *menu, WidgetControls &controls, std::function<bool()> pictureModeActive)
{
    // The menu's own "Save As..." gets the usual key for it.
    for (QAction *action : menu->actions())
        if (action->data().toInt() == int(MenuCommand::SaveAs))
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));

    menu->addSeparator();
    for (const ButtonCommand &command : ButtonCommands()) {
        QAbstractButton *button = ButtonOf(controls, command.button);
        if (!button)
            continue;
        auto *action = new QAction(QString::fromUtf8(command.menuText), window);
        action->setShortcut(command.keys);
        // The key works wherever the focus is in the window, also with the menu bar hidden.
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
        if (command.button == ControlId::Exit || command.button == ControlId::HelpVideos)
            menu->addSeparator();
        menu->addAction(action);

        if (command.button == ControlId::DeleteMenuItem) {
            QAbstractButton *deletePicture = ButtonOf(controls, ControlId::DeletePicture);
            new EnabledMirror(action, {button, deletePicture});
            // The item names what Delete will do now.
            QObject::connect(menu, &QMenu::aboutToShow, action, [action, pictureModeActive] {
                action->setText(pictureModeActive() ? QStringLiteral("Delete Picture")
                                                    : QStringLiteral("Delete Menu Item"));
            });
            QObject::connect(action, &QAction::triggered, button, [button, deletePicture, pictureModeActive] {
                ClickIfEnabled(pictureModeActive() ? deletePicture : button);
            });
        } else {
            new EnabledMirror(action, {button});
            QObject::connect(action, &QAction::triggered, button, [button] { ClickIfEnabled(button); });
        }
    }
}

} // namespace tavrin
