#pragma once
// What a file is besides its bytes: owner and group, permission bits, ACLs
// and other extended attributes. A file that replaces another takes these
// over, or the replacement is not made.

#include <sys/stat.h>

namespace ostrel {

// Gives the file open as to the owner, group, extended attributes (ACLs are
// among them) and mode of old, read from the file open as from. False, with
// errno, when one of them cannot be carried over: the new file would then
// not be the same file to its users.
bool CarryOverAttributes(int from, int to, const struct stat& old);

// Whether replacing the file by a new one could keep its identity at all:
// one link, and ours.
bool MayBeReplaced(const struct stat& info);

}  // namespace ostrel
