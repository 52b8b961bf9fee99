// ostrel-cli regex: runs the editor's regular-expression engine over standard
// input, listing the matches or printing the text with every match replaced.

#include <cstdio>
#include <iostream>
#include <iterator>
#include <optional>

#include "cli/CliCommand.h"
#include "cli/CliEncoding.h"
#include "editor/OstRegex.h"
#include "platform/Utf8.h"

namespace ostrel::cli {

namespace {

struct RegexArgs {
    std::string modifiers;
    std::optional<std::string> replacement;
    bool literal = false;
    std::string pattern;
    bool haveEncoding = false;
    TOstEncodingChoice encoding;
};

// Parses the arguments; returns an error text, empty when they are fine.
std::string ParseRegexArgs(const Args& args, RegexArgs& out)
{
    bool havePattern = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool isOption = !optionsEnded && a.size() > 1 && a[0] == '-';
        std::string encodingError;
        if (isOption && TakeEncodingOption(args, i, out.encoding, encodingError)) {
            if (!encodingError.empty())
                return encodingError;
            out.haveEncoding = true;
        } else if (isOption && a == "--") {
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

std::string ReadStdin()
{
    std::string data;
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, stdin)) > 0)
        data.append(buf, n);
    return data;
}

void AppendMatchLine(const TOstRegex& re, std::string& out)
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

void WriteOut(const std::string& s)
{
    std::fwrite(s.data(), 1, s.size(), stdout);
    std::fflush(stdout);
}

// An argument (terminal text, UTF-8) in the text's code page; an argument
// that is not UTF-8 is taken to be in the page already. False when a
// character has no place in the page.
bool ArgumentInPage(std::string& arg, TOstEncoding encoding)
{
    if (HoldsUtf8(encoding) || !utf8::IsValid(arg))
        return true;
    std::string converted;
    if (FromUtf8(arg, encoding, converted) != std::string_view::npos)
        return false;
    arg = std::move(converted);
    return true;
}

// The text as the editor holds it in its encoding: UTF-16 and a byte-order
// mark of UTF-8 become plain UTF-8, which the engine searches in UTF-8 mode.
struct SearchText {
    std::string text;
    TOstEncoding encoding = TOstEncoding::Windows1250;
};

}  // namespace

int RunRegex(const Args& args)
{
    RegexArgs opts;
    const std::string usageError = ParseRegexArgs(args, opts);
    if (!usageError.empty())
        return Fail(kExitUsage, "regex: " + usageError);
    TOstRegex re;
    try {
        re.SetModifierStr(opts.modifiers);
    } catch (const EOstRegex&) {
        return Fail(kExitUsage, "regex: unknown modifier in '" + opts.modifiers +
                                    "' (letters: i r s g m x)");
    }
    SearchText subject{ReadStdin()};
    if (opts.haveEncoding) {
        subject.encoding = opts.encoding.chosen.value_or(DetectEncoding(subject.text, opts.encoding.plainDefault));
        subject.text = DecodeFileBytes(subject.text, subject.encoding);
        re.SetEncoding(subject.encoding);
        if (!ArgumentInPage(opts.pattern, subject.encoding) ||
            (opts.replacement && !ArgumentInPage(*opts.replacement, subject.encoding)))
            return Fail(kExitUsage, "regex: the pattern or the template has characters " +
                                        std::string(EncodingName(subject.encoding)) + " cannot hold");
    }
    const std::string& input = subject.text;
    std::string out;
    try {
        re.SetExpression(opts.pattern);
        if (opts.replacement) {
            out = re.Replace(input, *opts.replacement, !opts.literal);
            if (opts.haveEncoding && HoldsUtf8(subject.encoding)) {  // back to the file's form
                std::string file;
                TOstFileEncoder encoder(subject.encoding);
                encoder.Encode(out, file);
                encoder.Finish(file);
                out = std::move(file);
            }
        } else {
            for (bool found = re.Exec(input); found; found = re.ExecNext())
                AppendMatchLine(re, out);
        }
    } catch (const EOstRegex& e) {
        WriteOut("error " + std::to_string(e.ErrorCode()) + " " + e.what() + "\n");
        return kExitFailure;
    }
    WriteOut(out);
    return kExitOk;
}

}  // namespace ostrel::cli
