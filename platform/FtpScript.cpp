#include "platform/FtpScript.h"

#include <sys/stat.h>
#include <unistd.h>

namespace ostrel {

namespace {

void RequireOneLine(std::string_view field, const char* what)
{
    if (field.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        throw EFtpScript(std::string("the FTP ") + what + " must not contain a line break");
}

std::string Line(std::string_view command, std::string_view argument)
{
    std::string line(command);
    line += ' ';
    line += argument;
    line += '\n';
    return line;
}

// The client answers a "user" line without a password by asking for one and
// reads the answer as the next line; an empty line so gives the empty
// password instead of swallowing the next command.
std::string LoginLines(const TFtpParameters& p)
{
    if (p.password.empty())
        return Line("user", FtpEscape(p.user)) + '\n';
    return Line("user", FtpEscape(p.user) + ' ' + FtpEscape(p.password));
}

bool IsExecutableFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string FtpEscape(std::string_view field)
{
    std::string escaped;
    escaped.reserve(field.size());
    for (const char c : field) {
        if (c == '\\' || c == '"' || c == ' ' || c == '\t')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string BuildFtpScript(const TFtpParameters& p)
{
    RequireOneLine(p.server, "server");
    RequireOneLine(p.user, "user");
    RequireOneLine(p.password, "password");
    RequireOneLine(p.folder, "folder");
    RequireOneLine(p.localPath, "local path");
    RequireOneLine(p.targetName, "target name");
    if (p.localPath.empty() || p.localPath.front() != '/')
        throw EFtpScript("the local path must be absolute: " + p.localPath);

    std::string script = Line("open", p.server) + LoginLines(p) + "bin\n";
    // A bare "cd" would make the client ask for a folder and take the put
    // line as the answer.
    if (!p.folder.empty())
        script += Line("cd", FtpEscape(p.folder));
    script += Line("put", FtpEscape(p.localPath) + ' ' + FtpEscape(p.targetName));
    if (p.closeAfterSending)
        script += "bye\n";
    return script;
}

std::vector<std::string> FtpClientArguments() { return {"-n", "-v", "-p", "-g"}; }

std::string FindFtpClient(std::string_view searchPath)
{
    for (const char* name : {"ftp", "tnftp", "inetutils-ftp"}) {
        std::string_view rest = searchPath;
        while (!rest.empty()) {
            const size_t colon = rest.find(':');
            const std::string_view folder = rest.substr(0, colon);
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
            if (folder.empty())
                continue;
            const std::string candidate = std::string(folder) + '/' + name;
            if (IsExecutableFile(candidate))
                return candidate;
        }
    }
    return {};
}

}  // namespace ostrel
