#pragma once
// The SHA-256 fingerprints shown for an SSH host key (OpenSSH's form,
// "SHA256:" and unpadded base64) and for a certificate (pairs of hex digits
// joined by colons, as certificate viewers show them).

#include <string>
#include <string_view>

namespace ostrel {

std::string Sha256(std::string_view bytes);
std::string Base64(std::string_view bytes);
// Empty for text that is not base64.
std::string FromBase64(std::string_view text);

// blob: the key in the SSH wire form.
std::string SshKeyFingerprint(std::string_view blob);
// der: the certificate in DER.
std::string CertificateFingerprint(std::string_view der);

// Whether two fingerprints name the same thing: the hex form ignores case.
bool SameFingerprint(std::string_view a, std::string_view b);

}  // namespace ostrel
