#include "platform/upload/CurlUpload.h"

#include <curl/curl.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "platform/upload/Fingerprint.h"
#include "platform/upload/KnownHosts.h"

namespace ostrel {

namespace {

struct TCurlCleanup {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct TFileClose {
    void operator()(FILE* file) const { std::fclose(file); }
};

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool IsUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

std::string PercentEncode(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(byte)) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 15];
        }
    }
    return encoded;
}

// The folder's non-empty segments, each encoded, each followed by "/".
std::string EncodedFolder(std::string_view folder)
{
    std::string path;
    while (!folder.empty()) {
        const size_t slash = folder.find('/');
        const std::string_view segment = folder.substr(0, slash);
        folder = slash == std::string_view::npos ? std::string_view() : folder.substr(slash + 1);
        if (!segment.empty())
            path += PercentEncode(segment) + '/';
    }
    return path;
}

std::string UrlHost(const std::string& host)
{
    return host.find(':') == std::string::npos ? host : '[' + host + ']';
}

int PortOf(const TUploadRequest& request) { return request.port > 0 ? request.port : DefaultPort(request.protocol); }

bool HasControlCharacter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

// The first of the user's usual private keys that exists.
std::string DefaultPrivateKey()
{
    const char* home = std::getenv("HOME");
    if (!home || !*home)
        return {};
    for (const char* name : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
        const std::string path = std::string(home) + "/.ssh/" + name;
        if (::access(path.c_str(), R_OK) == 0)
            return path;
    }
    return {};
}

bool AgentAvailable()
{
    const char* socket = std::getenv("SSH_AUTH_SOCK");
    struct stat info {};
    return socket && *socket && ::stat(socket, &info) == 0 && S_ISSOCK(info.st_mode);
}

std::string KeyBlob(const curl_khkey& key)
{
    if (key.len > 0)
        return std::string(key.key, key.len);
    return FromBase64(key.key ? key.key : "");
}

// Over TLS 1.3, libcurl before 8.10 (which learnt to shut TLS connections
// down properly) now and then ends an FTPS data connection with a reset
// while the server still has part of the upload to read: the server loses
// that part, and one that takes the reset for the end of the file stores it
// shortened and reports success. Over TLS 1.2 the connection ends cleanly.
bool ClosesDataConnectionAbruptly()
{
    return curl_version_info(CURLVERSION_NOW)->version_num < 0x080a00;
}

std::string CertificateDer(X509* certificate)
{
    unsigned char* der = nullptr;
    const int size = i2d_X509(certificate, &der);
    if (size <= 0)
        return {};
    std::string bytes(reinterpret_cast<const char*>(der), static_cast<size_t>(size));
    OPENSSL_free(der);
    return bytes;
}

std::string NameText(const X509_NAME* name)
{
    char text[256] = {};
    X509_NAME_oneline(name, text, sizeof text);
    return text;
}

bool NamesHost(X509* certificate, const std::string& host)
{
    if (X509_check_ip_asc(certificate, host.c_str(), 0) == 1)
        return true;
    return X509_check_host(certificate, host.c_str(), host.size(), 0, nullptr) == 1;
}

bool Contains(const std::vector<std::string>& fingerprints, const std::string& fingerprint)
{
    return std::any_of(fingerprints.begin(), fingerprints.end(),
                       [&](const std::string& trusted) { return SameFingerprint(trusted, fingerprint); });
}

TUploadError ErrorOf(CURLcode code)
{
    switch (code) {
    case CURLE_OK:
        return TUploadError::None;
    case CURLE_READ_ERROR:
        return TUploadError::LocalFile;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_SSH:
        return TUploadError::NotConnected;
    case CURLE_USE_SSL_FAILED:
        return TUploadError::NoTls;
    case CURLE_LOGIN_DENIED:
        return TUploadError::LoginRefused;
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_REMOTE_DISK_FULL:
    case CURLE_REMOTE_FILE_EXISTS:
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
        return TUploadError::RemoteRefused;
    case CURLE_OPERATION_TIMEDOUT:
        return TUploadError::TimedOut;
    case CURLE_ABORTED_BY_CALLBACK:
        return TUploadError::Cancelled;
    default:
        return TUploadError::Other;
    }
}

}  // namespace

struct TCurlUpload::TCallbacks {
    static size_t Read(char* buffer, size_t size, size_t count, void* self)
    {
        auto& upload = *static_cast<TCurlUpload*>(self);
        auto* file = static_cast<FILE*>(upload.file_);
        const size_t n = std::fread(buffer, 1, size * count, file);
        if (n == 0 && std::ferror(file)) {
            upload.readFailed_ = true;
            return CURL_READFUNC_ABORT;
        }
        return n;
    }

    static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t sent)
    {
        auto& upload = *static_cast<TCurlUpload*>(self);
        upload.observer_.Progress(static_cast<uint64_t>(sent), upload.fileSize_);
        return upload.observer_.Cancelled() ? 1 : 0;
    }

    static int HostKey(CURL*, const curl_khkey*, const curl_khkey* found, curl_khmatch match, void* self)
    {
        auto& upload = *static_cast<TCurlUpload*>(self);
        if (match == CURLKHMATCH_OK)
            return CURLKHSTAT_FINE;
        const std::string blob = KeyBlob(*found);
        TPeerIdentity& key = upload.result_.identity;
        key = {upload.request_.host, upload.port_, SshKeyType(blob), SshKeyFingerprint(blob), {}};
        if (match == CURLKHMATCH_MISMATCH) {
            upload.result_.error = TUploadError::HostKeyChanged;
            return CURLKHSTAT_REJECT;
        }
        // Accepted once already when the keys were tried.
        if (Contains(upload.acceptedHere_, key.fingerprint))
            return CURLKHSTAT_FINE;
        TTrustAnswer answer = TTrustAnswer::AcceptAndRemember;
        if (!Contains(upload.request_.trustedFingerprints, key.fingerprint))
            answer = upload.observer_.TrustHostKey(key);
        if (answer == TTrustAnswer::Reject || upload.observer_.Cancelled()) {
            upload.result_.error = TUploadError::HostKeyUnknown;
            return CURLKHSTAT_REJECT;
        }
        upload.acceptedHere_.push_back(key.fingerprint);
        if (answer == TTrustAnswer::AcceptAndRemember)
            upload.StoreHostKey(blob);
        return CURLKHSTAT_FINE;
    }

    static CURLcode SslContext(CURL*, void* context, void* self)
    {
        SSL_CTX_set_cert_verify_callback(static_cast<SSL_CTX*>(context), VerifyCertificate, self);
        return CURLE_OK;
    }

    // The system's verdict first, then the user's.
    static int VerifyCertificate(X509_STORE_CTX* store, void* self)
    {
        auto& upload = *static_cast<TCurlUpload*>(self);
        const bool chainTrusted = X509_verify_cert(store) == 1;
        X509* leaf = X509_STORE_CTX_get0_cert(store);
        if (!leaf)
            return 0;
        const bool hostNamed = NamesHost(leaf, upload.request_.host);
        if (chainTrusted && hostNamed)
            return 1;
        const std::string why = !chainTrusted ? X509_verify_cert_error_string(X509_STORE_CTX_get_error(store))
                                              : "the certificate is for another host";
        TPeerIdentity certificate{upload.request_.host, upload.port_, "certificate",
                                  CertificateFingerprint(CertificateDer(leaf)),
                                  "subject " + NameText(X509_get_subject_name(leaf)) + ", issuer " +
                                      NameText(X509_get_issuer_name(leaf)) + ": " + why};
        if (!upload.TrustsCertificate(certificate)) {
            upload.result_.error = TUploadError::CertificateUntrusted;
            upload.result_.identity = certificate;
            return 0;
        }
        X509_STORE_CTX_set_error(store, X509_V_OK);
        return 1;
    }
};

TCurlUpload::TCurlUpload(const TUploadRequest& request, TUploadObserver& observer)
    : request_(request), observer_(observer), port_(PortOf(request))
{
    InitCurlOnce();
}

TCurlUpload::~TCurlUpload() = default;

TUploadResult TCurlUpload::Run()
{
    result_ = {};
    if (std::string problem = CheckUploadRequest(request_); !problem.empty()) {
        result_.error = TUploadError::BadRequest;
        result_.detail = std::move(problem);
        return result_;
    }
    const std::unique_ptr<FILE, TFileClose> file(std::fopen(request_.localPath.c_str(), "rb"));
    struct stat info {};
    if (!file || ::fstat(::fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
        result_.error = TUploadError::LocalFile;
        result_.detail = "cannot read " + request_.localPath;
        return result_;
    }
    file_ = file.get();
    fileSize_ = static_cast<uint64_t>(info.st_size);
    deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(std::max(1, request_.timeLimitSeconds));
    privateKey_ = DefaultPrivateKey();
    const bool hasPassword = !request_.password.empty();
    if (request_.protocol == TUploadProtocol::Ftps || !hasPassword)
        return Attempt(TSshLogin::Keys);
    if (privateKey_.empty() && !AgentAvailable())
        return Attempt(TSshLogin::Password);
    // The password only where the keys were refused.
    TUploadResult result = Attempt(TSshLogin::Keys);
    if (result.error != TUploadError::LoginRefused)
        return result;
    return Attempt(TSshLogin::Password);
}

TUploadResult TCurlUpload::Attempt(TSshLogin login)
{
    std::rewind(static_cast<FILE*>(file_));
    readFailed_ = false;
    errorBuffer_[0] = '\0';
    result_.error = TUploadError::Other;
    result_.detail.clear();
    login_ = login;
    const std::unique_ptr<CURL, TCurlCleanup> curl(curl_easy_init());
    if (!curl) {
        result_.detail = "libcurl could not start";
        return result_;
    }
    return Perform(curl.get());
}

TUploadResult TCurlUpload::Perform(void* handle)
{
    CURL* curl = handle;
    const std::string url = UploadUrl(request_);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_USERNAME, request_.user.c_str());
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, &TCallbacks::Read);
    curl_easy_setopt(curl, CURLOPT_READDATA, this);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(fileSize_));
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &TCallbacks::Progress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    // What is left of the limit: a second login shares it with the first.
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - std::chrono::steady_clock::now());
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(std::max<int64_t>(1, left.count())));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer_);
    if (request_.protocol == TUploadProtocol::Sftp)
        SetSftpOptions(curl);
    else
        SetFtpsOptions(curl);
    const CURLcode code = curl_easy_perform(curl);
    return Outcome(code, curl);
}

void TCurlUpload::SetSftpOptions(void* handle)
{
    CURL* curl = handle;
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "sftp");
    if (login_ == TSshLogin::Password) {
        curl_easy_setopt(curl, CURLOPT_PASSWORD, request_.password.c_str());
        curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES, static_cast<long>(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
    } else {
        curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES, static_cast<long>(CURLSSH_AUTH_AGENT | CURLSSH_AUTH_PUBLICKEY));
    }
    if (login_ == TSshLogin::Keys && !privateKey_.empty()) {
        curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, privateKey_.c_str());
        publicKey_ = privateKey_ + ".pub";
        if (::access(publicKey_.c_str(), R_OK) == 0)
            curl_easy_setopt(curl, CURLOPT_SSH_PUBLIC_KEYFILE, publicKey_.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_SSH_KNOWNHOSTS, request_.knownHostsPath.c_str());
    curl_easy_setopt(curl, CURLOPT_SSH_KEYFUNCTION, &TCallbacks::HostKey);
    curl_easy_setopt(curl, CURLOPT_SSH_KEYDATA, this);
}

void TCurlUpload::SetFtpsOptions(void* handle)
{
    CURL* curl = handle;
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(curl, CURLOPT_PASSWORD, request_.password.c_str());
    curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    if (ClosesDataConnectionAbruptly())
        curl_easy_setopt(curl, CURLOPT_SSLVERSION,
                         static_cast<long>(CURL_SSLVERSION_TLSv1_2) | static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2));
    // The certificate check names the host itself, so that a certificate the
    // user has accepted may name another; without it libcurl checks.
    if (curl_easy_setopt(curl, CURLOPT_SSL_CTX_FUNCTION, &TCallbacks::SslContext) == CURLE_OK) {
        curl_easy_setopt(curl, CURLOPT_SSL_CTX_DATA, this);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
    } else {
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    }
}

TUploadResult TCurlUpload::Outcome(int codeValue, void* handle)
{
    const auto code = static_cast<CURLcode>(codeValue);
    TUploadResult result = result_;
    curl_off_t sent = 0;
    curl_easy_getinfo(static_cast<CURL*>(handle), CURLINFO_SIZE_UPLOAD_T, &sent);
    result.bytesSent = static_cast<uint64_t>(sent);
    result.detail = errorBuffer_[0] ? errorBuffer_ : curl_easy_strerror(code);
    // A refused identity makes libcurl's error a general one.
    const bool identityRefused = result.error == TUploadError::HostKeyChanged ||
                                 result.error == TUploadError::HostKeyUnknown ||
                                 result.error == TUploadError::CertificateUntrusted;
    if (identityRefused && code != CURLE_OK)
        return result;
    result.error = ErrorOf(code);
    if (code == CURLE_ABORTED_BY_CALLBACK && readFailed_)
        result.error = TUploadError::LocalFile;
    if (code == CURLE_PEER_FAILED_VERIFICATION)
        result.error = request_.protocol == TUploadProtocol::Sftp ? TUploadError::HostKeyUnknown
                                                                 : TUploadError::CertificateUntrusted;
    if (code == CURLE_OK) {
        result.detail.clear();
        if (result.bytesSent != fileSize_) {
            result.error = TUploadError::Incomplete;
            result.detail = std::to_string(result.bytesSent) + " of " + std::to_string(fileSize_) + " bytes sent";
        }
    }
    return result;
}

void TCurlUpload::StoreHostKey(const std::string& blob)
{
    try {
        AppendKnownHost(request_.knownHostsPath, request_.host, port_, blob);
        result_.acceptedForGood.push_back(result_.identity);
    } catch (const std::exception& e) {
        // The key is trusted for this upload all the same.
        result_.acceptedOnce.push_back(result_.identity);
        result_.detail = e.what();
    }
}

bool TCurlUpload::TrustsCertificate(const TPeerIdentity& certificate)
{
    // The data connection shows the same certificate again.
    if (Contains(request_.trustedFingerprints, certificate.fingerprint) ||
        Contains(acceptedHere_, certificate.fingerprint))
        return true;
    const TTrustAnswer answer = observer_.TrustCertificate(certificate);
    if (answer == TTrustAnswer::Reject || observer_.Cancelled())
        return false;
    acceptedHere_.push_back(certificate.fingerprint);
    (answer == TTrustAnswer::AcceptAndRemember ? result_.acceptedForGood : result_.acceptedOnce).push_back(certificate);
    return true;
}

std::string UploadUrl(const TUploadRequest& request)
{
    const bool absolute = !request.folder.empty() && request.folder.front() == '/';
    std::string url = request.protocol == TUploadProtocol::Sftp ? "sftp://" : "ftp://";
    url += UrlHost(request.host) + ':' + std::to_string(PortOf(request)) + '/';
    if (request.protocol == TUploadProtocol::Sftp && !absolute)
        url += "~/";
    if (request.protocol == TUploadProtocol::Ftps && absolute)
        url += "%2F/";
    return url + EncodedFolder(request.folder) + PercentEncode(request.targetName);
}

std::string CheckUploadRequest(const TUploadRequest& r)
{
    if (r.host.empty() || r.host.find_first_of(" /@[]?#") != std::string::npos || HasControlCharacter(r.host))
        return "the server must be a host name or an address";
    if (r.port < 0 || r.port > 65535)
        return "the port must be between 1 and 65535";
    if (r.user.empty())
        return "the user name is missing";
    for (const std::string* field : {&r.user, &r.password, &r.folder, &r.targetName})
        if (HasControlCharacter(*field))
            return "the fields must not contain line breaks or control characters";
    if (r.targetName.empty() || r.targetName.find('/') != std::string::npos || r.targetName == "." ||
        r.targetName == "..")
        return "the target name must be a file name without a folder";
    if (r.protocol == TUploadProtocol::Sftp && r.knownHostsPath.empty())
        return "there is no known-hosts file to check the server's key against (HOME is not set)";
    return {};
}

}  // namespace ostrel
