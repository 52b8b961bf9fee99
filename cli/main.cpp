// ostrel-cli: the headless companion of the Ostrel editor.

#include <csignal>
#include <cstring>
#include <iostream>
#include <span>

#include "cli/CliCommand.h"

namespace ostrel::cli {

int Fail(int status, const std::string& message)
{
    std::cerr << "ostrel-cli: " << message << '\n';
    return status;
}

namespace {

// Subcommands, one per capability of the editor that works without a window.
constexpr CliCommand kCommands[] = {
    {"regex", "regex [-m MODS] [--encoding ENC] [--replace TEMPLATE] [--literal] PATTERN", RunRegex},
    {"tokens", "tokens --lang LANG [--sql-dialect NAME] [--encoding ENC] [FILE]", RunTokens},
    {"keys", "keys [--encoding ENC] [--options LIST] [--tab-width N] [--window COLSxROWS] INPUT OUTPUT < SCRIPT", RunKeys},
    {"rtf", "rtf --lang LANG [--title TITLE] [--encoding ENC] INPUT OUTPUT", RunRtf},
    {"recode", "recode [--encoding ENC] --to iso|win|ascii INPUT OUTPUT", RunRecode},
    {"utf8", "utf8 [--encoding ENC] INPUT OUTPUT", RunUtf8},
    {"detect", "detect FILE...", RunDetect},
    {"wrap", "wrap [--encoding ENC] [--width N] [--tab-width N] [FILE]", RunWrap},
    {"ftp",
     "ftp [--protocol ftp|sftp|ftps] --server \"HOST[ PORT]\" --user NAME [--password-file FILE] [--dir DIR] "
     "[--target NAME] [--bye] [--timeout SECONDS] [--trust FINGERPRINT]... FILE",
     RunFtp},
#ifdef OSTREL_CLI_PRINT
    {"print",
     "print [--lang LANG] [--encoding ENC] [--title TITLE] [--line-numbers] [--wrap] [--no-colors] [--header TEXT] "
     "[--footer TEXT] [--margins L,T,R,B] INPUT OUTPUT.pdf",
     RunPrint},
#endif
    {nullptr, nullptr, nullptr},
};

std::span<const CliCommand> Commands()
{
    return std::span<const CliCommand>(kCommands, std::size(kCommands) - 1);
}

void PrintHelp(std::ostream& out)
{
    out << "Usage: ostrel-cli COMMAND [ARGS...]\n"
           "       ostrel-cli --help | --version\n"
           "\n"
           "The headless companion of the Ostrel editor.\n";
    if (!Commands().empty()) {
        out << "\nCommands:\n";
        for (const CliCommand& c : Commands())
            out << "  " << c.usage << '\n';
    }
}

}  // namespace
}  // namespace ostrel::cli

int main(int argc, char** argv)
{
    using namespace ostrel::cli;
    // Under a file-size limit a write fails with its message instead of
    // ending the process in the middle of it.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2) {
        PrintHelp(std::cerr);
        return kExitUsage;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h") {
        PrintHelp(std::cout);
        return kExitOk;
    }
    if (first == "--version") {
        std::cout << "ostrel-cli " << OSTREL_VERSION << '\n';
        return kExitOk;
    }
    for (const CliCommand& c : Commands()) {
        if (first == c.name)
            return c.run(Args(argv + 2, argv + argc));
    }
    return Fail(kExitUsage, "unknown command '" + first + "' (see ostrel-cli --help)");
}
