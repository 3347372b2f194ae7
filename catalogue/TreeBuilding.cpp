#include "TreeBuilding.h"

#include "Catalogue.h"
#include "Descriptor.h"

#include "platform/FileName.h"
#include "platform/ImageList.h"
#include "platform/LetterCase.h"
#include "platform/TreeView.h"

using namespace Qt::StringLiterals;

namespace catalogue {

namespace {

QString groupKey(const QString& headName)
{
    return headName + u"_N"_s;
}

} // namespace

void buildTree(platform::TreeView& tree, const platform::ImageList& images, const Catalogue& catalogue)
{
    tree.setImageList(&images);

    const int count = catalogue.Count();
    for (int m = 0; m < count; ++m) {
        if (!catalogue.Parents[m].isEmpty())
            continue;
        const QString& name = catalogue.Names[m];
        QTreeWidgetItem* group = tree.add(groupKey(name), name, u"Closed"_s);
        tree.setExpandedImage(group, u"Open"_s);
    }

    for (int t = 0; t < count; ++t) {
        const QString& name = catalogue.Names[t];
        const QString& parent = catalogue.Parents[t];
        QTreeWidgetItem* leaf = nullptr;
        if (!parent.isEmpty()) {
            const QString text = trimSpaces(QStringView(name).last(name.size() - parent.size())).toString();
            leaf = tree.add(groupKey(parent), platform::TreeView::Child, name, text, u"Leaf"_s);
        } else {
            leaf = tree.add(groupKey(name), platform::TreeView::Child, name, name, u"Leaf"_s);
        }
        // So that the people who support the users can tell which folder a leaf starts.
        leaf->setToolTip(0, platform::displayFileName(catalogue.LaunchPaths[t]));
    }
}

void restoreSelection(platform::TreeView& tree, const Catalogue& catalogue, const QString& lastStartedPath)
{
    const QString wanted = platform::toUpper(lastStartedPath);
    for (int v = 0; v < catalogue.Count(); ++v) {
        if (platform::toUpper(catalogue.LaunchPaths[v]) != wanted)
            continue;
        if (QTreeWidgetItem* group = tree.node(catalogue.Names[v])->parent())
            group->setExpanded(true);
        tree.select(tree.node(catalogue.Names[v]));
    }
}

} // namespace catalogue
