#pragma once
// The recovery folder, $XDG_STATE_HOME/ostrel/recovery: one journal per
// document with unsaved changes, named after the running instance that
// writes it. An instance holds a lock for as long as it lives, so the next
// start can tell the journals of a crashed instance from those of one that
// is still running.

#include <string>
#include <vector>

#include "platform/UniqueFd.h"

namespace ostrel {

class TRecoveryFolder {
public:
    // Claims a place for this instance; without a usable folder Usable() is false.
    TRecoveryFolder();
    ~TRecoveryFolder();
    TRecoveryFolder(const TRecoveryFolder&) = delete;
    TRecoveryFolder& operator=(const TRecoveryFolder&) = delete;

    static std::string Folder();
    bool Usable() const { return lock_.IsOpen(); }
    // The journal of this instance's document number serial.
    std::string JournalPath(int serial) const;
    // Journals that no living instance holds, oldest first.
    std::vector<std::string> Orphans() const;
    // A normal end: this instance's lock goes (its journals went with the documents).
    void Release();

private:
    std::string id_;
    TUniqueFd lock_;
};

}  // namespace ostrel
