#pragma once
// Sends one file over SFTP or FTP with explicit TLS through libcurl. Run()
// holds the thread it runs on until the upload has ended, so a window runs
// it in a thread of its own; the observer is told the progress and asked
// about identities that cannot be confirmed otherwise.
//
// SFTP checks the server's host key against the known-hosts file: a known
// key passes, a changed one is refused, an unknown one passes only when the
// user trusts it (a trusted fingerprint of the request, or the observer's
// answer). It logs in with the user's ssh agent or key files; the password,
// when one is given, only where those are missing or refused, on a second
// connection within the same time limit. FTPS verifies the certificate against the
// system's store and the host name; one that fails passes only when the
// user trusts its fingerprint.

#include <chrono>
#include <string>
#include <vector>

#include "platform/upload/UploadRequest.h"

namespace ostrel {

class TCurlUpload {
public:
    TCurlUpload(const TUploadRequest& request, TUploadObserver& observer);
    ~TCurlUpload();
    TCurlUpload(const TCurlUpload&) = delete;
    TCurlUpload& operator=(const TCurlUpload&) = delete;

    TUploadResult Run();

    // Called by libcurl and OpenSSL from inside Run().
    struct TCallbacks;

private:
    enum class TSshLogin { Keys, Password };

    TUploadResult Attempt(TSshLogin login);
    TUploadResult Perform(void* curl);
    void SetSftpOptions(void* curl);
    void SetFtpsOptions(void* curl);
    TUploadResult Outcome(int code, void* curl);
    void StoreHostKey(const std::string& blob);
    bool TrustsCertificate(const TPeerIdentity& certificate);

    const TUploadRequest& request_;
    TUploadObserver& observer_;
    int port_ = 0;
    void* file_ = nullptr;  // the FILE* being sent, owned by Run()
    uint64_t fileSize_ = 0;
    bool readFailed_ = false;
    char errorBuffer_[256] = {};
    std::string privateKey_;
    std::string publicKey_;
    std::vector<std::string> acceptedHere_;  // identities accepted during this upload
    TSshLogin login_ = TSshLogin::Keys;
    std::chrono::steady_clock::time_point deadline_;
    TUploadResult result_;  // what the callbacks found on the way
};

// The URL libcurl is given: the folder's and the name's bytes
// percent-encoded, an absolute folder from the server's root, a relative
// one (or none) from the login folder.
std::string UploadUrl(const TUploadRequest& request);

// Why a request cannot be sent as it is; empty when it can.
std::string CheckUploadRequest(const TUploadRequest& request);

}  // namespace ostrel
