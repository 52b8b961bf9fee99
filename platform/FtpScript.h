#pragma once
// The command script that uploads one file through the system's console FTP
// client, and finding that client. The program speaks no FTP itself: the
// client reads the script from its standard input and holds the dialogue
// with the server.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

// What the upload needs, as the bytes that go into the script.
struct TFtpParameters {
    std::string server;      // "HOST" or "HOST PORT", written as typed
    std::string user;
    std::string password;    // may be empty
    std::string folder;      // remote folder; empty stays in the login folder
    std::string localPath;   // absolute path of the file to send
    std::string targetName;  // the file's name on the server
    bool closeAfterSending = false;
};

// A field the script cannot carry safely.
class EFtpScript : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The client reads each command line as blank-separated words; a backslash
// makes the next character part of the word. So every field becomes exactly
// one word, whatever blanks, quotes or backslashes it holds.
std::string FtpEscape(std::string_view field);

// The script, LF line ends: open, user and password, binary mode, the remote
// folder, the put line and, when asked, bye. Throws EFtpScript for a field
// with a line break or NUL (it would start a command of its own) and for a
// local path that is not absolute (the client takes a leading "|" as a shell
// command).
std::string BuildFtpScript(const TFtpParameters& parameters);

// The client's options: no auto-login (the script logs in), verbose replies
// (the outcome is read from them), passive mode, no wildcard expansion of
// the file names.
std::vector<std::string> FtpClientArguments();

// The name of the script file, in a private folder of its own.
inline constexpr const char* kFtpScriptFileName = "tmpgds2.tmp";

// The client's full path: "ftp", else "tnftp", else "inetutils-ftp", the
// first executable file of that name in the colon-separated search path, as
// the shell's "command -v" finds it; empty when there is none.
std::string FindFtpClient(std::string_view searchPath);

}  // namespace ostrel
