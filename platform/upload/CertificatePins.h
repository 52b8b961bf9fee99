#pragma once
// Certificates the user has accepted although the system does not trust
// them, per server: for the session, or for good in a file beside the
// settings (one "HOST:PORT FINGERPRINT" line each; no secret goes there).

#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

class TCertificatePins {
public:
    // file: where the lasting ones go; empty keeps none.
    explicit TCertificatePins(std::string file);

    // The session's and the file's fingerprints for the server.
    std::vector<std::string> For(std::string_view host, int port) const;
    void PinForSession(std::string_view host, int port, std::string_view fingerprint);
    // Pins for the session and appends to the file. Throws std::system_error
    // when the file cannot be written; the session pin holds all the same.
    void Remember(std::string_view host, int port, std::string_view fingerprint);

    const std::string& File() const { return file_; }

private:
    std::string file_;
    std::vector<std::string> session_;  // "HOST:PORT FINGERPRINT"
};

// The settings folder's "trusted-certificates".
std::string DefaultCertificatePinsFile();

}  // namespace ostrel
