// ostrel-cli print: the file through the print job into a PDF file, with
// the editor's default font, a language's colours as the program sets them,
// a header and a footer of one item each (macros allowed) and margins in
// millimetres. The page count goes to standard output. The PDF goes through
// the safe writer, so a failure keeps the old file.

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>

#include "app/qt/QtCanvas.h"
#include "app/qt/QtPrinter.h"
#include "cli/CliCommand.h"
#include "cli/CliEncoding.h"
#include "editor/OstEditTextBuffer.h"
#include "highlighters/OstHighlighterFactory.h"
#include "platform/CodePage.h"
#include "print/OstEditPrint.h"

namespace ostrel::cli {

namespace {

constexpr const char* kPrintUsage =
    "print [--lang LANG] [--encoding ENC] [--title TITLE] [--line-numbers] [--wrap] [--no-colors] [--header TEXT] "
    "[--footer TEXT] [--margins L,T,R,B] INPUT OUTPUT.pdf";

struct PrintOptions {
    std::string language;
    std::string title;
    bool titleGiven = false;
    bool lineNumbers = false;
    bool wrap = false;
    bool colors = true;
    std::string header;
    std::string footer;
    bool marginsGiven = false;
    double margins[4] = {};  // left, top, right, bottom
    std::string input;
    std::string output;
    TOstEncodingChoice encoding;
};

// "L,T,R,B": four lengths in millimetres, none negative.
bool ParseMargins(const std::string& text, double (&margins)[4])
{
    std::istringstream in(text);
    for (int i = 0; i < 4; ++i) {
        std::string part;
        if (!std::getline(in, part, i < 3 ? ',' : '\n') || part.empty())
            return false;
        char* end = nullptr;
        margins[i] = std::strtod(part.c_str(), &end);
        if (*end != '\0' || !(margins[i] >= 0) || margins[i] > 1000)
            return false;
    }
    return in.peek() == std::char_traits<char>::eof();
}

bool TakeValue(const Args& args, size_t& i, const std::string& name, std::string& value)
{
    const std::string& a = args[i];
    if (a == name && i + 1 < args.size()) {
        value = args[++i];
        return true;
    }
    if (a.starts_with(name + "=")) {
        value = a.substr(name.size() + 1);
        return true;
    }
    return false;
}

bool ParsePrintArgs(const Args& args, PrintOptions& opt, std::string& error)
{
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string margins;
        if (TakeEncodingOption(args, i, opt.encoding, error)) {
            if (!error.empty()) {
                error = "print: " + error;
                return false;
            }
        } else if (TakeValue(args, i, "--lang", opt.language) || TakeValue(args, i, "--header", opt.header) ||
            TakeValue(args, i, "--footer", opt.footer)) {
            continue;
        } else if (TakeValue(args, i, "--title", opt.title)) {
            opt.titleGiven = true;
        } else if (TakeValue(args, i, "--margins", margins)) {
            if (!ParseMargins(margins, opt.margins)) {
                error = "print: margins must be four lengths in millimetres, as L,T,R,B";
                return false;
            }
            opt.marginsGiven = true;
        } else if (a == "--line-numbers") {
            opt.lineNumbers = true;
        } else if (a == "--wrap") {
            opt.wrap = true;
        } else if (a == "--no-colors") {
            opt.colors = false;
        } else if (a.starts_with("-") && a.size() > 1) {
            error = "print: unknown option '" + a + "'";
            return false;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) {
        error = std::string("print: usage: ") + kPrintUsage;
        return false;
    }
    opt.input = files[0];
    opt.output = files[1];
    return true;
}

// Texts from the command line are UTF-8, as the header and footer take them.
void ApplyOptions(const PrintOptions& opt, TOstEditPrint& print)
{
    const std::string title = opt.titleGiven ? opt.title : std::filesystem::path(opt.input).filename().string();
    print.Title = title;
    print.LineNumbers = opt.lineNumbers;
    print.Wrap = opt.wrap;
    print.Colors = opt.colors;
    if (!opt.header.empty())
        print.Header().Add(opt.header, nullptr, taLeftJustify, 1);
    if (!opt.footer.empty())
        print.Footer().Add(opt.footer, nullptr, taLeftJustify, 1);
    if (opt.marginsGiven) {
        TOstEditPrintMargins& m = print.Margins();
        m.SetUnitSystem(usMM);
        m.SetLeft(opt.margins[0]);
        m.SetTop(opt.margins[1]);
        m.SetRight(opt.margins[2]);
        m.SetBottom(opt.margins[3]);
    }
}

// The offscreen platform unless the caller chose one: no display is needed.
std::unique_ptr<QGuiApplication> MakeGuiApplication()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "ostrel-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int PrintToPdf(const PrintOptions& opt, TOstCustomHighlighter* highlighter)
{
    TOstEditStringList lines;
    try {
        lines.LoadFromFile(opt.input, opt.encoding);
    } catch (const std::exception& e) {
        return Fail(kExitFailure, "print: cannot read '" + opt.input + "': " + e.what());
    }
    const auto app = MakeGuiApplication();
    QtPrinter printer;
    printer.SetOutputFileName(opt.output);
    TOstEditPrint print(&printer);
    print.SetHighlighter(highlighter);
    print.SetLines(lines);
    ApplyOptions(opt, print);

    QtCanvas measure(nullptr, nullptr);
    print.LayoutPages(measure);
    const TOstEditPrintMargins& m = print.Margins();
    if (m.PixRight - m.PixLeft < print.CharWidth() || m.PixBottom - m.PixTop < print.LineHeight())
        return Fail(kExitUsage, "print: the margins leave no room for a line of text");
    try {
        print.PrintAll();
    } catch (const std::exception& e) {
        return Fail(kExitFailure, "print: cannot write '" + opt.output + "': " + e.what());
    }
    std::cout << print.PageCount() << '\n';
    return kExitOk;
}

}  // namespace

int RunPrint(const Args& args)
{
    PrintOptions opt;
    std::string error;
    if (!ParsePrintArgs(args, opt, error))
        return Fail(kExitUsage, error);
    std::unique_ptr<TOstCustomHighlighter> highlighter;
    if (!opt.language.empty()) {
        const TOstLanguage* language = FindLanguage(opt.language);
        highlighter = language ? language->cls.Create() : nullptr;
        if (!highlighter)
            return Fail(kExitUsage, "print: unknown language '" + opt.language + "'");
        // The colours and styles the program's own instance of the language has.
        language->ApplyDefaults(*highlighter);
    }
    return PrintToPdf(opt, highlighter.get());
}

}  // namespace ostrel::cli
