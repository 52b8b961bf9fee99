#pragma once
// A real FTP server on 127.0.0.1 for the upload tests: Python's pyftpdlib
// with one user and a home folder, started on a free port and ended with
// the object.

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace ostrel::test {

class FtpTestServer {
public:
    // Whether /usr/bin/python3 has pyftpdlib.
    static bool Available();

    FtpTestServer(const std::filesystem::path& home, const std::string& user, const std::string& password);
    ~FtpTestServer();
    FtpTestServer(const FtpTestServer&) = delete;
    FtpTestServer& operator=(const FtpTestServer&) = delete;

    int Port() const { return port_; }
    // "127.0.0.1 PORT", as the server field takes it.
    std::string Address() const { return "127.0.0.1 " + std::to_string(port_); }

private:
    pid_t pid_ = -1;
    int input_ = -1;  // closing it ends the server
    int port_ = 0;
};

// A password with blanks, quotes and a backslash, whose leading "!" the
// client would take as a shell escape creating marker, were the password
// ever read as a command of its own.
inline std::string HostilePassword(const std::string& marker) { return "!touch " + marker + " \"a\\b\" 'c'"; }

// A port on 127.0.0.1 where nothing listens (bound, then released).
int UnusedLocalPort();

}  // namespace ostrel::test
