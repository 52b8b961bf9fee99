// ostrel-cli utf8: the editor's UTF-8 export of a file: its lines joined
// with CR LF, without a byte-order mark and without a break after the last
// line. The file's encoding is detected, or given with --encoding.

#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CliEncoding.h"
#include "editor/OstEditTextBuffer.h"
#include "editor/OstPolishRecode.h"
#include "print/OstEditExport.h"

namespace ostrel::cli {

int RunUtf8(const Args& args)
{
    const std::string usage = "utf8: usage: utf8 [--encoding ENC] INPUT OUTPUT";
    TOstEncodingChoice encoding;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string error;
        if (TakeEncodingOption(args, i, encoding, error)) {
            if (!error.empty())
                return Fail(kExitUsage, "utf8: " + error);
        } else if (args[i].starts_with("-") && args[i].size() > 1) {
            return Fail(kExitUsage, usage);
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2)
        return Fail(kExitUsage, usage);
    TOstEditStringList lines;
    try {
        lines.LoadFromFile(files[0], encoding);
    } catch (const std::exception& e) {
        return Fail(kExitFailure, "utf8: cannot read '" + files[0] + "': " + e.what());
    }
    try {
        ExportUtf8(files[1], JoinedText(lines), lines.Encoding());
    } catch (const std::exception& e) {
        return Fail(kExitFailure, std::string("utf8: ") + e.what());
    }
    return kExitOk;
}

}  // namespace ostrel::cli
