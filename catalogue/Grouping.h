#pragma once

namespace catalogue {

struct Catalogue;

// Groups and orders a freshly scanned catalogue for display.
//
// Every entry whose name has another entry's name as a proper prefix (compared case-sensitively, with no
// regard to word boundaries) gets that entry as its parent; among several candidates the one filed last
// wins. Entries without a parent are group heads. The entries are then sorted in descending ordinal order
// of a key that is "zzzzzz_" followed by the name for a group head and the plain name for a member, which
// puts the group heads first unless a name begins with a character above "z". The order, ties included,
// is the one the suite's own launcher has always shown.
void groupAndOrder(Catalogue& catalogue);

} // namespace catalogue
