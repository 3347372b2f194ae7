#pragma once

#include <QString>

namespace platform {
class ImageList;
class TreeView;
} // namespace platform

namespace catalogue {

struct Catalogue;

// Shows a grouped and ordered catalogue in tree as two levels: a root node keyed name + "_N" for every
// group head, with the picture "Closed" ("Open" while expanded), and below it a "Leaf" node for the head
// itself and one for each member, keyed by the full name. A member's text is its name without the head's
// name in front, trimmed of spaces; a leaf's tooltip is its launch path. images is bound to the tree first.
//
// The tree's errors pass on (a duplicate name, or a member whose head is itself a member); the nodes added
// before stay.
void buildTree(platform::TreeView& tree, const platform::ImageList& images, const Catalogue& catalogue);

// Opens the group and selects the leaf of every entry whose launch path equals lastStartedPath ignoring
// letter case; the last one stays selected. A path that matches nothing changes nothing.
void restoreSelection(platform::TreeView& tree, const Catalogue& catalogue, const QString& lastStartedPath);

} // namespace catalogue
