#include "app/DropHandling.h"

#include "editor/Editor.h"
#include "editor/HitTests.h"
#include "images/ImageImport.h"
#include "render/BoardGeometry.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <optional>

namespace tavrin {

namespace {

// The one local file a drag carries; empty for several files, or for anything else.
QString DraggedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile())
        return {};
    const QString path = url.toLocalFile();
    return QFileInfo(path).isFile() ? path : QString();
}

// The cell of the open board under point; none when no board is open or the point is beside it.
std::optional<CellPosition> CellUnder(const Editor &editor, QPointF point)
{
    if (!editor.document().hasBoard())
        return std::nullopt;
    for (int c = 0; c < editor.layout().boardColumns(); ++c)
        for (int r = 0; r < editor.layout().boardRows(); ++r)
            if (RectHolds(ToQRectF(editor.geometry()(c, r).cellRect), point))
                return CellPosition{c, r};
    return std::nullopt;
}

// A text box would take a dragged file as text and type its address into the menu item: file
// drags are refused there (text dragged between the boxes still moves as before).
class FileDragRefusal : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: {
            auto *drag = static_cast<QDropEvent *>(event);
            if (!drag->mimeData() || !drag->mimeData()->hasUrls())
                return false;
            drag->ignore();
            return true;
        }
        default:
            return false;
        }
    }
};

class DropTarget : public QObject {
public:
    DropTarget(QWidget *client, Editor &editor) : QObject(client), client_(client), editor_(editor)
    {
        client->setAcceptDrops(true);
        client->installEventFilter(this);
        auto *refusal = new FileDragRefusal(this);
        for (QPlainTextEdit *box : client->findChildren<QPlainTextEdit *>()) {
            box->installEventFilter(refusal);
            box->viewport()->installEventFilter(refusal); // where the drag arrives
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != client_)
            return false;
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *drag = static_cast<QDragMoveEvent *>(event);
            if (acceptable(drag->mimeData(), drag->position())) {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            if (!acceptable(drop->mimeData(), drop->position())) {
                drop->ignore();
                return true;
            }
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            // The command may ask questions; it runs once the drop itself has finished.
            const QString path = DraggedFile(drop->mimeData());
            const QPointF point = drop->position();
            QTimer::singleShot(0, this, [this, path, point] { run(path, point); });
            return true;
        }
        default:
            return false;
        }
    }

private:
    bool acceptable(const QMimeData *data, QPointF point) const
    {
        const QString path = DraggedFile(data);
        switch (KindOfDroppedFile(path)) {
        case DroppedFileKind::Layout:
            return true;
        case DroppedFileKind::Picture:
            return CellUnder(editor_, point).has_value();
        default:
            return false;
        }
    }

    void run(const QString &path, QPointF point)
    {
        switch (KindOfDroppedFile(path)) {
        case DroppedFileKind::Layout:
            editor_.OpenLayoutCommand(path);
            break;
        case DroppedFileKind::Picture:
            if (const std::optional<CellPosition> cell = CellUnder(editor_, point)) {
                // As a picture chosen for a selected strip: the edit under way ends first, and
                // the strip as it was can be had back with Undo.
                if (editor_.editMode() != EditMode::Idle)
                    editor_.LeaveCurrentMode();
                editor_.StartNewAction();
                editor_.LoadPictureInto(path, cell->column, cell->row);
                editor_.StartNewAction();
            }
            break;
        default:
            break;
        }
    }

    QWidget *client_;
    Editor &editor_;
};

} // namespace

DroppedFileKind KindOfDroppedFile(const QString &path)
{
    if (path.isEmpty())
        return DroppedFileKind::Refused;
    // The names the open dialog lists; a TV image opens the package beside it.
    for (const char *layoutEnd : {".MARBIX", ".XMARBIX", "_TV.jpg"})
        if (path.endsWith(QLatin1String(layoutEnd)))
            return DroppedFileKind::Layout;
    if (!ImportedPictureName(path).isEmpty())
        return DroppedFileKind::Picture;
    return DroppedFileKind::Refused;
}

void AcceptDroppedFiles(QWidget *client, Editor &editor)
{
    new DropTarget(client, editor);
}

} // namespace tavrin
