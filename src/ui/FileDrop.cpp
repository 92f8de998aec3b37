#include "ui/FileDrop.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace vx {

namespace {
FileDropTarget* InstallTarget(QWidget* window, FileDropTarget* target)
{
    window->setAcceptDrops(true);
    window->installEventFilter(target);
    return target;
}
} // namespace

FileDropTarget::FileDropTarget(QWidget* window, FilesOpener open, bool several)
    : QObject(window), m_open(std::move(open)), m_several(several)
{}

// The local files a drop carries; none for folders-only or remote URLs, or for several files
// when the window takes one.
QStringList FileDropTarget::DroppedFiles(const QMimeData* mime) const
{
    if (!mime || !mime->hasUrls() || (!m_several && mime->urls().size() != 1))
        return {};
    QStringList files;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
            files << QDir::toNativeSeparators(url.toLocalFile());
    }
    return files;
}

FileDropTarget* FileDropTarget::Install(QWidget* window, Opener open)
{
    return InstallTarget(
        window, new FileDropTarget(
                    window, [open = std::move(open)](const QStringList& paths) { open(paths.front()); }, false));
}

FileDropTarget* FileDropTarget::InstallForFiles(QWidget* window, FilesOpener open)
{
    return InstallTarget(window, new FileDropTarget(window, std::move(open), true));
}

bool FileDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (DroppedFiles(drag->mimeData()).isEmpty())
            return QObject::eventFilter(watched, event);
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = DroppedFiles(drop->mimeData());
        if (paths.isEmpty())
            return QObject::eventFilter(watched, event);
        drop->acceptProposedAction();
        m_open(paths);
        return true;
    }
    default: return QObject::eventFilter(watched, event);
    }
}

} // namespace vx
