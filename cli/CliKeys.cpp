// ostrel-cli keys: loads a file into an editor set up like the template
// editor, runs a script of keys, typed text and commands from standard
// input, and saves the result. "show" lines report the state; the state is
// printed once more at the end. A script error names its line and writes
// nothing.

#include <charconv>
#include <iostream>
#include <sstream>

#include "cli/CliCommand.h"
#include "cli/CliEncoding.h"
#include "editor/OstEditCmdScript.h"

namespace ostrel::cli {

namespace {

struct KeysOptions {
    TOstEditorOptions options = TCustomOstEdit::TemplateOptions();
    int tabWidth = 8;
    int cols = 80;
    int rows = 25;
    std::string input;
    std::string output;
    TOstEncodingChoice encoding;
};

bool ParseOptionList(const std::string& list, TOstEditorOptions& out, std::string& error)
{
    out = TOstEditorOptions();
    std::istringstream in(list);
    std::string name;
    while (std::getline(in, name, ',')) {
        if (name.empty())
            continue;
        TOstEditorOption option;
        if (!EditorOptionFromName(name, option)) {
            error = "keys: unknown option '" + name + "'";
            return false;
        }
        out.include(option);
    }
    return true;
}

bool ParseInt(std::string_view text, int& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParseWindow(const std::string& text, int& cols, int& rows)
{
    const size_t x = text.find('x');
    return x != std::string::npos && ParseInt(std::string_view(text).substr(0, x), cols) &&
           ParseInt(std::string_view(text).substr(x + 1), rows) && cols > 0 && rows > 0;
}

bool ParseKeysArgs(const Args& args, KeysOptions& opt, std::string& error)
{
    int files = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (TakeEncodingOption(args, i, opt.encoding, error)) {
            if (!error.empty()) {
                error = "keys: " + error;
                return false;
            }
        } else if (a == "--options" && hasValue) {
            if (!ParseOptionList(args[++i], opt.options, error))
                return false;
        } else if (a == "--tab-width" && hasValue) {
            if (!ParseInt(args[++i], opt.tabWidth) || opt.tabWidth < 1) {
                error = "keys: --tab-width takes a positive number";
                return false;
            }
        } else if (a == "--window" && hasValue) {
            if (!ParseWindow(args[++i], opt.cols, opt.rows)) {
                error = "keys: --window takes COLSxROWS";
                return false;
            }
        } else if (a.starts_with("--")) {
            error = "keys: unknown option '" + a + "'";
            return false;
        } else {
            (files == 0 ? opt.input : opt.output) = a;
            if (++files > 2)
                break;
        }
    }
    if (files != 2) {
        error = "keys: INPUT and OUTPUT are required, and nothing else";
        return false;
    }
    return true;
}

}  // namespace

int RunKeys(const Args& args)
{
    KeysOptions opt;
    std::string error;
    if (!ParseKeysArgs(args, opt, error))
        return Fail(kExitUsage, error);

    MemoryClipboard clipboard;
    TOstEdit editor;
    editor.SetClipboard(&clipboard);
    TOstEditCmdScript::SetUpAsTemplate(editor);
    editor.SetTabWidth(opt.tabWidth);
    editor.SetWindowSize(opt.cols, opt.rows);
    try {
        editor.Lines().LoadFromFile(opt.input, opt.encoding);
    } catch (const std::exception& e) {
        return Fail(kExitFailure, "keys: cannot read '" + opt.input + "': " + e.what());
    }
    editor.SetOptions(opt.options);

    TOstEditCmdScript script(editor);
    std::string output;
    std::string line;
    for (int number = 1; std::getline(std::cin, line); ++number) {
        bool ok = false;
        try {
            ok = script.RunLine(line, output, error);
        } catch (const std::exception& e) {
            error = e.what();
        }
        std::cout << output;
        output.clear();
        if (!ok)
            return Fail(kExitUsage, "keys: line " + std::to_string(number) + ": " + error);
    }
    output = script.StatusLine() + '\n';
    try {
        editor.Lines().SaveToFile(opt.output);
    } catch (const std::exception& e) {
        return Fail(kExitFailure, "keys: cannot write '" + opt.output + "': " + e.what());
    }
    std::cout << output;
    return std::cout.flush() ? kExitOk : Fail(kExitFailure, "keys: cannot write the output");
}

}  // namespace ostrel::cli
