#include "support/FtpTestServer.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "support/TestSupport.h"

extern char** environ;

namespace ostrel::test {

namespace {

namespace fs = std::filesystem;

constexpr const char* kPython = "/usr/bin/python3";

pid_t Spawn(std::vector<std::string> words, int input, int output)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0)
        posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    if (output >= 0)
        posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

int WaitFor(pid_t pid)
{
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) < 0)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadLine(int fd)
{
    std::string line;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

std::string Script(const std::string& name) { return std::string(OSTREL_TEST_DATA) + "/ftp/" + name; }

// The password goes through a file, never the command line.
class PasswordFile {
public:
    explicit PasswordFile(const std::string& password) { WriteFile(Path(), password); }
    fs::path Path() const { return folder_ / "password"; }

private:
    TempDir folder_;
};

}  // namespace

bool TestServerProcess::PythonHas(const std::vector<std::string>& modules)
{
    std::string imports = "import warnings; warnings.simplefilter('ignore')";
    for (const std::string& module : modules)
        imports += "; import " + module;
    return WaitFor(Spawn({kPython, "-c", imports}, -1, -1)) == 0;
}

TestServerProcess::TestServerProcess(const std::string& script, std::vector<std::string> arguments, int firstLines)
{
    int toServer[2];
    int fromServer[2];
    if (pipe2(toServer, O_CLOEXEC) != 0 || pipe2(fromServer, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    arguments.insert(arguments.begin(), {kPython, Script(script)});
    pid_ = Spawn(std::move(arguments), toServer[0], fromServer[1]);
    close(toServer[0]);
    close(fromServer[1]);
    input_ = toServer[1];
    const std::string port = ReadLine(fromServer[0]);
    for (int i = 1; i < firstLines; ++i)
        lines_.push_back(ReadLine(fromServer[0]));
    close(fromServer[0]);
    if (pid_ < 0 || port.empty()) {
        close(input_);
        WaitFor(pid_);
        throw std::runtime_error("the test server " + script + " did not start");
    }
    port_ = std::stoi(port);
}

TestServerProcess::~TestServerProcess()
{
    close(input_);
    WaitFor(pid_);
}

bool FtpTestServer::Available() { return TestServerProcess::PythonHas({"pyftpdlib"}); }

bool FtpTestServer::TlsAvailable() { return TestServerProcess::PythonHas({"pyftpdlib", "OpenSSL"}); }

namespace {

std::vector<std::string> FtpArguments(const fs::path& home, const std::string& user, const fs::path& password,
                                      const fs::path& certificate)
{
    std::vector<std::string> arguments{home.string(), user, password.string()};
    if (!certificate.empty())
        arguments.push_back(certificate.string());
    return arguments;
}

}  // namespace

FtpTestServer::FtpTestServer(const fs::path& home, const std::string& user, const std::string& password,
                             const fs::path& certificate)
    : process_("ftp_server.py", FtpArguments(home, user, PasswordFile(password).Path(), certificate),
               certificate.empty() ? 1 : 2)
{
}

std::string FtpTestServer::Fingerprint() const { return process_.Lines().at(0); }

bool SftpTestServer::Available() { return TestServerProcess::PythonHas({"asyncssh"}); }

namespace {

std::vector<std::string> SftpArguments(const fs::path& home, const std::string& user, const fs::path& password,
                                       const fs::path& hostKey, const fs::path& authorizedKeys)
{
    std::vector<std::string> arguments{home.string(), user, password.string(), hostKey.string()};
    if (!authorizedKeys.empty())
        arguments.push_back(authorizedKeys.string());
    return arguments;
}

}  // namespace

SftpTestServer::SftpTestServer(const fs::path& home, const std::string& user, const std::string& password,
                               const fs::path& hostKey, const fs::path& authorizedKeys)
    : process_("sftp_server.py", SftpArguments(home, user, PasswordFile(password).Path(), hostKey, authorizedKeys),
               2)
{
}

TrickleTestServer::TrickleTestServer(double intervalSeconds)
    : process_("trickle_server.py", {std::to_string(intervalSeconds)}, 1)
{
}

int UnusedLocalPort()
{
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    close(s);
    return ntohs(address.sin_port);
}

std::vector<fs::path> FilesHolding(const fs::path& folder, const std::string& text)
{
    std::vector<fs::path> found;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file(error) && ReadFile(it->path()).find(text) != std::string::npos)
            found.push_back(it->path());
    }
    return found;
}

}  // namespace ostrel::test
