#pragma once
// File dialogs with classic filter texts ("Description|*.ext|All Files (*.*)|*.*"), and the
// two folders the convert screen remembers in the user's settings ("Settings"/"LastPath1",
// "Settings"/"LastPath2").
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace vx {

// "a|b|c|d" pairs of description and patterns to Qt's "a (b);;c (d)"; patterns separated by ";"
// become blank-separated, and a pattern list already in the description is not repeated.
QString QtFilterFrom(const QString& classicFilter);

struct FileDialogRequest {
    enum Kind { Open, Save } kind = Open;
    QString title;
    QString filter;           // classic filter text
    QString defaultExtension; // ".rdb" or "rdb"; added when the name has none
    QString proposedPath;     // folder and/or file name the dialog starts with
    bool overwritePrompt = true;
};

// Shows the dialog; nullopt when cancelled or the name is empty.
std::optional<QString> RunFileDialog(const FileDialogRequest& request, QWidget* parent = nullptr);

// An open dialog in which several existing files can be chosen; empty when cancelled. The
// test hook answers it with one text: the paths separated by a zero character.
QStringList RunOpenFilesDialog(const FileDialogRequest& request, QWidget* parent = nullptr);

// Tests answer file dialogs through this hook instead of a real dialog; returns the previous one.
using FileDialogHook = std::function<std::optional<QString>(const FileDialogRequest&)>;
FileDialogHook SetFileDialogHook(FileDialogHook hook);

// The remembered folders (or paths) of the user's settings, "" when none.
QString RememberedPath(const QString& key);
void RememberPath(const QString& key, const QString& path);

} // namespace vx
