// ostrel-cli wrap: the rows word wrap shows the lines of a file on, in a
// window of a given width in characters, as the editor wraps them.
//
// Output, one line per row:
//   LINE<TAB>START<TAB>LENGTH<TAB>TEXT
// LINE from 1; START the cells of the line (tabs expanded) before the row;
// TEXT the row's cells, tabs expanded to TAB bytes as the editor keeps them.

#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <system_error>

#include "cli/CliCommand.h"
#include "cli/CliEncoding.h"
#include "editor/OstLineCells.h"
#include "editor/OstEdit.h"

namespace ostrel::cli {

namespace {

struct WrapOptions {
    int width = 80;
    int tabWidth = 8;
    std::string file;  // empty: standard input
    TOstEncodingChoice encoding;
};

bool ParseCount(const std::string& text, int& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value > 0;
}

bool ParseWrapArgs(const Args& args, WrapOptions& opt, std::string& error)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (TakeEncodingOption(args, i, opt.encoding, error)) {
            if (!error.empty()) {
                error = "wrap: " + error;
                return false;
            }
        } else if ((a == "--width" || a == "--tab-width") && i + 1 < args.size()) {
            if (!ParseCount(args[++i], a == "--width" ? opt.width : opt.tabWidth)) {
                error = "wrap: " + a + " needs a positive number, not '" + args[i] + "'";
                return false;
            }
        } else if (a.starts_with("-") && a != "-") {
            error = "wrap: unknown option '" + a + "'";
            return false;
        } else if (opt.file.empty()) {
            opt.file = a == "-" ? "" : a;
        } else {
            error = "wrap: more than one file given";
            return false;
        }
    }
    return true;
}

}  // namespace

int RunWrap(const Args& args)
{
    WrapOptions opt;
    std::string error;
    if (!ParseWrapArgs(args, opt, error))
        return Fail(kExitUsage, error);
    TOstEdit editor;
    editor.SetTabWidth(opt.tabWidth);
    try {
        if (opt.file.empty())
            editor.Lines().LoadFromStream(std::cin, opt.encoding);
        else
            editor.Lines().LoadFromFile(opt.file, opt.encoding);
    } catch (const std::exception& e) {
        return Fail(kExitFailure, "wrap: cannot read '" + opt.file + "': " + e.what());
    }
    editor.SetWindowSize(opt.width, 25);
    editor.SetWordWrap(true);
    const TOstWordWrapPlugin& map = *editor.WordWrapPlugin();
    int shownLine = 0;
    TOstLineCells cells;
    for (int row = 1; row <= map.RowCount(); ++row) {
        const TOstWrapRow info = map.RowInfo(row);
        if (info.Line != shownLine) {
            cells.Assign(editor.Lines().ExpandedLine(info.Line - 1), editor.Lines().Chars(),
                         editor.Lines().IsSimpleLine(info.Line - 1));
            shownLine = info.Line;
        }
        // The bytes of the row's cells: rows never cut a character.
        const size_t from = cells.ByteOfCell(info.Start);
        const size_t to = cells.ByteOfCell(info.Start + info.Length);
        std::cout << info.Line << '\t' << info.Start << '\t' << info.Length << '\t'
                  << std::string_view(cells.Expanded()).substr(from, to - from) << '\n';
    }
    return std::cout.flush() ? kExitOk : Fail(kExitFailure, "wrap: cannot write the output");
}

}  // namespace ostrel::cli
