#pragma once
// One upload over SFTP or FTP with explicit TLS: what to send where, what
// came of it, and the questions a transfer may have to ask on its way.

#include <cstdint>
#include <string>
#include <vector>

namespace ostrel {

enum class TUploadProtocol { Sftp, Ftps };

// The protocol's usual port.
int DefaultPort(TUploadProtocol protocol);
// "SFTP", "FTPS".
const char* ProtocolName(TUploadProtocol protocol);

inline constexpr int kDefaultUploadTimeLimit = 300;  // seconds

struct TUploadRequest {
    TUploadProtocol protocol = TUploadProtocol::Sftp;
    std::string host;        // a name or an address, IPv6 without brackets
    int port = 0;            // 0: the protocol's usual port
    std::string user;
    std::string password;    // empty: SFTP tries the keys alone
    std::string folder;      // remote folder; absolute with "/", else from the login folder
    std::string localPath;   // the file to send
    std::string targetName;  // its name on the server, without a folder
    int timeLimitSeconds = kDefaultUploadTimeLimit;  // the whole upload, connection included
    std::string knownHostsPath;  // SFTP: the OpenSSH known-hosts file
    // Fingerprints the user has already trusted for this server: an SSH host
    // key that is not yet known, or a certificate that cannot be verified.
    std::vector<std::string> trustedFingerprints;
};

// A server's identity that could not be confirmed on its own.
struct TPeerIdentity {
    std::string host;
    int port = 0;
    std::string keyType;      // "ssh-ed25519"..., or "certificate"
    std::string fingerprint;  // "SHA256:..."
    std::string details;      // a certificate's subject, issuer and why it failed
};

enum class TTrustAnswer { Reject, AcceptOnce, AcceptAndRemember };

// Told about an upload while it runs, on the thread that runs it.
class TUploadObserver {
public:
    virtual ~TUploadObserver() = default;
    virtual void Progress(uint64_t sent, uint64_t total) = 0;
    // An SSH host key the known-hosts file does not hold. Remember: the key
    // goes into that file.
    virtual TTrustAnswer TrustHostKey(const TPeerIdentity& key) = 0;
    // A certificate the system does not trust, or that names another host.
    virtual TTrustAnswer TrustCertificate(const TPeerIdentity& certificate) = 0;
    // Whether the user has asked to stop.
    virtual bool Cancelled() const = 0;
};

enum class TUploadError {
    None,
    BadRequest,       // a field the upload cannot use
    LocalFile,        // the file to send cannot be read
    NotConnected,     // no connection to the server
    NoTls,            // the server does not offer TLS
    LoginRefused,
    HostKeyUnknown,   // not trusted by the user
    HostKeyChanged,   // differs from the one the known-hosts file holds
    CertificateUntrusted,
    RemoteRefused,    // the folder or the file was refused
    TimedOut,
    Cancelled,
    Incomplete,       // the server confirmed fewer bytes than the file has
    Other
};

struct TUploadResult {
    TUploadError error = TUploadError::Other;
    std::string detail;       // the transfer's own words, in English
    uint64_t bytesSent = 0;
    TPeerIdentity identity;   // for the host-key and certificate errors
    // Identities the user accepted on the way and asked to keep for the
    // session or for good; the caller keeps them.
    std::vector<TPeerIdentity> acceptedOnce;
    std::vector<TPeerIdentity> acceptedForGood;

    bool Succeeded() const { return error == TUploadError::None; }
};

// What went wrong, in English, for ostrel-cli's standard error.
std::string UploadFailureText(const TUploadResult& result);

}  // namespace ostrel
