#include "ui/FileDialogs.h"

#include "ui/UserSettings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace vx {

namespace {
FileDialogHook& Hook()
{
    static FileDialogHook hook;
    return hook;
}
} // namespace

QString QtFilterFrom(const QString& classicFilter)
{
    const QStringList parts = classicFilter.split(u'|');
    QStringList filters;
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(trailingPatterns);
        QString patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts).join(u' ');
        filters << description.trimmed() + QStringLiteral(" (") + patterns.trimmed() + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

FileDialogHook SetFileDialogHook(FileDialogHook hook)
{
    std::swap(hook, Hook());
    return hook;
}

namespace {
// The Qt dialog for a request: title, filter, default extension, overwrite prompt and the
// proposed folder and name.
void SetUpDialog(QFileDialog& dialog, const FileDialogRequest& request)
{
    dialog.setAcceptMode(request.kind == FileDialogRequest::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.kind == FileDialogRequest::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QString ext = request.defaultExtension;
    if (ext.startsWith(u'.'))
        ext.remove(0, 1);
    if (!ext.isEmpty())
        dialog.setDefaultSuffix(ext);
    if (!request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QFileInfo proposed(request.proposedPath);
    if (!request.proposedPath.isEmpty() && !proposed.isDir()) {
        if (QFileInfo(proposed.path()).isDir())
            dialog.setDirectory(proposed.path());
        dialog.selectFile(proposed.fileName());
    }
}
} // namespace

std::optional<QString> RunFileDialog(const FileDialogRequest& request, QWidget* parent)
{
    std::optional<QString> chosen;
    if (Hook()) {
        chosen = Hook()(request);
    } else {
        QFileDialog dialog(parent, request.title, request.proposedPath, QtFilterFrom(request.filter));
        SetUpDialog(dialog, request);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().constFirst();
    }
    if (!chosen || chosen->trimmed().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(*chosen);
}

QStringList RunOpenFilesDialog(const FileDialogRequest& request, QWidget* parent)
{
    QStringList chosen;
    if (Hook()) {
        chosen = Hook()(request).value_or(QString()).split(QChar(0), Qt::SkipEmptyParts);
    } else {
        QFileDialog dialog(parent, request.title, request.proposedPath, QtFilterFrom(request.filter));
        SetUpDialog(dialog, request);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        if (dialog.exec() == QDialog::Accepted)
            chosen = dialog.selectedFiles();
    }
    QStringList paths;
    for (const QString& path : chosen) {
        if (!path.trimmed().isEmpty())
            paths << QDir::toNativeSeparators(path);
    }
    return paths;
}

QString RememberedPath(const QString& key) { return RememberedValue(key).toString(); }

void RememberPath(const QString& key, const QString& path) { RememberValue(key, path); }

} // namespace vx
