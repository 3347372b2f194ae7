#include "Grouping.h"

#include "Catalogue.h"

using namespace Qt::StringLiterals;

namespace catalogue {

namespace {

const QString HeadMarker = u"zzzzzz_"_s;

} // namespace

void groupAndOrder(Catalogue& catalogue)
{
    const int count = catalogue.Count();
    QStringList& names = catalogue.Names;
    QStringList& parents = catalogue.Parents;

    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < count; ++j) {
            if (names[j].startsWith(names[i]) && names[i] != names[j])
                parents[j] = names[i];
        }
    }

    for (int j = 0; j < count; ++j) {
        if (parents[j].isEmpty())
            names[j].prepend(HeadMarker);
    }

    // An exchange sort, not a stable one: entries with equal keys end up where it leaves them.
    for (int k = 0; k + 1 < count; ++k) {
        for (int l = k + 1; l < count; ++l) {
            if (names[l] > names[k])
                catalogue.swapEntries(k, l);
        }
    }

    for (int l = 0; l < count; ++l) {
        if (parents[l].isEmpty())
            names[l].remove(0, HeadMarker.size());
    }
}

} // namespace catalogue
