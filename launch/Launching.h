#pragma once

#include <QString>

namespace catalogue {
struct Catalogue;
}

namespace launch {

// The index of the first entry whose name equals key, both lower-cased and compared code unit by code
// unit; -1 when no entry does. Two names that differ only in letter case thus both find the lower index.
int findEntry(const catalogue::Catalogue& catalogue, const QString& key);

} // namespace launch
