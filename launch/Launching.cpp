#include "Launching.h"

#include "catalogue/Catalogue.h"

namespace launch {

int findEntry(const catalogue::Catalogue& catalogue, const QString& key)
{
    const QString wanted = key.toLower();
    for (int index = 0; index < catalogue.Count(); ++index) {
        if (catalogue.Names[index].toLower() == wanted)
            return index;
    }
    return -1;
}

} // namespace launch
