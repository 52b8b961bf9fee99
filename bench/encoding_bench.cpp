// Throughput of the encodings over a whole file: detection on opening (on
// Polish text in UTF-8 and the same text in Windows-1250), the UTF-8 scan
// alone, and file bytes to the buffer and back (DecodeFileBytes, then the
// encoder fed line by line as a saver feeds it) for utf-8, utf-8-bom,
// utf-16le and windows-1250. Figures are GB/s of file bytes, best of the runs.
//
// Usage: encoding_bench [MEGABYTES] [RUNS]   (default 100 and 3)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <string_view>

#include "platform/TextEncoding.h"
#include "platform/Utf8.h"

using namespace ostrel;
using Clock = std::chrono::steady_clock;

namespace {

const char* const kSentences[] = {
    "Zażółć gęślą jaźń.",
    "Świętość źródła nie zależy od pory roku.",
    "Pchnąć w tę łódź jeża lub ośm skrzyń fig.",
    "W Szczebrzeszynie chrząszcz brzmi w trzcinie.",
    "Ala ma kota, a kot ma Alę.",
    "Gdzie są te źrebaki, które biegały po łąkach?",
    "Książka leżała na półce obok słownika.",
    "Dzień dobry, proszę o fakturę numer",
    "Żółty żuraw chodził po mokradłach.",
    "Mój dziadek często opowiadał o wojnie.",
};

// Polish prose: the sentences in a seeded order with numbers between them,
// broken into lines of a few sentences each.
std::string MakePolishText(size_t bytes)
{
    std::mt19937 rng(1250);
    std::string text;
    text.reserve(bytes + 256);
    int inLine = 0;
    while (text.size() < bytes) {
        text += kSentences[rng() % std::size(kSentences)];
        if (rng() % 3 == 0)
            text += " " + std::to_string(rng() % 100000);
        if (++inLine == 3) {
            text += "\r\n";
            inLine = 0;
        } else {
            text += ' ';
        }
    }
    return text;
}

double BestSeconds(int runs, const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

void Report(const char* what, size_t bytes, double seconds)
{
    std::printf("%-44s %8.2f GB/s  (%.1f ms)\n", what, static_cast<double>(bytes) / seconds / 1e9, seconds * 1e3);
}

// The file through the encoder a line (and its break) at a time.
std::string EncodeByLines(std::string_view text, TOstEncoding e)
{
    TOstFileEncoder encoder(e);
    std::string file;
    file.reserve(e == TOstEncoding::Utf16Le ? text.size() * 2 + 2 : text.size() + 3);
    std::string out;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find("\r\n", start);
        end = end == std::string_view::npos ? text.size() : end + 2;
        out.clear();
        encoder.Encode(text.substr(start, end - start), out);
        file += out;
        start = end;
    }
    out.clear();
    if (!encoder.Finish(out))
        std::fprintf(stderr, "the encoder reported unencodable bytes\n");
    file += out;
    return file;
}

}  // namespace

int main(int argc, char** argv)
{
    const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::string utf8 = MakePolishText(megabytes * 1000 * 1000);
    std::string windows;
    if (ConvertText(utf8, TOstEncoding::Utf8, TOstEncoding::Windows1250, windows) != std::string_view::npos)
        return 1;
    const utf8::TScan counts = utf8::Scan(utf8);
    std::printf("text: %.1f MB of UTF-8 (%zu multi-byte letters, one per %.1f bytes), %.1f MB in Windows-1250\n\n",
                utf8.size() / 1e6, counts.multiByte, static_cast<double>(utf8.size()) / counts.multiByte,
                windows.size() / 1e6);

    TOstEncoding seen{};
    Report("DetectEncoding, UTF-8", utf8.size(), BestSeconds(runs, [&] { seen = DetectEncoding(utf8); }));
    if (seen != TOstEncoding::Utf8)
        std::fprintf(stderr, "detected %s\n", std::string(EncodingName(seen)).c_str());
    Report("DetectEncoding, Windows-1250", windows.size(),
           BestSeconds(runs, [&] { seen = DetectEncoding(windows); }));
    if (seen != TOstEncoding::Windows1250)
        std::fprintf(stderr, "detected %s\n", std::string(EncodingName(seen)).c_str());
    bool valid = false;
    Report("utf8::IsValid, UTF-8", utf8.size(), BestSeconds(runs, [&] { valid = utf8::IsValid(utf8); }));
    if (!valid)
        std::fprintf(stderr, "the text is not valid UTF-8\n");
    std::printf("\n");

    for (TOstEncoding e : {TOstEncoding::Utf8, TOstEncoding::Utf8Bom, TOstEncoding::Utf16Le, TOstEncoding::Windows1250}) {
        const std::string_view held = e == TOstEncoding::Windows1250 ? std::string_view(windows) : utf8;
        const std::string file = EncodeByLines(held, e);
        std::string text;
        const double decode = BestSeconds(runs, [&] { text = DecodeFileBytes(file, e); });
        std::string back;
        const double encode = BestSeconds(runs, [&] { back = EncodeByLines(text, e); });
        if (back != file || text != held)
            std::fprintf(stderr, "%s: the round trip changed the bytes\n", std::string(EncodingName(e)).c_str());
        const std::string name(EncodingName(e));
        Report((name + ": DecodeFileBytes").c_str(), file.size(), decode);
        Report((name + ": encoder, line by line").c_str(), file.size(), encode);
        Report((name + ": both").c_str(), file.size(), decode + encode);
    }
    std::printf("\n");
    std::string converted;
    Report("ConvertText, Windows-1250 to UTF-8", windows.size(), BestSeconds(runs, [&] {
               ConvertText(windows, TOstEncoding::Windows1250, TOstEncoding::Utf8, converted);
           }));
    Report("ConvertText, UTF-8 to Windows-1250", utf8.size(), BestSeconds(runs, [&] {
               ConvertText(utf8, TOstEncoding::Utf8, TOstEncoding::Windows1250, converted);
           }));
    Report("ToUtf8, UTF-8 document", utf8.size(), BestSeconds(runs, [&] { converted = ToUtf8(utf8, TOstEncoding::Utf8); }));
    return 0;
}
