#pragma once
// The OpenSSH known-hosts file: where it is, and adding a host key the user
// has trusted. A line is only ever appended, so hashed entries, comments and
// markers the file holds stay as they are.

#include <string>
#include <string_view>

namespace ostrel {

// ~/.ssh/known_hosts ($HOME's); empty without a home.
std::string DefaultKnownHostsPath();

// The host as the file names it: "[host]:port" for a port other than 22.
std::string KnownHostsName(std::string_view host, int port);

// The key type a key in the SSH wire form names first ("ssh-ed25519",
// "ecdsa-sha2-nistp256"...); empty for a malformed key.
std::string SshKeyType(std::string_view blob);

// Appends "NAME TYPE BASE64" on a line of its own. A missing file is made
// readable by its owner alone, and so is a missing folder. Throws
// std::system_error when the file cannot be written, std::invalid_argument
// for a malformed key.
void AppendKnownHost(const std::string& path, std::string_view host, int port, std::string_view blob);

}  // namespace ostrel
