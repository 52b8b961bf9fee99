// ostrel-cli rtf: the file's lines, coloured by a lexer, as an RTF document
// with the main window's exporter settings (Courier New 10 pt, title "RTF
// Eksport" unless --title gives one). A document the exporter refuses (no
// lines, one empty line) is an error and no file is written. The file's
// encoding is detected, or given with --encoding.

#include <string>

#include "cli/CliCommand.h"
#include "cli/CliEncoding.h"
#include "editor/OstEditTextBuffer.h"
#include "highlighters/OstHighlighterFactory.h"
#include "print/OstExportRTF.h"

namespace ostrel::cli {

namespace {

struct RtfOptions {
    std::string language;
    std::string title = "RTF Eksport";
    std::string input;
    std::string output;
    TOstEncodingChoice encoding;
};

bool ParseRtfArgs(const Args& args, RtfOptions& opt, std::string& error)
{
    int files = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (TakeEncodingOption(args, i, opt.encoding, error)) {
            if (!error.empty()) {
                error = "rtf: " + error;
                return false;
            }
        } else if (a == "--lang" && i + 1 < args.size()) {
            opt.language = args[++i];
        } else if (a.starts_with("--lang=")) {
            opt.language = a.substr(7);
        } else if (a == "--title" && i + 1 < args.size()) {
            opt.title = args[++i];
        } else if (a.starts_with("--title=")) {
            opt.title = a.substr(8);
        } else if (a.starts_with("-") && a.size() > 1) {
            error = "rtf: unknown option '" + a + "'";
            return false;
        } else if (++files <= 2) {
            (files == 1 ? opt.input : opt.output) = a;
        }
    }
    if (opt.language.empty() || files != 2) {
        error = "rtf: usage: rtf --lang LANG [--title TITLE] [--encoding ENC] INPUT OUTPUT";
        return false;
    }
    return true;
}

}  // namespace

int RunRtf(const Args& args)
{
    RtfOptions opt;
    std::string error;
    if (!ParseRtfArgs(args, opt, error))
        return Fail(kExitUsage, error);
    const TOstLanguage* language = FindLanguage(opt.language);
    const auto highlighter = language ? language->cls.Create() : nullptr;
    if (!highlighter)
        return Fail(kExitUsage, "rtf: unknown language '" + opt.language + "'");

    TOstEditStringList lines;
    try {
        lines.LoadFromFile(opt.input, opt.encoding);
    } catch (const std::exception& e) {
        return Fail(kExitFailure, "rtf: cannot read '" + opt.input + "': " + e.what());
    }
    // The title is UTF-8, as the command line is; the export writes it in
    // the document's encoding.
    std::string title;
    if (FromUtf8(opt.title, lines.Encoding(), title) != std::string::npos)
        return Fail(kExitUsage, "rtf: the title holds characters that " + std::string(EncodingName(lines.Encoding())) +
                                    " cannot hold");
    TOstExporterRTF exporter;
    ApplyMainWindowExportSettings(exporter);
    exporter.SetTitle(title);
    try {
        if (!ExportLinesToFile(exporter, highlighter.get(), lines, opt.output))
            return Fail(kExitFailure, "rtf: '" + opt.input + "' has no text to export; nothing written");
    } catch (const std::exception& e) {
        return Fail(kExitFailure, std::string("rtf: ") + e.what());
    }
    return kExitOk;
}

}  // namespace ostrel::cli
