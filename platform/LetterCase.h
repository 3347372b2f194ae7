#pragma once

#include <QString>
#include <QStringView>

namespace platform {

// Letter case as the suite's workstations map it: every character on its own, by its simple case mapping,
// so that a string keeps its length ("straße" gives "STRAßE", not "STRASSE"; "ﬁ" stays "ﬁ", not "FI").
// Characters that only a full mapping changes (ß, the ligatures, "İ") stay as they are. Comparisons that
// ignore letter case compare these forms ordinally.
QString toUpper(QStringView text);
QString toLower(QStringView text);

} // namespace platform
