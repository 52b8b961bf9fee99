// ostrel-cli: the headless companion of the Ostrel editor.

#include <csignal>
#include <cstring>
#include <iostream>
#include <span>

#include "cli/CliCommand.h"

namespace ostrel::cli {

int fail(int status, const std::string& message)
{
    std::cerr << "ostrel-cli: " << message << '\n';
    return status;
}

namespace {

// Subcommands, one per capability of the editor that works without a window.
constexpr CliCommand kCommands[] = {
    {"regex", "regex [-m MODS] [--encoding ENC] [--replace TEMPLATE] [--literal] PATTERN", runRegex},
    {"tokens", "tokens --lang LANG [--sql-dialect NAME] [--encoding ENC] [FILE]", runTokens},
    {"keys", "keys [--encoding ENC] [--options LIST] [--tab-width N] [--window COLSxROWS] INPUT OUTPUT < SCRIPT", runKeys},
    {"rtf", "rtf --lang LANG [--title TITLE] [--encoding ENC] INPUT OUTPUT", runRtf},
    {"recode", "recode [--encoding ENC] --to iso|win|ascii INPUT OUTPUT", runRecode},
    {"utf8", "utf8 [--encoding ENC] INPUT OUTPUT", runUtf8},
    {"detect", "detect FILE...", runDetect},
    {"wrap", "wrap [--encoding ENC] [--width N] [--tab-width N] [FILE]", runWrap},
    {"ftp",
     "ftp [--protocol ftp|sftp|ftps] --server \"HOST[ PORT]\" --user NAME [--password-file FILE] [--dir DIR] "
     "[--target NAME] [--bye] [--timeout SECONDS] [--trust FINGERPRINT]... FILE",
     runFtp},
#ifdef OSTREL_CLI_PRINT
    {"print",
     "print [--lang LANG] [--encoding ENC] [--title TITLE] [--line-numbers] [--wrap] [--no-colors] [--header TEXT] "
     "[--footer TEXT] [--margins L,T,R,B] INPUT OUTPUT.pdf",
     runPrint},
#endif
    {nullptr, nullptr, nullptr},
};

std::span<const CliCommand> commands()
{
    return std::span<const CliCommand>(kCommands, std::size(kCommands) - 1);
}

void printHelp(std::ostream& out)
{
    out << "Usage: ostrel-cli COMMAND [ARGS...]\n"
           "       ostrel-cli --help | --version\n"
           "\n"
           "The headless companion of the Ostrel editor.\n";
    if (!commands().empty()) {
        out << "\nCommands:\n";
        for (const CliCommand& c : commands())
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
        printHelp(std::cerr);
        return kExitUsage;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h") {
        printHelp(std::cout);
        return kExitOk;
    }
    if (first == "--version") {
        std::cout << "ostrel-cli " << OSTREL_VERSION << '\n';
        return kExitOk;
    }
    for (const CliCommand& c : commands()) {
        if (first == c.name)
            return c.run(Args(argv + 2, argv + argc));
    }
    return fail(kExitUsage, "unknown command '" + first + "' (see ostrel-cli --help)");
}
