// ostrel-cli regex: runs the editor's regular-expression engine over standard
// input, listing the matches or printing the text with every match replaced.

#include <cstdio>
#include <iostream>
#include <iterator>
#include <optional>

#include "cli/CliCommand.h"
#include "editor/OstRegex.h"

namespace ostrel::cli {

namespace {

struct RegexArgs {
    std::string modifiers;
    std::optional<std::string> replacement;
    bool literal = false;
    std::string pattern;
};

// Parses the arguments; returns an error text, empty when they are fine.
std::string parseRegexArgs(const Args& args, RegexArgs& out)
{
    bool havePattern = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool isOption = !optionsEnded && a.size() > 1 && a[0] == '-';
        if (isOption && a == "--") {
            optionsEnded = true;
        } else if (isOption && (a == "-m" || a == "--replace")) {
            if (i + 1 >= args.size())
                return a + " needs a value";
            (a == "-m" ? out.modifiers : out.replacement.emplace()) = args[++i];
        } else if (isOption && a == "--literal") {
            out.literal = true;
        } else if (isOption) {
            return "unknown option '" + a + "'";
        } else if (havePattern) {
            return "only one PATTERN may be given";
        } else {
            out.pattern = a;
            havePattern = true;
        }
    }
    return havePattern ? std::string() : "missing PATTERN";
}

std::string readStdin()
{
    std::string data;
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, stdin)) > 0)
        data.append(buf, n);
    return data;
}

void appendMatchLine(const TOstRegex& re, std::string& out)
{
    for (int slot = 0; slot < TOstRegex::kSlotCount; ++slot) {
        if (slot > 0)
            out += ' ';
        out += std::to_string(re.MatchPos(slot));
        out += ':';
        out += std::to_string(re.MatchLen(slot));
    }
    out += '\n';
}

void writeOut(const std::string& s)
{
    std::fwrite(s.data(), 1, s.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

int runRegex(const Args& args)
{
    RegexArgs opts;
    const std::string usageError = parseRegexArgs(args, opts);
    if (!usageError.empty())
        return fail(kExitUsage, "regex: " + usageError);
    TOstRegex re;
    try {
        re.SetModifierStr(opts.modifiers);
    } catch (const EOstRegex&) {
        return fail(kExitUsage, "regex: unknown modifier in '" + opts.modifiers +
                                    "' (letters: i r s g m x)");
    }
    const std::string input = readStdin();
    std::string out;
    try {
        re.SetExpression(opts.pattern);
        if (opts.replacement) {
            out = re.Replace(input, *opts.replacement, !opts.literal);
        } else {
            for (bool found = re.Exec(input); found; found = re.ExecNext())
                appendMatchLine(re, out);
        }
    } catch (const EOstRegex& e) {
        writeOut("error " + std::to_string(e.ErrorCode()) + " " + e.what() + "\n");
        return kExitFailure;
    }
    writeOut(out);
    return kExitOk;
}

}  // namespace ostrel::cli
