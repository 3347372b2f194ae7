#pragma once

#include "catalogue/Catalogue.h"

namespace reference {

// Grouping and ordering as the suite's launcher has always done it, pair by pair: the reference that the
// faster catalogue::groupAndOrder must match, ties included.
inline void groupAndOrder(catalogue::Catalogue& c)
{
    const int count = c.Count();
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < count; ++j) {
            if (c.Names[j].startsWith(c.Names[i]) && c.Names[i] != c.Names[j])
                c.Parents[j] = c.Names[i];
        }
    }
    for (int j = 0; j < count; ++j) {
        if (c.Parents[j].isEmpty())
            c.Names[j].prepend(QStringLiteral("zzzzzz_"));
    }
    for (int k = 0; k + 1 < count; ++k) {
        for (int l = k + 1; l < count; ++l) {
            if (c.Names[l] > c.Names[k]) {
                c.Names.swapItemsAt(k, l);
                c.LaunchPaths.swapItemsAt(k, l);
                c.Parents.swapItemsAt(k, l);
            }
        }
    }
    for (int l = 0; l < count; ++l) {
        if (c.Parents[l].isEmpty())
            c.Names[l].remove(0, 7);
    }
}

} // namespace reference
