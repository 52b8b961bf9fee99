// ostrel-cli ftp: the editor's FTP upload without a window. The same script
// goes to the same console client; the client's dialogue is passed through,
// and the status tells whether the server confirmed the transfer.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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

extern char** environ;

namespace ostrel::cli {

namespace {

constexpr const char* kUsage =
    "ftp: usage: ftp --server \"HOST[ PORT]\" --user NAME [--password-file FILE] [--dir DIR] "
    "[--target NAME] [--bye] FILE";

struct TFtpOptions {
    TFtpParameters parameters;
    std::string passwordFile;
    std::string file;
};

// Fills options from the arguments; false on a usage error.
bool ParseOptions(const Args& args, TFtpOptions& options)
{
    TFtpParameters& p = options.parameters;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--bye")
            p.closeAfterSending = true;
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
    pid_t pid = -1;
    const int error = posix_spawn(&pid, client.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

// Passes the client's output through to stdout while reading its outcome.
void RelayOutput(int outputFd, TFtpTranscript& transcript)
{
    char chunk[4096];
    for (;;) {
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
}

void WaitFor(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

int RunClient(const std::string& client, const std::string& script)
{
    TFtpScriptFile scriptFile;
    scriptFile.Write(script);
    const TUniqueFd input = scriptFile.OpenForClient();
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return fail(kExitFailure, "ftp: cannot create a pipe");
    TUniqueFd readEnd(pipeFds[0]);
    TUniqueFd writeEnd(pipeFds[1]);
    const pid_t pid = StartClient(client, input.Get(), writeEnd.Get());
    if (pid < 0)
        return fail(kExitFailure, "ftp: cannot start " + client);
    writeEnd = TUniqueFd();
    TFtpTranscript transcript;
    RelayOutput(readEnd.Get(), transcript);
    WaitFor(pid);
    if (transcript.Succeeded())
        return kExitOk;
    if (transcript.Outcome() == TFtpOutcome::NoConfirmation)
        return fail(kExitFailure, "ftp: upload failed: the client ended without confirming the transfer");
    return fail(kExitFailure, "ftp: upload failed: " + transcript.DecidingLine());
}

}  // namespace

int runFtp(const Args& args)
{
    TFtpOptions options;
    if (!ParseOptions(args, options))
        return fail(kExitUsage, kUsage);
    TFtpParameters& p = options.parameters;
    if (!options.passwordFile.empty()) {
        const std::optional<std::string> password = ReadPassword(options.passwordFile);
        if (!password)
            return fail(kExitFailure, "ftp: cannot read the password file '" + options.passwordFile + "'");
        p.password = *password;
    }
    std::error_code error;
    const std::filesystem::path local = std::filesystem::absolute(options.file, error);
    if (error || !std::filesystem::is_regular_file(local, error) || ::access(local.c_str(), R_OK) != 0)
        return fail(kExitFailure, "ftp: cannot read '" + options.file + "'");
    p.localPath = local.string();
    if (p.targetName.empty())
        p.targetName = local.filename().string();
    const char* searchPath = std::getenv("PATH");
    const std::string client = FindFtpClient(searchPath ? searchPath : "");
    if (client.empty())
        return fail(kExitFailure, "ftp: no FTP client found (ftp, tnftp or inetutils-ftp)");
    try {
        return RunClient(client, BuildFtpScript(p));
    } catch (const std::exception& e) {
        return fail(kExitFailure, std::string("ftp: ") + e.what());
    }
}

}  // namespace ostrel::cli
