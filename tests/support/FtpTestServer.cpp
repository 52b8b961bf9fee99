#include "support/FtpTestServer.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

#include "support/TestSupport.h"

extern char** environ;

namespace ostrel::test {

namespace {

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

}  // namespace

bool FtpTestServer::Available()
{
    return WaitFor(Spawn({kPython, "-c", "import pyftpdlib"}, -1, -1)) == 0;
}

FtpTestServer::FtpTestServer(const std::filesystem::path& home, const std::string& user,
                             const std::string& password)
{
    // The password goes through a file, never the command line.
    TempDir secret;
    writeFile(secret / "password", password);
    int toServer[2];
    int fromServer[2];
    if (pipe2(toServer, O_CLOEXEC) != 0 || pipe2(fromServer, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    pid_ = Spawn({kPython, std::string(OSTREL_TEST_DATA) + "/ftp/ftp_server.py", home.string(), user,
                  (secret / "password").string()},
                 toServer[0], fromServer[1]);
    close(toServer[0]);
    close(fromServer[1]);
    input_ = toServer[1];
    const std::string port = ReadLine(fromServer[0]);
    close(fromServer[0]);
    if (pid_ < 0 || port.empty()) {
        close(input_);
        WaitFor(pid_);
        throw std::runtime_error("the FTP test server did not start");
    }
    port_ = std::stoi(port);
}

FtpTestServer::~FtpTestServer()
{
    close(input_);
    WaitFor(pid_);
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

}  // namespace ostrel::test
