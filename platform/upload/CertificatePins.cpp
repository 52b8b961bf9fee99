#include "platform/upload/CertificatePins.h"


#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/OstRegistry.h"

namespace ostrel {

namespace {

std::string Server(std::string_view host, int port) { return std::string(host) + ':' + std::to_string(port); }

std::string Pin(std::string_view host, int port, std::string_view fingerprint)
{
    return Server(host, port) + ' ' + std::string(fingerprint);
}

// The fingerprint of a pin line for the server, empty when it names another.
std::string FingerprintFor(const std::string& line, const std::string& server)
{
    if (line.size() <= server.size() + 1 || line.compare(0, server.size(), server) != 0 || line[server.size()] != ' ')
        return {};
    return line.substr(server.size() + 1);
}

}  // namespace

TCertificatePins::TCertificatePins(std::string file) : file_(std::move(file)) {}

std::vector<std::string> TCertificatePins::For(std::string_view host, int port) const
{
    const std::string server = Server(host, port);
    std::vector<std::string> fingerprints;
    for (const std::string& line : session_)
        if (std::string fingerprint = FingerprintFor(line, server); !fingerprint.empty())
            fingerprints.push_back(std::move(fingerprint));
    if (file_.empty())
        return fingerprints;
    std::ifstream in(file_);
    for (std::string line; std::getline(in, line);)
        if (std::string fingerprint = FingerprintFor(line, server); !fingerprint.empty())
            fingerprints.push_back(std::move(fingerprint));
    return fingerprints;
}

void TCertificatePins::PinForSession(std::string_view host, int port, std::string_view fingerprint)
{
    session_.push_back(Pin(host, port, fingerprint));
}

void TCertificatePins::Remember(std::string_view host, int port, std::string_view fingerprint)
{
    PinForSession(host, port, fingerprint);
    if (file_.empty())
        return;
    const std::filesystem::path folder = std::filesystem::path(file_).parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::ofstream out(file_, std::ios::app);
    out << Pin(host, port, fingerprint) << '\n';
    out.flush();
    if (!out)
        throw std::system_error(errno ? errno : EIO, std::generic_category(), "cannot write " + file_);
}

std::string DefaultCertificatePinsFile() { return (DefaultRegistryFile().parent_path() / "trusted-certificates").string(); }

}  // namespace ostrel
