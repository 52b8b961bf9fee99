// ostrel-cli detect: the encoding the editor would open each file in.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#include "cli/CliCommand.h"
#include "platform/FtpScriptFile.h"
#include "platform/TextEncoding.h"

namespace ostrel::cli {

namespace {

// The whole content of a regular file. Anything else (a FIFO, a device, a
// folder) is refused before a byte is read: reading it could block or never
// end. On failure, returns false with the reason in error.
bool ReadRegularFile(const std::string& path, std::string& content, std::string& error)
{
    // Non-blocking, so that opening a FIFO without a writer does not wait.
    const TUniqueFd file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.IsOpen() || ::fstat(file.Get(), &info) != 0) {
        error = "cannot read '" + path + "': " + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "'" + path + "' is not a regular file";
        return false;
    }
    content.resize(static_cast<size_t>(info.st_size));
    size_t got = 0;
    for (;;) {
        if (got == content.size())
            content.resize(got + 65536);  // the file has grown since fstat
        const ssize_t n = ::read(file.Get(), content.data() + got, content.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = "cannot read '" + path + "': " + std::strerror(errno);
            return false;
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    content.resize(got);
    return true;
}

}  // namespace

int RunDetect(const Args& args)
{
    std::vector<std::string> files;
    bool options = true;
    for (const std::string& arg : args) {
        if (options && arg == "--")
            options = false;
        else if (options && arg.starts_with("-") && arg.size() > 1)
            return Fail(kExitUsage, "detect: unknown option '" + arg + "'");
        else
            files.push_back(arg);
    }
    if (files.empty())
        return Fail(kExitUsage, "detect: usage: detect FILE...");
    int status = kExitOk;
    std::string content;
    for (const std::string& path : files) {
        std::string error;
        if (!ReadRegularFile(path, content, error)) {
            Fail(kExitFailure, "detect: " + error);
            status = kExitFailure;
            continue;
        }
        std::cout << EncodingName(DetectEncoding(content)) << '\t' << path << '\n';
    }
    std::cout.flush();
    return status;
}

}  // namespace ostrel::cli
