// Grouping and ordering, and the tree built from it, on random names: the result must be the one the
// pairwise version gives, and the tree either whole or refused with the tree's own errors.

#include "catalogue/Catalogue.h"
#include "catalogue/Grouping.h"
#include "catalogue/TreeBuilding.h"
#include "platform/ImageList.h"
#include "platform/RuntimeError.h"
#include "platform/TreeView.h"
#include "tools/ReferenceGrouping.h"

#include <QApplication>
#include <QPixmap>

#include <cstdlib>

static QApplication* application = nullptr;
static platform::ImageList* images = nullptr;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QApplication(*argc, *argv);
    images = new platform::ImageList;
    QPixmap picture(16, 16);
    picture.fill(Qt::green);
    for (const char* key : {"Closed", "Open", "Leaf"})
        images->add(QString::fromLatin1(key), QIcon(picture));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One name per line; at most a few hundred, so the pairwise reference stays quick.
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    catalogue::Catalogue fast;
    for (const QString& name : text.split(u'\n')) {
        if (!name.isEmpty() && fast.Count() < 300)
            fast.file(name, QStringLiteral("/srv/%1/StarterCS.exe").arg(fast.Count()));
    }
    catalogue::Catalogue slow = fast;
    catalogue::groupAndOrder(fast);
    reference::groupAndOrder(slow);
    if (fast.Names != slow.Names || fast.LaunchPaths != slow.LaunchPaths || fast.Parents != slow.Parents)
        abort();

    platform::TreeView tree;
    try {
        catalogue::buildTree(tree, *images, fast);
        catalogue::restoreSelection(tree, fast, fast.launchPath(1));
        int leaves = 0;
        for (int g = 0; g < tree.topLevelItemCount(); ++g)
            leaves += tree.topLevelItem(g)->childCount();
        if (leaves != fast.Count())
            abort();
    } catch (const platform::RuntimeError& error) {
        if (error.number() != platform::Error::KeyNotUnique && error.number() != platform::Error::ElementNotFound)
            abort();
    }
    return 0;
}
