#pragma once

#include <QString>

// Where the launch path of the installation started last is kept, per user.
namespace LastStarted {
inline const QString AppName = QStringLiteral("Vrex\\MarunIzbor");
inline const QString Section = QStringLiteral("LastStarted");
inline const QString Key = QStringLiteral("Putanja");
} // namespace LastStarted
