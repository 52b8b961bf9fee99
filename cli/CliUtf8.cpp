// ostrel-cli utf8: the editor's UTF-8 export of a file: its lines joined
// with CR LF, without a byte-order mark and without a break after the last
// line.

#include <string>

#include "cli/CliCommand.h"
#include "editor/OstEditTextBuffer.h"
#include "editor/OstPolishRecode.h"
#include "print/OstEditExport.h"

namespace ostrel::cli {

int runUtf8(const Args& args)
{
    if (args.size() != 2 || (args[0].starts_with("-") && args[0].size() > 1) ||
        (args[1].starts_with("-") && args[1].size() > 1))
        return fail(kExitUsage, "utf8: usage: utf8 INPUT OUTPUT");
    TOstEditStringList lines;
    try {
        lines.LoadFromFile(args[0]);
    } catch (const std::exception& e) {
        return fail(kExitFailure, "utf8: cannot read '" + args[0] + "': " + e.what());
    }
    try {
        ExportUtf8(args[1], JoinedText(lines));
    } catch (const std::exception& e) {
        return fail(kExitFailure, std::string("utf8: ") + e.what());
    }
    return kExitOk;
}

}  // namespace ostrel::cli
