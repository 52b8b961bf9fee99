#pragma once
// Reading the client's dialogue for the upload's outcome. The client ends
// with status 0 whatever happened, so only its output tells whether the file
// arrived: the server's "226" (or "250" once the file is on its way)
// confirms the transfer; a refused login, a
// missing file or folder, a lost connection or a local failure before it
// means the upload failed.

#include <string>
#include <string_view>

namespace ostrel {

enum class TFtpOutcome {
    Pending,       // nothing decided yet
    Transferred,   // the transfer was confirmed before any failure
    NotConnected,  // no connection to the server
    LoginRefused,  // "530" and the like
    RemoteRefused, // the server refused a folder or the file ("550" and the like)
    LocalFailure,  // the client could not do something on this side
    NoConfirmation // the client ended without confirming the transfer
};

class TFtpTranscript {
public:
    // Output as it arrives, in pieces of any size.
    void Feed(std::string_view output);
    // The client has ended: what is still pending is decided now.
    void Finish();

    TFtpOutcome Outcome() const { return outcome_; }
    bool Succeeded() const { return outcome_ == TFtpOutcome::Transferred; }
    // The line that decided the outcome ("226 Transfer complete.",
    // "530 Authentication failed.", "Not connected."), without its line end.
    const std::string& DecidingLine() const { return decidingLine_; }

private:
    void ReadLine(std::string_view line);

    std::string partial_;
    std::string decidingLine_;
    TFtpOutcome outcome_ = TFtpOutcome::Pending;
    bool sending_ = false;
};

// The outcome of one line of the client's output, Pending when the line
// decides nothing.
TFtpOutcome ClassifyFtpLine(std::string_view line);

}  // namespace ostrel
