#include "Grouping.h"

#include "Catalogue.h"

#include <QHash>

#include <algorithm>
#include <numeric>
#include <set>
#include <vector>

using namespace Qt::StringLiterals;

namespace catalogue {

namespace {

const QString HeadMarker = u"zzzzzz_"_s;

// Each entry's parent: among the entries whose names are proper prefixes of its own, the name of the one
// filed last. Instead of testing every pair, every entry looks up those of its own prefixes whose lengths
// some name has.
void assignParents(Catalogue& catalogue)
{
    const int count = catalogue.Count();
    QHash<QStringView, int> lastIndex; // name -> highest index holding it
    std::set<qsizetype> lengths;
    for (int i = 0; i < count; ++i) {
        lastIndex.insert(catalogue.Names[i], i);
        lengths.insert(catalogue.Names[i].size());
    }

    for (int j = 0; j < count; ++j) {
        const QString& name = catalogue.Names[j];
        int parent = -1;
        for (const qsizetype length : lengths) {
            if (length >= name.size())
                break;
            const auto found = lastIndex.constFind(QStringView(name).first(length));
            if (found != lastIndex.cend() && found.value() > parent)
                parent = found.value();
        }
        if (parent >= 0)
            catalogue.Parents[j] = catalogue.Names[parent];
    }
}

// The order of an exchange sort into descending order of the keys: for each position k in turn, every
// later entry whose key is greater than the one at k is swapped into k.
//
// With distinct keys that is simply descending order. Equal keys (equal names) end up in an order that
// only the exchange sort itself gives, so it is run then, on integer ranks rather than strings.
std::vector<int> exchangeSortOrder(const QStringList& keys)
{
    const int count = int(keys.size());
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] > keys[b]; });

    bool distinct = true;
    for (int k = 0; k + 1 < count && distinct; ++k)
        distinct = keys[order[k]] != keys[order[k + 1]];
    if (distinct)
        return order;

    std::vector<int> rank(static_cast<size_t>(count));
    for (int k = 0, r = 0; k < count; ++k) {
        if (k > 0 && keys[order[k]] != keys[order[k - 1]])
            ++r;
        rank[order[k]] = -r; // greater key, greater rank
    }
    std::iota(order.begin(), order.end(), 0);
    for (int k = 0; k + 1 < count; ++k) {
        for (int l = k + 1; l < count; ++l) {
            if (rank[order[l]] > rank[order[k]])
                std::swap(order[k], order[l]);
        }
    }
    return order;
}

} // namespace

void groupAndOrder(Catalogue& catalogue)
{
    const int count = catalogue.Count();
    assignParents(catalogue);

    QStringList keys;
    keys.reserve(count);
    for (int i = 0; i < count; ++i)
        keys.append(catalogue.Parents[i].isEmpty() ? HeadMarker + catalogue.Names[i] : catalogue.Names[i]);

    const std::vector<int> order = exchangeSortOrder(keys);
    Catalogue sorted;
    for (const int index : order) {
        sorted.Names.append(catalogue.Names[index]);
        sorted.LaunchPaths.append(catalogue.LaunchPaths[index]);
        sorted.Parents.append(catalogue.Parents[index]);
    }
    catalogue = std::move(sorted);
}

} // namespace catalogue
