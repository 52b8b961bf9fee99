// ostrel-cli recode: the Polish recoding commands on a file. The text is
// recoded as the editor's menu does it (lines joined with CR LF, recoded,
// split again) and saved as the editor saves it: with the file's own
// line-break style and a break after the last line.

#include <string>

#include "cli/CliCommand.h"
#include "cli/CliEncoding.h"
#include "editor/OstEditTextBuffer.h"
#include "editor/OstPolishRecode.h"

namespace ostrel::cli {

namespace {

bool RecodingByName(const std::string& name, TOstPolishRecoding& recoding)
{
    if (name == "iso")
        recoding = TOstPolishRecoding::ToIso;
    else if (name == "win")
        recoding = TOstPolishRecoding::ToWindows;
    else if (name == "ascii")
        recoding = TOstPolishRecoding::StripDiacritics;
    else
        return false;
    return true;
}

}  // namespace

int RunRecode(const Args& args)
{
    std::string to;
    std::vector<std::string> files;
    TOstEncodingChoice choice;
    std::string error;
    for (size_t i = 0; i < args.size(); ++i) {
        if (TakeEncodingOption(args, i, choice, error)) {
            if (!error.empty())
                return Fail(kExitUsage, "recode: " + error);
        } else if (args[i] == "--to" && i + 1 < args.size())
            to = args[++i];
        else if (args[i].starts_with("--to="))
            to = args[i].substr(5);
        else if (args[i].starts_with("-") && args[i].size() > 1)
            return Fail(kExitUsage, "recode: unknown option '" + args[i] + "'");
        else
            files.push_back(args[i]);
    }
    TOstPolishRecoding recoding{};
    if (files.size() != 2 || !RecodingByName(to, recoding))
        return Fail(kExitUsage, "recode: usage: recode [--encoding ENCODING] --to iso|win|ascii INPUT OUTPUT");

    TOstEditStringList lines;
    try {
        lines.LoadFromFile(files[0], choice);
    } catch (const std::exception& e) {
        return Fail(kExitFailure, "recode: cannot read '" + files[0] + "': " + e.what());
    }
    // The two code pages' recodings have nothing to do in a file of UTF-8
    // but its ASCII, which they leave as it is.
    if (!CanRecode(lines.Encoding(), recoding) && !TOstTextChars(lines.Encoding()).IsSimple(lines.Text()))
        return Fail(kExitFailure, "recode: --to " + to + " recodes windows-1250 or iso-8859-2 text, and '" +
                                      files[0] + "' is " + std::string(EncodingName(lines.Encoding())));
    try {
        RecodeLines(lines, recoding);
        lines.SaveToFile(files[1]);
    } catch (const std::exception& e) {
        return Fail(kExitFailure, std::string("recode: ") + e.what());
    }
    return kExitOk;
}

}  // namespace ostrel::cli
