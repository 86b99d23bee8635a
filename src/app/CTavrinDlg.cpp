#include "app/CTavrinDlg.h"

#include "app/FontWarningBar.h"
#include "app/PriceListMenu.h"

#include "app/BoardPreview.h"
#include "app/ClientArrangement.h"
#include "app/ControlPanel.h"
#include "app/DropHandling.h"
#include "app/Shortcuts.h"
#include "app/StylePanel.h"
#include "app/Tooltips.h"
#include "app/TextBoxWiring.h"
#include "app/QtSaveFeedback.h"
#include "editor/WindowTitle.h"
#include "platform/ApplicationIconArt.h"
#include "platform/DataFolders.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QResizeEvent>
#include <QScrollArea>
#include <QToolButton>
#include <QCoreApplication>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace tavrin {

namespace {
const char kHelpVideosAddress[] = "https://www.tessaldesign.com/help-videos";
// Room a window manager's title bar takes beside the title: the icon and three buttons.
constexpr int kTitleBarButtonsWidth = 160;
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(QPixmap::fromImage(ApplicationIconImage(size)));
    return icon;
}

CTavrinDlg::CTavrinDlg(bool otherInstanceRunning, InstanceLock *lock, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                          | Qt::WindowCloseButtonHint),
      qtPrompter_(this), controls_(this), document_(DataFolderPath()), editor_(controls_, qtPrompter_, document_)
{
    endProcess = [](int code) {
        std::fflush(nullptr);
        ::_exit(code);
    };
    openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    editor_.setOtherInstanceRunning(otherInstanceRunning);
    editor_.setSaveFeedback(new QtSaveFeedback(this));
    editor_.saveCommand = [this] { editor_.SaveLayoutAndTvImageCommand(); };
    editor_.onRefresh = [this](RefreshRequest) {
        if (client_)
            client_->update();
        // Every selection change ends in a refresh: the style controls follow it.
        if (stylePanel_)
            stylePanel_->sync();
        if (fontWarnings_)
            fontWarnings_->follow();
    };

    setSizeGripEnabled(true);
    resize(1280, 760);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(9);
    setFont(font);

    // The client area below the menu bar holds the controls and, later, the board preview;
    // its coordinates are the ones the editing logic works in.
    auto *frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setSpacing(0);
    auto *preview = new BoardPreview(this);
    preview->setEditor(&editor_);
    client_ = preview;
    frame->addWidget(client_);
    fontWarnings_ = new FontWarningBar(editor_, this);
    frame->addWidget(fontWarnings_);
    controls_.setClient(client_);
    buildMenu();
    frame->setMenuBar(menuBar_);
    ControlPanel::Build(client_, controls_);
    connectButtons();
    addStylePanel();
    InstallShortcuts(this, menuBar_->actions().constFirst()->menu(), controls_,
                     [this] { return editor_.editMode() == EditMode::Picture; });
    addNewLayoutCommand();
    SetTooltips(controls_);
    ClientArrangement::Install(client_, controls_);
    AcceptDroppedFiles(client_, editor_);
    ConnectTextBoxes(controls_, editor_);
    setWindowIcon(ApplicationIcon());

    editor_.Initialise(QDateTime::currentSecsSinceEpoch(), ::getpid(), lock);
    // Always opens maximized, whatever the size at the end of the last run. Without a window
    // manager to honour the state the window is given the screen's size instead.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
}

CTavrinDlg::~CTavrinDlg()
{
    // The window goes away after a close: its working folder goes with it.
    editor_.WindowDestroyed();
}

void CTavrinDlg::usePrompter(Prompter &prompter) { editor_.setPrompter(prompter); }

void CTavrinDlg::buildMenu()
{
    menuBar_ = new QMenuBar(this);
    // A title people can see and click; Alt+F opens it.
    QMenu *menu = menuBar_->addMenu(QStringLiteral("&File"));
    QAction *open = menu->addAction(QStringLiteral("&Open..."));
    open->setData(int(MenuCommand::Open));
    connect(open, &QAction::triggered, this, [this] { editor_.LoadBackgroundCommand(); });
    QAction *saveAs = menu->addAction(QStringLiteral("Save &As..."));
    saveAs->setData(int(MenuCommand::SaveAs));
    connect(saveAs, &QAction::triggered, this, [this] { editor_.RunSaveCommand(); });
    menu->addSeparator();
    QAction *exit = menu->addAction(QStringLiteral("Exit"));
    exit->setData(int(MenuCommand::Exit));
    connect(exit, &QAction::triggered, this, &CTavrinDlg::onMenuExit);
    AddPriceListCommands(menu, editor_, this);
    // The window manager's system menu cannot be extended from here; the About item that
    // would go there sits at the end of the window's own menu instead.
    menu->addSeparator();
    QAction *about = menu->addAction(QStringLiteral("&About %1...").arg(QStringLiteral("Tavrin")));
    about->setData(int(MenuCommand::About));
    connect(about, &QAction::triggered, this, &CTavrinDlg::showAboutBox);
}

void CTavrinDlg::addStylePanel()
{
    // At the foot of the control column, scrolling with it. It opens from its own button, so
    // that the column keeps its height (and needs no scroll bar) until the user wants it.
    auto *column = client_->findChild<QWidget *>(QStringLiteral("controlColumnContent"));
    if (!column)
        return;
    const int top = column->height();
    auto *toggle = new QToolButton(column);
    toggle->setObjectName(QStringLiteral("styleToggle"));
    toggle->setText(QStringLiteral("Style"));
    toggle->setToolTip(QStringLiteral("Fonts, colours and borders of the selection"));
    toggle->setCheckable(true);
    toggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toggle->setArrowType(Qt::RightArrow);
    toggle->setGeometry(4, top, 196, 24);
    stylePanel_ = new StylePanel(editor_, column);
    stylePanel_->setGeometry(4, top + 26, 196, stylePanel_->sizeHint().height());
    stylePanel_->hide();
    const int closedHeight = top + 26 + 2;
    column->resize(column->width(), closedHeight);
    connect(toggle, &QToolButton::toggled, this, [this, toggle, column, closedHeight](bool open) {
        toggle->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        stylePanel_->setVisible(open);
        column->resize(column->width(), open ? closedHeight + stylePanel_->height() + 2 : closedHeight);
        // The column may need its scroll bar now: the client is arranged anew.
        QResizeEvent arrange(client_->size(), client_->size());
        QCoreApplication::sendEvent(client_, &arrange);
        if (open)
            if (auto *area = client_->findChild<QScrollArea *>(QStringLiteral("controlColumn")))
                area->ensureWidgetVisible(stylePanel_);
    });
}

void CTavrinDlg::addNewLayoutCommand()
{
    // With the other commands the window adds, first among them.
    QMenu *menu = menuBar_->actions().constFirst()->menu();
    auto *newLayout = new QAction(QStringLiteral("New Layout..."), this);
    newLayout->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    newLayout->setShortcutContext(Qt::WindowShortcut);
    addAction(newLayout);
    connect(newLayout, &QAction::triggered, this, [this] { editor_.NewLayoutCommand(); });
    QAction *before = nullptr;
    for (QAction *action : menu->actions())
        if (action->text() == QLatin1String("Open Marbix Layout File..."))
            before = action;
    menu->insertAction(before, newLayout);
}

void CTavrinDlg::connectButtons()
{
    for (QAbstractButton *button : findChildren<QAbstractButton *>()) {
        const QString name = button->objectName();
        if (!name.startsWith(QLatin1String("control")))
            continue;
        const auto id = ControlId(name.mid(7).toInt());
        connect(button, &QAbstractButton::clicked, this, [this, id] { onButton(id); });
    }
}

void CTavrinDlg::onButton(ControlId id)
{
    switch (id) {
    case ControlId::Exit:
        if (editor_.ExitButton())
            endProcess(0);
        break;
    case ControlId::SaveLayoutAndTvImage:
        editor_.RunSaveCommand();
        break;
    case ControlId::Print:
        editor_.PrintCommand();
        break;
    case ControlId::OpenLayout:
        editor_.OpenLayoutCommand();
        break;
    case ControlId::LoadNewPicture:
        editor_.LoadNewPictureButton();
        break;
    case ControlId::Undo:
        editor_.UndoCommand();
        break;
    case ControlId::Redo:
        editor_.RedoCommand();
        break;
    case ControlId::DeleteMenuItem:
        editor_.DeleteMenuItemCommand();
        break;
    case ControlId::DeletePicture:
        editor_.DeletePictureCommand();
        break;
    case ControlId::HelpVideos:
        // Without a web browser nothing would happen at all: the user gets the address instead.
        if (!openUrl(QUrl(QString::fromLatin1(kHelpVideosAddress))))
            editor_.prompter().showMessage(
                QStringLiteral("No web browser could be started to show the help videos.\n\n"
                               "They are at this address:\n%1")
                    .arg(QString::fromLatin1(kHelpVideosAddress)));
        break;
    case ControlId::WhitePrintFormat:
        editor_.setWhitePrint(controls_.isChecked(ControlId::WhitePrintFormat));
        editor_.Refresh();
        break;
    case ControlId::DisplayVerticalGrid:
        editor_.Refresh();
        break;
    case ControlId::TabInstructions:
        editor_.TabInstructions();
        break;
    case ControlId::Micro:
    case ControlId::Macro:
    case ControlId::SelectedText:
    case ControlId::AllText:
        editor_.PairedCheckBoxClicked(id);
        break;
    case ControlId::MoveUp:
    case ControlId::MoveLeft:
    case ControlId::MoveRight:
    case ControlId::MoveDown:
    case ControlId::SizeLarger:
    case ControlId::SizeSmaller:
    case ControlId::SizeNarrower:
    case ControlId::SizeWider:
    case ControlId::LineSpacingUp:
    case ControlId::LineSpacingDown:
    case ControlId::TabSpacingUp:
    case ControlId::TabSpacingDown:
    case ControlId::CalSpacingUp:
    case ControlId::CalSpacingDown: {
        const Qt::KeyboardModifiers keys = QGuiApplication::keyboardModifiers();
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        editor_.ArrowClicked(id, {keys.testFlag(Qt::AltModifier), keys.testFlag(Qt::ShiftModifier)});
        QGuiApplication::restoreOverrideCursor();
        break;
    }
    default:
        break;
    }
}

void CTavrinDlg::onMenuExit()
{
    // Ends at once: no question, no clean-up; the next start removes the working folder.
    endProcess(0);
}

void CTavrinDlg::showAboutBox()
{
    QDialog box(this);
    box.setWindowTitle(QStringLiteral("About Tavrin"));
    auto *layout = new QVBoxLayout(&box);
    auto *row = new QHBoxLayout;
    auto *icon = new QLabel(&box);
    icon->setPixmap(ApplicationIcon().pixmap(48, 48));
    row->addWidget(icon);
    row->addWidget(new QLabel(QStringLiteral("Tavrin Version 3.0"), &box));
    layout->addLayout(row);
    auto *ok = new QPushButton(QStringLiteral("OK"), &box);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    // The title bar holds the icon, the title and the window buttons: wide enough for all.
    QFont titleFont = box.font();
    titleFont.setBold(true);
    box.setMinimumWidth(QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) * 3 / 2 + kTitleBarButtonsWidth);
    box.exec();
}

void CTavrinDlg::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        // Escape ends the edit modes and never closes the window.
        editor_.EscapePressed();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter outside the text boxes does nothing: the dialog's hidden OK must not end it.
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CTavrinDlg::closeEvent(QCloseEvent *event)
{
    if (!editor_.CloseRequested()) {
        event->ignore();
        return;
    }
    event->accept();
    done(QDialog::Rejected);
}

} // namespace tavrin
