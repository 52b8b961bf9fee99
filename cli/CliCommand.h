#pragma once
// The subcommands of ostrel-cli. Each subcommand lives in its own file and is
// listed once in the table of main.cpp.

#include <string>
#include <vector>

namespace ostrel::cli {

using Args = std::vector<std::string>;

struct CliCommand {
    const char* name;
    const char* usage;    // one line, shown by --help
    int (*run)(const Args& args);  // args exclude the subcommand name
};

// Exit statuses shared by all subcommands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// regex [-m MODS] [--replace TEMPLATE] [--literal] PATTERN
int RunRegex(const Args& args);

// tokens --lang LANG [FILE]
int RunTokens(const Args& args);

// keys [--options LIST] [--tab-width N] [--window COLSxROWS] INPUT OUTPUT < SCRIPT
int RunKeys(const Args& args);

// rtf --lang LANG [--title TITLE] INPUT OUTPUT
int RunRtf(const Args& args);

// recode --to iso|win|ascii INPUT OUTPUT
int RunRecode(const Args& args);

// utf8 INPUT OUTPUT
int RunUtf8(const Args& args);

// detect FILE...
int RunDetect(const Args& args);

// wrap [--width N] [--tab-width N] [FILE]
int RunWrap(const Args& args);

// ftp [--protocol ftp|sftp|ftps] --server "HOST[ PORT]" --user NAME [--password-file FILE] [--dir DIR]
//     [--target NAME] [--bye] [--timeout SECONDS] [--trust FINGERPRINT]... FILE
int RunFtp(const Args& args);

// print [--lang LANG] [--title TITLE] [--line-numbers] [--wrap] [--no-colors]
//       [--header TEXT] [--footer TEXT] [--margins L,T,R,B] INPUT OUTPUT.pdf
// (only when built with Qt)
int RunPrint(const Args& args);

// Prints "ostrel-cli: MESSAGE" on standard error and returns the status.
int Fail(int status, const std::string& message);

}  // namespace ostrel::cli
