#pragma once
// Per-user settings of this installation (section "Settings"): remembered folders and the
// state of the screens' panels and print choices.
#include <QString>
#include <QVariant>

namespace vx {

QVariant RememberedValue(const QString& key, const QVariant& fallback = {});
void RememberValue(const QString& key, const QVariant& value);

} // namespace vx
