#pragma once
// Opening a file by dropping it onto a screen: a single local file dropped anywhere on the
// window is handed to the screen's open procedure, as if it had been chosen in the file
// dialog. A screen that takes several files at once gets every local file of the drop.
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QMimeData;
class QWidget;

namespace vx {

class FileDropTarget : public QObject {
    Q_OBJECT
public:
    using Opener = std::function<void(const QString& path)>;
    using FilesOpener = std::function<void(const QStringList& paths)>;
    // Makes the window accept drops; the target lives as the window's child.
    static FileDropTarget* Install(QWidget* window, Opener open);
    // The same for a window that takes several files at once, in the order of the drop.
    static FileDropTarget* InstallForFiles(QWidget* window, FilesOpener open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FileDropTarget(QWidget* window, FilesOpener open, bool several);
    QStringList DroppedFiles(const QMimeData* mime) const;
    FilesOpener m_open;
    bool m_several;
};

} // namespace vx
