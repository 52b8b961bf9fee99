#pragma once
// Real servers on 127.0.0.1 for the upload tests, each a Python script of
// tests/data/ftp started on a free port and ended with its object: FTP
// (pyftpdlib), FTP with explicit TLS (pyftpdlib with a self-signed
// certificate), SFTP (asyncssh) and a server that never gets to the point.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace ostrel::test {

// One server process. It prints its port (and what else the script tells)
// on its first lines, and ends when its standard input closes.
class TestServerProcess {
public:
    // Whether /usr/bin/python3 can import every module of the list.
    static bool PythonHas(const std::vector<std::string>& modules);

    TestServerProcess(const std::string& script, std::vector<std::string> arguments, int firstLines);
    ~TestServerProcess();
    TestServerProcess(const TestServerProcess&) = delete;
    TestServerProcess& operator=(const TestServerProcess&) = delete;

    int Port() const { return port_; }
    // The first lines after the port.
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    pid_t pid_ = -1;
    int input_ = -1;  // closing it ends the server
    int port_ = 0;
    std::vector<std::string> lines_;
};

class FtpTestServer {
public:
    // Whether /usr/bin/python3 has pyftpdlib.
    static bool Available();
    // And the OpenSSL module its TLS needs.
    static bool TlsAvailable();

    // certificate: with a PEM file (made when missing), explicit TLS only.
    FtpTestServer(const std::filesystem::path& home, const std::string& user, const std::string& password,
                  const std::filesystem::path& certificate = {});

    int Port() const { return process_.Port(); }
    // "127.0.0.1 PORT", as the server field takes it.
    std::string Address() const { return "127.0.0.1 " + std::to_string(Port()); }
    // The certificate's SHA-256 fingerprint, "SHA256:AA:BB:...".
    std::string Fingerprint() const;

private:
    TestServerProcess process_;
};

class SftpTestServer {
public:
    // Whether /usr/bin/python3 has asyncssh.
    static bool Available();

    // home is the server's root; hostKey a private key file, made when
    // missing; authorizedKeys, when given, the client keys it takes.
    SftpTestServer(const std::filesystem::path& home, const std::string& user, const std::string& password,
                   const std::filesystem::path& hostKey, const std::filesystem::path& authorizedKeys = {});

    int Port() const { return process_.Port(); }
    std::string Address() const { return "127.0.0.1 " + std::to_string(Port()); }
    // The host key's fingerprint as OpenSSH shows it, "SHA256:...".
    std::string Fingerprint() const { return process_.Lines().at(0); }

private:
    TestServerProcess process_;
};

// Accepts connections and sends a "220-" line every interval, forever
// (two minutes at most).
class TrickleTestServer {
public:
    explicit TrickleTestServer(double intervalSeconds);
    int Port() const { return process_.Port(); }
    std::string Address() const { return "127.0.0.1 " + std::to_string(Port()); }

private:
    TestServerProcess process_;
};

// A password with blanks, quotes and a backslash, whose leading "!" the
// client would take as a shell escape creating marker, were the password
// ever read as a command of its own.
inline std::string HostilePassword(const std::string& marker) { return "!touch " + marker + " \"a\\b\" 'c'"; }

// A port on 127.0.0.1 where nothing listens (bound, then released).
int UnusedLocalPort();

// The regular files under the folder whose bytes hold the text.
std::vector<std::filesystem::path> FilesHolding(const std::filesystem::path& folder, const std::string& text);

}  // namespace ostrel::test
