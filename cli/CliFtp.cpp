// ostrel-cli ftp: the editor's FTP upload without a window. The same script
// goes to the same console client; the client's dialogue is passed through,
// and the status tells whether the server confirmed the transfer. SFTP and
// FTPS go through the same transfer as the window's, with the same checks
// of the server's identity; only fingerprints given with --trust stand in
// for the user's answer.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>
#include <sstream>
#include <string>

#include "cli/CliCommand.h"
#include "platform/FtpScript.h"
#include "platform/FtpScriptFile.h"
#include "platform/FtpTranscript.h"
#include "platform/upload/CurlUpload.h"
#include "platform/upload/KnownHosts.h"

extern char** environ;

namespace ostrel::cli {

namespace {

constexpr const char* kUsage =
    "ftp: usage: ftp [--protocol ftp|sftp|ftps] --server \"HOST[ PORT]\" --user NAME [--password-file FILE] "
    "[--dir DIR] [--target NAME] [--bye] [--timeout SECONDS] [--trust FINGERPRINT]... FILE";

enum class TProtocolChoice { ConsoleFtp, Sftp, Ftps };

struct TFtpOptions {
    TFtpParameters parameters;
    TProtocolChoice protocol = TProtocolChoice::ConsoleFtp;
    int timeLimit = kDefaultUploadTimeLimit;
    std::vector<std::string> trusted;
    std::string passwordFile;
    std::string file;
};

bool ParseProtocol(const std::string& name, TProtocolChoice& protocol)
{
    if (name == "ftp")
        protocol = TProtocolChoice::ConsoleFtp;
    else if (name == "sftp")
        protocol = TProtocolChoice::Sftp;
    else if (name == "ftps")
        protocol = TProtocolChoice::Ftps;
    else
        return false;
    return true;
}

// A whole number from 1 to max, else 0.
int PositiveNumber(std::string_view text, int max)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 1 && value <= max ? value : 0;
}

// Fills options from the arguments; false on a usage error.
bool ParseOptions(const Args& args, TFtpOptions& options)
{
    TFtpParameters& p = options.parameters;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--bye")
            p.closeAfterSending = true;
        else if (a == "--protocol" && hasValue) {
            if (!ParseProtocol(args[++i], options.protocol))
                return false;
        } else if (a == "--timeout" && hasValue) {
            options.timeLimit = PositiveNumber(args[++i], 7 * 24 * 3600);
            if (options.timeLimit == 0)
                return false;
        } else if (a == "--trust" && hasValue)
            options.trusted.push_back(args[++i]);
        else if (a == "--server" && hasValue)
            p.server = args[++i];
        else if (a == "--user" && hasValue)
            p.user = args[++i];
        else if (a == "--password-file" && hasValue)
            options.passwordFile = args[++i];
        else if (a == "--dir" && hasValue)
            p.folder = args[++i];
        else if (a == "--target" && hasValue)
            p.targetName = args[++i];
        else if (a.starts_with("-") || !options.file.empty())
            return false;
        else
            options.file = a;
    }
    return !p.server.empty() && !p.user.empty() && !options.file.empty();
}

// The password is the file's text without the line break that ends it.
std::optional<std::string> ReadPassword(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    std::string password = text.str();
    if (password.ends_with('\n'))
        password.pop_back();
    if (password.ends_with('\r'))
        password.pop_back();
    return password;
}

// Starts the client reading the script from stdin and writing both its
// output streams into one pipe; returns its process id, or -1.
pid_t StartClient(const std::string& client, int scriptFd, int outputFd)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, scriptFd, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDERR_FILENO);
    std::vector<std::string> words{client};
    for (const std::string& argument : FtpClientArguments())
        words.push_back(argument);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    // The client gets the default of the signal this tool ignores.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGXFSZ);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, client.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

// Passes the client's output through to stdout while reading its outcome;
// false when the time limit ran out first.
bool RelayOutput(int outputFd, TFtpTranscript& transcript, int timeLimit)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(timeLimit);
    char chunk[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd ready{outputFd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(std::min<long long>(left, 1000)));
        if (polled < 0 && errno != EINTR)
            break;
        if (polled <= 0)
            continue;
        const ssize_t n = ::read(outputFd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        std::fwrite(chunk, 1, static_cast<size_t>(n), stdout);
        std::fflush(stdout);
        transcript.Feed(std::string_view(chunk, static_cast<size_t>(n)));
    }
    transcript.Finish();
    return true;
}

void WaitFor(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

int RunClient(const std::string& client, const std::string& script, int timeLimit)
{
    TFtpScriptFile scriptFile;
    scriptFile.Write(script);
    const TUniqueFd input = scriptFile.OpenForClient();
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return Fail(kExitFailure, "ftp: cannot create a pipe");
    TUniqueFd readEnd(pipeFds[0]);
    TUniqueFd writeEnd(pipeFds[1]);
    const pid_t pid = StartClient(client, input.Get(), writeEnd.Get());
    if (pid < 0)
        return Fail(kExitFailure, "ftp: cannot start " + client);
    writeEnd = TUniqueFd();
    TFtpTranscript transcript;
    if (!RelayOutput(readEnd.Get(), transcript, timeLimit)) {
        ::kill(pid, SIGKILL);
        WaitFor(pid);
        return Fail(kExitFailure, "ftp: upload failed: the time limit of " + std::to_string(timeLimit) +
                                      " s ran out before the server confirmed the transfer");
    }
    WaitFor(pid);
    if (transcript.Succeeded())
        return kExitOk;
    if (transcript.Outcome() == TFtpOutcome::NoConfirmation)
        return Fail(kExitFailure, "ftp: upload failed: the client ended without confirming the transfer");
    return Fail(kExitFailure, "ftp: upload failed: " + transcript.DecidingLine());
}

// The identities given with --trust answer for the user; nobody else can.
class TCliObserver final : public TUploadObserver {
public:
    void Progress(uint64_t, uint64_t) override {}
    TTrustAnswer TrustHostKey(const TPeerIdentity&) override { return TTrustAnswer::Reject; }
    TTrustAnswer TrustCertificate(const TPeerIdentity&) override { return TTrustAnswer::Reject; }
    bool Cancelled() const override { return false; }
};

// "HOST" or "HOST PORT", as the console client's server field is written.
bool SplitServer(const std::string& server, std::string& host, int& port)
{
    const size_t blank = server.find(' ');
    host = server.substr(0, blank);
    port = 0;
    if (blank == std::string::npos)
        return !host.empty();
    port = PositiveNumber(std::string_view(server).substr(blank + 1), 65535);
    return !host.empty() && port != 0;
}

int RunCurl(const TFtpOptions& options)
{
    const TFtpParameters& p = options.parameters;
    TUploadRequest request;
    request.protocol = options.protocol == TProtocolChoice::Sftp ? TUploadProtocol::Sftp : TUploadProtocol::Ftps;
    if (!SplitServer(p.server, request.host, request.port))
        return Fail(kExitUsage, "ftp: the server must be \"HOST\" or \"HOST PORT\"");
    request.user = p.user;
    request.password = p.password;
    request.folder = p.folder;
    request.localPath = p.localPath;
    request.targetName = p.targetName;
    request.timeLimitSeconds = options.timeLimit;
    request.knownHostsPath = DefaultKnownHostsPath();
    request.trustedFingerprints = options.trusted;
    TCliObserver observer;
    const TUploadResult result = TCurlUpload(request, observer).Run();
    if (!result.Succeeded())
        return Fail(kExitFailure, "ftp: upload failed: " + UploadFailureText(result));
    std::printf("%s: %llu bytes sent to %s\n", ProtocolName(request.protocol),
                static_cast<unsigned long long>(result.bytesSent), UploadUrl(request).c_str());
    return kExitOk;
}

}  // namespace

int RunFtp(const Args& args)
{
    TFtpOptions options;
    if (!ParseOptions(args, options))
        return Fail(kExitUsage, kUsage);
    TFtpParameters& p = options.parameters;
    if (!options.passwordFile.empty()) {
        const std::optional<std::string> password = ReadPassword(options.passwordFile);
        if (!password)
            return Fail(kExitFailure, "ftp: cannot read the password file '" + options.passwordFile + "'");
        p.password = *password;
    }
    std::error_code error;
    const std::filesystem::path local = std::filesystem::absolute(options.file, error);
    if (error || !std::filesystem::is_regular_file(local, error) || ::access(local.c_str(), R_OK) != 0)
        return Fail(kExitFailure, "ftp: cannot read '" + options.file + "'");
    p.localPath = local.string();
    if (p.targetName.empty())
        p.targetName = local.filename().string();
    if (options.protocol != TProtocolChoice::ConsoleFtp)
        return RunCurl(options);
    const char* searchPath = std::getenv("PATH");
    const std::string client = FindFtpClient(searchPath ? searchPath : "");
    if (client.empty())
        return Fail(kExitFailure, "ftp: no FTP client found (ftp, tnftp or inetutils-ftp)");
    try {
        return RunClient(client, BuildFtpScript(p), options.timeLimit);
    } catch (const std::exception& e) {
        return Fail(kExitFailure, std::string("ftp: ") + e.what());
    }
}

}  // namespace ostrel::cli
