#include "platform/upload/Fingerprint.h"

#include <openssl/evp.h>
#include <openssl/sha.h>

#include <cctype>

namespace ostrel {

std::string Sha256(std::string_view bytes)
{
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
    return std::string(reinterpret_cast<const char*>(digest), sizeof digest);
}

std::string Base64(std::string_view bytes)
{
    std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                                  reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    text.resize(static_cast<size_t>(n));
    return text;
}

std::string FromBase64(std::string_view text)
{
    if (text.empty() || text.size() % 4 != 0)
        return {};
    std::string bytes(3 * text.size() / 4, '\0');
    const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(bytes.data()),
                                  reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    if (n < 0)
        return {};
    // The decoder counts the padding as bytes.
    size_t padding = 0;
    for (size_t i = text.size(); i > 0 && text[i - 1] == '='; --i)
        ++padding;
    bytes.resize(static_cast<size_t>(n) - padding);
    return bytes;
}

std::string SshKeyFingerprint(std::string_view blob)
{
    std::string text = Base64(Sha256(blob));
    while (!text.empty() && text.back() == '=')
        text.pop_back();
    return "SHA256:" + text;
}

std::string CertificateFingerprint(std::string_view der)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "SHA256:";
    const std::string digest = Sha256(der);
    for (size_t i = 0; i < digest.size(); ++i) {
        const auto byte = static_cast<unsigned char>(digest[i]);
        if (i > 0)
            text += ':';
        text += kHex[byte >> 4];
        text += kHex[byte & 15];
    }
    return text;
}

bool SameFingerprint(std::string_view a, std::string_view b)
{
    if (a == b)
        return true;
    // Only the hex form has colons; base64 is case-sensitive.
    if (a.size() != b.size() || a.find(':', 7) == std::string_view::npos)
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace ostrel
