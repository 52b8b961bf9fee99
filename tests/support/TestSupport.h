#pragma once
// Helpers shared by the tests: temporary folders, file contents, and running
// ostrel-cli as a user would.

#include <filesystem>
#include <string>
#include <vector>

namespace ostrel::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

struct RunResult {
    int status = -1;     // exit status, or -1 when the process did not exit normally
    std::string out;     // standard output
    std::string err;     // standard error
};

// Runs ostrel-cli with the arguments, feeding stdinBytes to its standard input.
RunResult runCli(const std::vector<std::string>& args, const std::string& stdinBytes = {});

}  // namespace ostrel::test
