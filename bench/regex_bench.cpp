// Search throughput of the editor's regular-expression engine, line by line as
// the editor searches.
//
//   regex_bench                        times three patterns over 100 MB of generated text,
//                                      then three over 100 MB of Polish text in UTF-8 and
//                                      the same text in Windows-1250
//   regex_bench --generate FILE [MB] [--polish ENC]
//                                      writes the generated text to FILE (default 100 MB);
//                                      --polish the Polish text in ENC (utf-8, windows-1250)
//   regex_bench --count [--encoding ENC] PATTERN FILE
//                                      prints the number of lines of FILE holding a match,
//                                      in the mode of ENC (default: single-byte)
//
// --count gives the same figure as "grep -c -E PATTERN FILE" for the patterns
// below (for UTF-8 with grep in a UTF-8 locale), so the two programs can be
// timed against each other on one file.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

#include "editor/OstRegex.h"
#include "platform/CodePage.h"
#include "platform/TextEncoding.h"

using namespace ostrel;

namespace {

// Lines of 3 to 14 of the words, with numbers among them and a comma or the
// closing mark after some; indented lines start with 0 to 6 spaces.
template <std::size_t N>
std::string TextOfWords(const char* const (&words)[N], std::size_t bytes, bool indented, const char* closing)
{
    std::mt19937 rng(1250);
    std::uniform_int_distribution<int> pickWord(0, static_cast<int>(N) - 1);
    std::uniform_int_distribution<int> pick(0, 99);
    std::string text;
    text.reserve(bytes + 200);
    while (text.size() < bytes) {
        const int wordsInLine = 3 + pick(rng) % 12;
        if (indented)
            text.append(static_cast<std::size_t>(pick(rng) % 4) * 2, ' ');
        for (int w = 0; w < wordsInLine; ++w) {
            const int kind = pick(rng);
            if (kind < 4)
                text += std::to_string(pick(rng) * 37);
            else
                text += words[pickWord(rng)];
            text += kind % 9 == 0 ? ", " : kind % 13 == 0 ? closing : " ";
        }
        text.back() = '\n';
    }
    return text;
}

// Lines of words, numbers and punctuation, like source text or a log.
std::string GenerateText(std::size_t bytes)
{
    static const char* const words[] = {
        "the", "editor", "search", "line", "value", "return", "static", "const", "window",
        "buffer", "printer", "colour", "token", "state", "string", "error", "warning",
        "message", "document", "highlighter", "selection", "caret", "index", "length",
    };
    return TextOfWords(words, bytes, true, "(); ");
}

// Lines of Polish prose with numbers, in UTF-8: about one character in
// twelve beyond ASCII.
std::string GeneratePolishText(std::size_t bytes)
{
    static const char* const words[] = {
        "zażółć", "gęślą", "jaźń", "żółw", "źdźbło", "pszczoła", "chrząszcz", "brzmi", "w", "trzcinie",
        "i", "się", "łódź", "miód", "ćma", "dzień", "noc", "gdzie", "jest", "był", "będzie", "ważne",
        "szybko", "powoli", "książka", "okno", "plik", "błąd", "ostrzeżenie", "wiadomość", "dokument", "edytor",
    };
    return TextOfWords(words, bytes, false, ". ");
}

template <typename Fn>
void ForEachLine(std::string_view text, Fn fn)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::size_t lineEnd = end;
        if (lineEnd > start && text[lineEnd - 1] == '\r')
            --lineEnd;
        fn(text.substr(start, lineEnd - start));
        start = end + 1;
    }
}

long CountMatchingLines(TOstRegex& re, std::string_view text)
{
    long count = 0;
    ForEachLine(text, [&](std::string_view line) { count += re.Exec(line) ? 1 : 0; });
    return count;
}

long CountMatches(TOstRegex& re, std::string_view text)
{
    long count = 0;
    ForEachLine(text, [&](std::string_view line) {
        for (bool found = re.Exec(line); found; found = re.ExecNext())
            ++count;
    });
    return count;
}

// The lines of a file holding a match, read in blocks as grep reads it
// (the lines a block ends inside of go on with the next block).
long CountMatchingLinesOfFile(TOstRegex& re, const char* path)
{
    std::ifstream in(path, std::ios::binary);
    constexpr std::size_t kBlock = 1 << 22;
    std::string buffer;
    long count = 0;
    for (;;) {
        const std::size_t kept = buffer.size();
        buffer.resize(kept + kBlock);
        in.read(buffer.data() + kept, static_cast<std::streamsize>(kBlock));
        buffer.resize(kept + static_cast<std::size_t>(in.gcount()));
        if (in.gcount() == 0) {
            count += CountMatchingLines(re, buffer);
            return count;
        }
        const std::size_t lastBreak = buffer.rfind('\n');
        if (lastBreak == std::string::npos)
            continue;
        count += CountMatchingLines(re, std::string_view(buffer).substr(0, lastBreak + 1));
        buffer.erase(0, lastBreak + 1);
    }
}

// The same patterns over the same Polish text held in UTF-8 and in Windows-1250.
void RunPolishSuite()
{
    const std::string utf8 = GeneratePolishText(100u << 20);
    const std::string ansi = codepage::FromUtf8(utf8);
    std::printf("\n%.1f MB of Polish text in UTF-8 (%.1f MB in Windows-1250), searched line by line\n",
                static_cast<double>(utf8.size()) / (1 << 20), static_cast<double>(ansi.size()) / (1 << 20));
    std::printf("%-28s %-14s %12s %10s %10s\n", "pattern", "encoding", "lines", "seconds", "MB/s");
    const char* patterns[] = {"źdźbło", "[ąęółśżźćń]+", "żółw|błąd|chrząszcz"};
    for (const char* pattern : patterns) {
        for (const TOstEncoding encoding : {TOstEncoding::Utf8, TOstEncoding::Windows1250}) {
            const bool inUtf8 = encoding == TOstEncoding::Utf8;
            const std::string& text = inUtf8 ? utf8 : ansi;
            TOstRegex re;
            re.SetEncoding(encoding);
            re.SetExpression(inUtf8 ? std::string(pattern) : codepage::FromUtf8(pattern));
            const auto t0 = std::chrono::steady_clock::now();
            const long n = CountMatchingLines(re, text);
            const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            std::printf("%-28s %-14s %12ld %10.3f %10.1f\n", pattern, std::string(EncodingName(encoding)).c_str(), n, s,
                        static_cast<double>(text.size()) / (1 << 20) / s);
        }
    }
}

int RunSuite()
{
    const std::string text = GenerateText(100u << 20);
    const double mb = static_cast<double>(text.size()) / (1 << 20);
    std::printf("%.1f MB of generated text, searched line by line\n", mb);
    std::printf("%-28s %-14s %12s %10s %10s\n", "pattern", "count", "result", "seconds", "MB/s");
    const char* patterns[] = {"highlighter", "[0-9]+", "error|warning|fatal"};
    for (const char* pattern : patterns) {
        TOstRegex re;
        re.SetExpression(pattern);
        for (bool everyMatch : {false, true}) {
            const auto t0 = std::chrono::steady_clock::now();
            const long n = everyMatch ? CountMatches(re, text) : CountMatchingLines(re, text);
            const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            std::printf("%-28s %-14s %12ld %10.3f %10.1f\n", pattern,
                        everyMatch ? "matches" : "matching lines", n, s, mb / s);
        }
    }
    RunPolishSuite();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--generate" && (argc == 3 || argc == 4 || argc == 6)) {
        const std::size_t megabytes = argc >= 4 ? std::stoul(argv[3]) : 100;
        if (argc == 6 && std::string(argv[4]) == "--polish") {
            const std::string text = GeneratePolishText(megabytes << 20);
            const bool inUtf8 = std::string(argv[5]) == "utf-8";
            std::ofstream(argv[2], std::ios::binary) << (inUtf8 ? text : codepage::FromUtf8(text));
            return 0;
        }
        std::ofstream(argv[2], std::ios::binary) << GenerateText(megabytes << 20);
        return 0;
    }
    if (mode == "--count" && (argc == 4 || argc == 6)) {
        TOstRegex re;
        int at = 2;
        if (argc == 6 && std::string(argv[2]) == "--encoding") {
            const auto encoding = EncodingFromName(argv[3]);
            if (!encoding) {
                std::fprintf(stderr, "unknown encoding '%s'\n", argv[3]);
                return 2;
            }
            re.SetEncoding(*encoding);
            at = 4;
        }
        re.SetExpression(argv[at]);
        try {
            std::printf("%ld\n", CountMatchingLinesOfFile(re, argv[at + 1]));
        } catch (const EOstRegex& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
        return 0;
    }
    if (argc == 1)
        return RunSuite();
    std::fprintf(stderr, "usage: regex_bench [--generate FILE [MB [--polish ENC]] | "
                         "--count [--encoding ENC] PATTERN FILE]\n");
    return 2;
}
