#pragma once
// The upload script on disk. It holds the password in plain text, so it
// lives in a fresh folder only its owner may enter, is created exclusively
// with owner-only permissions, and is removed the moment the client has it
// open: it never outlives the upload.

#include <string>

#include "platform/UniqueFd.h"

namespace ostrel {

class TFtpScriptFile {
public:
    TFtpScriptFile() = default;
    ~TFtpScriptFile() { DeleteScriptFile(); }
    TFtpScriptFile(const TFtpScriptFile&) = delete;
    TFtpScriptFile& operator=(const TFtpScriptFile&) = delete;

    // Removes an earlier script, then writes this one into a new private
    // folder under PrivateFolderRoot(). Throws std::system_error when the
    // folder or the file cannot be made.
    void Write(const std::string& script);
    // Opens the script for reading and removes it and its folder from the
    // disk; the descriptor still reads the whole script.
    TUniqueFd OpenForClient();
    // Removes the script and its folder, if they are still there.
    void DeleteScriptFile();

    const std::string& Path() const { return path_; }
    bool Exists() const { return !path_.empty(); }

private:
    std::string folder_;
    std::string path_;
};

// Where the private folders go: $XDG_RUNTIME_DIR when it is a folder of
// ours that nobody else may enter, else the temporary folder ($TMPDIR or
// /tmp).
std::string PrivateFolderRoot();

}  // namespace ostrel
