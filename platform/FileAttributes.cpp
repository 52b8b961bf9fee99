#include "platform/FileAttributes.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

namespace ostrel {

namespace {

// The names of the extended attributes, NUL-separated; empty where the file
// system has none.
bool ListAttributes(int fd, std::string& names)
{
    for (;;) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP;
        names.resize(static_cast<size_t>(size));
        if (size == 0)
            return true;
        const ssize_t got = ::flistxattr(fd, names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<size_t>(got));
            return true;
        }
        if (errno != ERANGE)  // grown in between: ask again
            return false;
    }
}

bool CopyAttribute(int from, int to, const char* name)
{
    std::vector<char> value;
    for (;;) {
        const ssize_t size = ::fgetxattr(from, name, nullptr, 0);
        if (size < 0)
            return errno == ENODATA;  // removed meanwhile
        value.resize(static_cast<size_t>(size));
        const ssize_t got = ::fgetxattr(from, name, value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<size_t>(got));
            break;
        }
        if (errno != ERANGE)
            return false;
    }
    return ::fsetxattr(to, name, value.data(), value.size(), 0) == 0;
}

std::vector<std::string> Split(const std::string& names)
{
    std::vector<std::string> list;
    for (size_t at = 0; at < names.size();) {
        list.emplace_back(names.c_str() + at);
        at += list.back().size() + 1;
    }
    return list;
}

// The new file has exactly the old one's attributes: one that a default ACL
// of the folder gave it is taken away again.
bool CopyExtendedAttributes(int from, int to)
{
    std::string oldNames;
    std::string newNames;
    if (!ListAttributes(from, oldNames) || !ListAttributes(to, newNames))
        return false;
    const std::vector<std::string> wanted = Split(oldNames);
    for (const std::string& name : Split(newNames))
        if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() && ::fremovexattr(to, name.c_str()) != 0)
            return false;
    for (const std::string& name : wanted)
        if (!CopyAttribute(from, to, name.c_str()))
            return false;
    return true;
}

}  // namespace

bool MayBeReplaced(const struct stat& info) { return info.st_nlink == 1 && info.st_uid == ::geteuid(); }

bool CarryOverAttributes(int from, int to, const struct stat& old)
{
    struct stat now {};
    if (::fstat(to, &now) != 0)
        return false;
    // Ownership first: changing it clears the set-id bits the mode restores.
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(to, old.st_uid, old.st_gid) != 0)
        return false;
    // The ACL comes with the attributes; the mode after it sets the same
    // bits its mask stands for.
    return CopyExtendedAttributes(from, to) && ::fchmod(to, old.st_mode & 07777) == 0;
}

}  // namespace ostrel
