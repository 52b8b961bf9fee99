// ostrel-cli tokens: the tokens a lexer produces for each line of a file, as
// the editor would paint them, with the line state carried from line to line.
//
// --sql-dialect NAME chooses the SQL dialect by its enumeration name
// ("sqlMySQL"); the default is sqlSybase, as in the editor. --encoding NAME
// reads the file in that encoding instead of detecting it; in a UTF-8 file
// the bytes of a character are letters of identifiers, as in the editor.
//
// Output, one line per token before the line's end and then the state:
//   N<TAB>START<TAB>LENGTH<TAB>KIND<TAB>ATTRIBUTE
//   N<TAB>state<TAB>VALUE

#include <algorithm>
#include <cstdio>
#include <string>
#include <system_error>

#include "cli/CliCommand.h"
#include "cli/CliEncoding.h"
#include "editor/OstEditTextBuffer.h"
#include "highlighters/OstHighlighterFactory.h"
#include "highlighters/OstHighlighterSQL.h"
#include "highlighters/OstLineStateScanner.h"

namespace ostrel::cli {

namespace {

struct TokensOptions {
    std::string language;
    std::string sqlDialect;  // empty: the lexer's default
    std::string file;        // empty: standard input
    TOstEncodingChoice encoding;
};

bool ParseTokensArgs(const Args& args, TokensOptions& opt, std::string& error)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (TakeEncodingOption(args, i, opt.encoding, error)) {
            if (!error.empty()) {
                error = "tokens: " + error;
                return false;
            }
        } else if (a == "--lang" && i + 1 < args.size()) {
            opt.language = args[++i];
        } else if (a.starts_with("--lang=")) {
            opt.language = a.substr(7);
        } else if (a == "--sql-dialect" && i + 1 < args.size()) {
            opt.sqlDialect = args[++i];
        } else if (a.starts_with("--sql-dialect=")) {
            opt.sqlDialect = a.substr(14);
        } else if (a.starts_with("-") && a != "-") {
            error = "tokens: unknown option '" + a + "'";
            return false;
        } else if (opt.file.empty()) {
            opt.file = a == "-" ? "" : a;
        } else {
            error = "tokens: more than one file given";
            return false;
        }
    }
    if (opt.language.empty()) {
        error = "tokens: --lang LANG is required";
        return false;
    }
    if (!opt.sqlDialect.empty() && opt.language != "sql") {
        error = "tokens: --sql-dialect applies only to --lang sql";
        return false;
    }
    return true;
}

// Sets the dialect named on the command line; false for an unknown name.
bool ApplySqlDialect(TOstCustomHighlighter& hl, const std::string& name, std::string& error)
{
    auto* sql = dynamic_cast<TOstSQLHighlighter*>(&hl);
    if (!sql || name.empty())
        return true;
    const auto& names = SQLDialectNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (name == names[i]) {
            sql->SetSQLDialect(static_cast<TSQLDialect>(i));
            return true;
        }
    }
    error = "tokens: unknown SQL dialect '" + name + "' (one of:";
    for (const char* n : names)
        error += std::string(" ") + n;
    error += ")";
    return false;
}

std::string ReadStandardInput()
{
    std::string content;
    char block[65536];
    for (size_t got; (got = std::fread(block, 1, sizeof block, stdin)) > 0;)
        content.append(block, got);
    return content;
}

void AppendNumber(std::string& out, long long n)
{
    char buf[24];
    const int len = std::snprintf(buf, sizeof buf, "%lld", n);
    out.append(buf, static_cast<size_t>(len));
}

// Lexes every line, starting each from the state the line above left.
void WriteTokens(TOstCustomHighlighter& hl, const TOstEditStringList& lines)
{
    std::string out;
    TOstLineStateScanner scan(hl, HoldsUtf8(lines.Encoding()));
    scan.ClearState();
    for (int i = 0; i < lines.Count(); ++i) {
        scan.ContinueLine(lines.Get(i), i);
        for (; !hl.AtLineEnd(); hl.NextToken()) {
            AppendNumber(out, i + 1);
            out += '\t';
            AppendNumber(out, hl.TokenStart());
            out += '\t';
            AppendNumber(out, hl.TokenLength());
            out += '\t';
            AppendNumber(out, hl.TokenKind());
            out += '\t';
            if (const TOstHighlighterAttributes* attr = hl.TokenAttribute())
                out += attr->Name();
            out += '\n';
        }
        AppendNumber(out, i + 1);
        out += "\tstate\t";
        AppendNumber(out, static_cast<long long>(scan.EndState()));
        out += '\n';
        if (out.size() > (1 << 20)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

int RunTokens(const Args& args)
{
    TokensOptions opt;
    std::string error;
    if (!ParseTokensArgs(args, opt, error))
        return Fail(kExitUsage, error);
    const auto languages = HighlighterLanguages();
    if (std::find(languages.begin(), languages.end(), opt.language) == languages.end()) {
        std::string known;
        for (const char* l : languages)
            known += std::string(known.empty() ? "" : " ") + l;
        return Fail(kExitUsage, "tokens: unknown language '" + opt.language + "' (one of: " + known + ")");
    }
    const auto hl = CreateHighlighter(opt.language);
    if (!hl)
        return Fail(kExitUsage, "tokens: there is no lexer for '" + opt.language + "' yet");
    if (!ApplySqlDialect(*hl, opt.sqlDialect, error))
        return Fail(kExitUsage, error);

    TOstEditStringList lines;
    try {
        if (opt.file.empty())
            lines.LoadFromBytes(ReadStandardInput(), opt.encoding);
        else
            lines.LoadFromFile(opt.file, opt.encoding);
    } catch (const std::exception& e) {
        return Fail(kExitFailure, "tokens: cannot read '" + (opt.file.empty() ? "-" : opt.file) + "': " + e.what());
    }
    WriteTokens(*hl, lines);
    return std::fflush(stdout) == 0 ? kExitOk : Fail(kExitFailure, "tokens: cannot write the output");
}

}  // namespace ostrel::cli
