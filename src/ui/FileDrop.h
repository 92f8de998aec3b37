#pragma once
// Opening a file by dropping it onto a screen: a single local file dropped anywhere on the
// window is handed to the screen's open procedure, as if it had been chosen in the file
// dialog.
#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace vx {

class FileDropTarget : public QObject {
    Q_OBJECT
public:
    using Opener = std::function<void(const QString& path)>;
    // Makes the window accept drops; the target lives as the window's child.
    static FileDropTarget* Install(QWidget* window, Opener open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FileDropTarget(QWidget* window, Opener open);
    Opener m_open;
};

} // namespace vx
