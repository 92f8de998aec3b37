#include "ui/FileDrop.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace vx {

namespace {
// The one local file a drop carries; empty for several files, folders-only or remote URLs.
QString DroppedFile(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QUrl url = mime->urls().constFirst();
    if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile())
        return {};
    return QDir::toNativeSeparators(url.toLocalFile());
}
} // namespace

FileDropTarget::FileDropTarget(QWidget* window, Opener open) : QObject(window), m_open(std::move(open)) {}

FileDropTarget* FileDropTarget::Install(QWidget* window, Opener open)
{
    auto* target = new FileDropTarget(window, std::move(open));
    window->setAcceptDrops(true);
    window->installEventFilter(target);
    return target;
}

bool FileDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (DroppedFile(drag->mimeData()).isEmpty())
            return QObject::eventFilter(watched, event);
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = DroppedFile(drop->mimeData());
        if (path.isEmpty())
            return QObject::eventFilter(watched, event);
        drop->acceptProposedAction();
        m_open(path);
        return true;
    }
    default: return QObject::eventFilter(watched, event);
    }
}

} // namespace vx
