#include "Launching.h"

#include "catalogue/Catalogue.h"
#include "platform/LetterCase.h"

namespace launch {

int findEntry(const catalogue::Catalogue& catalogue, const QString& key)
{
    const QString wanted = platform::toLower(key);
    for (int index = 0; index < catalogue.Count(); ++index) {
        if (platform::toLower(catalogue.Names[index]) == wanted)
            return index;
    }
    return -1;
}

} // namespace launch
