#pragma once
// Upload passwords in the desktop's secret store (the Secret Service on the
// session bus, through libsecret), for a user who asks for that. Where no
// such service runs, or the program was built without libsecret, the store
// is not available and says so; nothing falls back to a file.

#include <optional>
#include <string>

namespace ostrel {

struct TPasswordKey {
    std::string protocol;  // "SFTP", "FTPS"
    std::string host;
    int port = 0;
    std::string user;
};

class TPasswordStore {
public:
    // Whether a secret service runs or can be started on the session bus.
    // Asks the bus, never waits long, and starts no bus of its own.
    static bool Available();
    // The stored password, nullopt when there is none; error tells a failure.
    static std::optional<std::string> Lookup(const TPasswordKey& key, std::string& error);
    // False, with error, when the store refused.
    static bool Save(const TPasswordKey& key, const std::string& password, std::string& error);
};

}  // namespace ostrel
