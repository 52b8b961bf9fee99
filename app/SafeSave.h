#pragma once
// Saving a document so that a failure never costs the file on disk: the text
// goes to a temporary file beside the target, which is synced and renamed
// over the target only when it is complete.

#include <string>

namespace ostrel {

class TOstEditStringList;

// Writes the lines to the path (native bytes). A link is followed, so the file
// it points to is replaced and the link stays. The target keeps its
// permission bits; a new file gets the ones the umask allows. On failure a
// std::system_error or std::ios_base::failure is raised and the old file is
// untouched. Only when the folder itself refuses new files (while the file is
// writable) is the file written in place, as the only way left to save it.
void SaveLinesSafely(const TOstEditStringList& lines, const std::string& path);

}  // namespace ostrel
