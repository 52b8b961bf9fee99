#include "platform/upload/UploadRequest.h"

#include "platform/upload/KnownHosts.h"

namespace ostrel {

namespace {

std::string Reason(const TUploadResult& r)
{
    const std::string server = KnownHostsName(r.identity.host, r.identity.port);
    switch (r.error) {
    case TUploadError::None:
        return "none";
    case TUploadError::BadRequest:
        return "invalid parameters";
    case TUploadError::LocalFile:
        return "cannot read the file";
    case TUploadError::NotConnected:
        return "no connection to the server";
    case TUploadError::NoTls:
        return "the server does not offer TLS";
    case TUploadError::LoginRefused:
        return "the server refused the user or the password";
    case TUploadError::HostKeyUnknown:
        return "unknown host key of " + server + " (" + r.identity.keyType + " " + r.identity.fingerprint +
               "); if it is the server's, pass --trust " + r.identity.fingerprint;
    case TUploadError::HostKeyChanged:
        return "WARNING: the host key of " + server + " has CHANGED (now " + r.identity.keyType + " " +
               r.identity.fingerprint +
               "); someone may be impersonating the server; the known-hosts file was left as it is";
    case TUploadError::CertificateUntrusted:
        return "untrusted certificate of " + server + " (" + r.identity.fingerprint + ", " + r.identity.details +
               "); if it is the server's, pass --trust " + r.identity.fingerprint;
    case TUploadError::RemoteRefused:
        return "the server refused the folder or the file";
    case TUploadError::TimedOut:
        return "the time limit ran out";
    case TUploadError::Cancelled:
        return "cancelled";
    case TUploadError::Incomplete:
        return "the server did not receive the whole file";
    case TUploadError::Other:
        break;
    }
    return "transfer error";
}

}  // namespace

int DefaultPort(TUploadProtocol protocol) { return protocol == TUploadProtocol::Sftp ? 22 : 21; }

const char* ProtocolName(TUploadProtocol protocol) { return protocol == TUploadProtocol::Sftp ? "SFTP" : "FTPS"; }

std::string UploadFailureText(const TUploadResult& result)
{
    std::string text = Reason(result);
    if (!result.detail.empty())
        text += " (" + result.detail + ")";
    return text;
}

}  // namespace ostrel
