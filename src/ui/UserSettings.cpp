#include "ui/UserSettings.h"

#include "config/RuntimeFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace vx {

namespace {
// One set per program folder, as the runtime folder.
QString SettingsApplication()
{
    return QStringLiteral("VXCLT ") + QFileInfo(QString::fromStdString(ProgramFolder())).fileName();
}
} // namespace

QVariant RememberedValue(const QString& key, const QVariant& fallback)
{
    QSettings s(QStringLiteral("Veltrax"), SettingsApplication());
    s.beginGroup(QStringLiteral("Settings"));
    return s.value(key, fallback);
}

void RememberValue(const QString& key, const QVariant& value)
{
    QSettings s(QStringLiteral("Veltrax"), SettingsApplication());
    s.beginGroup(QStringLiteral("Settings"));
    s.setValue(key, value);
}

} // namespace vx
