#include "platform/RecoveryFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <tuple>

#include "platform/SafeWrite.h"

namespace ostrel {

namespace {

constexpr std::string_view kJournalSuffix = ".journal";
constexpr std::string_view kLockSuffix = ".lock";

std::string NewInstanceId()
{
    std::random_device random;
    return std::to_string(::getpid()) + '-' + std::to_string(random() % 1000000);
}

// A journal "PID-RANDOM-SERIAL.journal" names the instance that wrote it
// and the number that instance gave it, in the order its documents were
// first changed; a name without a number has serial 0.
struct TJournalName {
    std::string instance;
    long serial = 0;
};

TJournalName ParseJournalName(const std::string& name)
{
    const std::string stem = name.substr(0, name.size() - kJournalSuffix.size());
    const size_t dash = stem.rfind('-');
    if (dash == std::string::npos)
        return {stem, 0};
    return {stem.substr(0, dash), std::strtol(stem.c_str() + dash + 1, nullptr, 10)};
}

bool IsHeld(const std::string& lockPath)
{
    const TUniqueFd lock(::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    return lock.IsOpen() && ::flock(lock.Get(), LOCK_EX | LOCK_NB) != 0;
}

}  // namespace

std::string TRecoveryFolder::Folder() { return StateFolder() + "/recovery"; }

TRecoveryFolder::TRecoveryFolder() : id_(NewInstanceId())
{
    try {
        MakePrivateFolder(Folder());
    } catch (const ESafeWrite&) {
        return;
    }
    RemoveStaleTemporaries(Folder());
    lock_ = TUniqueFd(::open((Folder() + '/' + id_ + std::string(kLockSuffix)).c_str(),
                             O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (lock_.IsOpen() && ::flock(lock_.Get(), LOCK_EX | LOCK_NB) != 0)
        lock_ = TUniqueFd();
}

TRecoveryFolder::~TRecoveryFolder() { Release(); }

std::string TRecoveryFolder::JournalPath(int serial) const
{
    return Folder() + '/' + id_ + '-' + std::to_string(serial) + std::string(kJournalSuffix);
}

std::vector<std::string> TRecoveryFolder::Orphans() const
{
    namespace fs = std::filesystem;
    // Each instance's journals in its own order, the instances by their
    // first journal's time: documents written in the same moment come back
    // as the user had them, not as the clock happened to split them.
    struct TFound {
        fs::file_time_type time;
        std::string instance;
        long serial;
        std::string path;
    };
    std::vector<TFound> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(Folder(), error)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with(kJournalSuffix) || !entry.is_regular_file(error))
            continue;
        TJournalName journal = ParseJournalName(name);
        if (journal.instance == id_ || IsHeld(Folder() + '/' + journal.instance + std::string(kLockSuffix)))
            continue;
        found.push_back({entry.last_write_time(error), std::move(journal.instance), journal.serial, entry.path().string()});
    }
    std::map<std::string, fs::file_time_type> firstOf;
    for (const TFound& f : found) {
        const auto [at, fresh] = firstOf.try_emplace(f.instance, f.time);
        if (!fresh)
            at->second = std::min(at->second, f.time);
    }
    std::sort(found.begin(), found.end(), [&](const TFound& a, const TFound& b) {
        return std::tie(firstOf[a.instance], a.instance, a.serial) < std::tie(firstOf[b.instance], b.instance, b.serial);
    });
    std::vector<std::string> paths;
    for (TFound& f : found)
        paths.push_back(std::move(f.path));
    // The locks of instances that are gone and left nothing.
    for (const fs::directory_entry& entry : fs::directory_iterator(Folder(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with(kLockSuffix) && name != id_ + std::string(kLockSuffix) && !IsHeld(entry.path().string())) {
            const std::string instance = name.substr(0, name.size() - kLockSuffix.size());
            if (std::none_of(paths.begin(), paths.end(), [&](const std::string& p) {
                    return ParseJournalName(fs::path(p).filename().string()).instance == instance;
                }))
                ::unlink(entry.path().c_str());
        }
    }
    return paths;
}

void TRecoveryFolder::Release()
{
    if (lock_.IsOpen())
        ::unlink((Folder() + '/' + id_ + std::string(kLockSuffix)).c_str());
    lock_ = TUniqueFd();
}

}  // namespace ostrel
