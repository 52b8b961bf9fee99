// Loading and saving speed of the text buffer, and its memory after loading.
//
//   textbuffer_bench                  generates both files in a temporary folder
//                                     and measures each in a fresh process
//   textbuffer_bench generate DIR     writes DIR/lines.txt (2 million CR LF
//                                     lines, about 100 MB), DIR/oneline.txt
//                                     (one 50 MB line), and about 100 MB of
//                                     Polish sentences as DIR/polish-utf8.txt
//                                     and DIR/polish-1250.txt
//   textbuffer_bench load FILE        loads FILE; prints time, MB/s and peak memory
//   textbuffer_bench save FILE OUT    loads FILE and saves it to OUT
//
// Each measuring mode runs in its own process so that the peak resident
// memory belongs to that one file.

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

#include "editor/OstEditTextBuffer.h"

namespace fs = std::filesystem;
using ostrel::TOstEditStringList;

namespace {

constexpr int kLineCount = 2'000'000;
constexpr size_t kOneLineSize = 50'000'000;

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Peak resident memory of this process in bytes (VmHWM).
long PeakResidentBytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6) * 1024;
    }
    return -1;
}

// Source-like text: words, some indented with tabs, lines of 0 to 96 bytes.
void WriteLinesFile(const fs::path& path)
{
    std::mt19937 random(12345);
    static const char* const kWords[] = {"if", "(x", "==", "value)", "return", "buffer;", "{",
                                         "}", "int", "count", "=", "0;", "//", "note"};
    std::string content;
    content.reserve(kLineCount * 52ull);
    for (int i = 0; i < kLineCount; ++i) {
        const size_t target = random() % 97;
        const size_t start = content.size();
        if (random() % 4 == 0)
            content += '\t';
        while (content.size() - start < target) {
            content += kWords[random() % std::size(kWords)];
            content += ' ';
        }
        content.resize(start + target);
        content += "\r\n";
    }
    std::ofstream(path, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
}

void WriteOneLineFile(const fs::path& path)
{
    std::string content(kOneLineSize, 'x');
    for (size_t i = 0; i < content.size(); i += 61)
        content[i] = ' ';
    content += "\r\n";
    std::ofstream(path, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
}

// Polish prose, the same text in UTF-8 and in Windows-1250.
void WritePolishFiles(const fs::path& utf8Path, const fs::path& cp1250Path)
{
    std::mt19937 random(2024);
    static const char* const kSentences[] = {
        "Zażółć gęślą jaźń, powiedział dyrektor, i poszedł do domu.",
        "Źródło rzeki leży wysoko w górach, gdzie śnieg nie topnieje.",
        "Świętość tej księgi łączy się z historią naszego miasta.",
        "Pchnąć w tę łódź jeża lub ośm skrzyń fig.",
        "Ćma wleciała przez okno i usiadła na żółtej lampie.",
        "Mój brat ma dwóch synów i córkę, która uczy się grać na skrzypcach.",
    };
    std::string content;
    content.reserve(105'000'000);
    while (content.size() < 100'000'000) {
        const int sentences = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < sentences; ++i) {
            content += kSentences[random() % std::size(kSentences)];
            content += ' ';
        }
        content += "\n";
    }
    std::ofstream(utf8Path, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
    std::string cp1250;
    if (ostrel::FromUtf8(content, ostrel::TOstEncoding::Windows1250, cp1250) != std::string_view::npos)
        throw std::runtime_error("the Polish text has no place in Windows-1250");
    std::ofstream(cp1250Path, std::ios::binary).write(cp1250.data(), static_cast<std::streamsize>(cp1250.size()));
}

int Generate(const fs::path& dir)
{
    fs::create_directories(dir);
    WriteLinesFile(dir / "lines.txt");
    WriteOneLineFile(dir / "oneline.txt");
    WritePolishFiles(dir / "polish-utf8.txt", dir / "polish-1250.txt");
    std::printf("generated %s, %s, polish-utf8.txt and polish-1250.txt\n", (dir / "lines.txt").c_str(),
                (dir / "oneline.txt").c_str());
    return 0;
}

double MegaBytes(uintmax_t bytes) { return static_cast<double>(bytes) / 1e6; }

int Load(const std::string& file)
{
    const uintmax_t size = fs::file_size(file);
    TOstEditStringList list;
    const auto start = std::chrono::steady_clock::now();
    list.LoadFromFile(file);
    const double seconds = Seconds(start);
    const long peak = PeakResidentBytes();
    std::printf("load  %-40s %9.1f MB %9d lines %8.3f s %8.0f MB/s   peak %7.1f MB = %.2fx file  (%s)\n",
                file.c_str(), MegaBytes(size), list.Count(), seconds, MegaBytes(size) / seconds,
                MegaBytes(static_cast<uintmax_t>(peak)), static_cast<double>(peak) / static_cast<double>(size),
                std::string(ostrel::EncodingName(list.Encoding())).c_str());
    return 0;
}

int Save(const std::string& file, const std::string& out)
{
    TOstEditStringList list;
    list.LoadFromFile(file);
    const auto start = std::chrono::steady_clock::now();
    list.SaveToFile(out);
    const double seconds = Seconds(start);
    const uintmax_t size = fs::file_size(out);
    std::printf("save  %-40s %9.1f MB %9d lines %8.3f s %8.0f MB/s\n", out.c_str(), MegaBytes(size),
                list.Count(), seconds, MegaBytes(size) / seconds);
    return 0;
}

std::string Contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs this program again with the arguments, so each measurement has its own process.
int RunChild(const char* self, std::initializer_list<std::string> args)
{
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv{const_cast<char*>(self)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv("/proc/self/exe", argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

int All(const char* self)
{
    const fs::path dir = fs::temp_directory_path() / ("textbuffer_bench." + std::to_string(getpid()));
    Generate(dir);
    int failures = 0;
    for (const char* name : {"lines.txt", "oneline.txt", "polish-utf8.txt", "polish-1250.txt"}) {
        const std::string file = (dir / name).string();
        failures += RunChild(self, {"load", file}) != 0;
        failures += RunChild(self, {"save", file, (dir / "saved.txt").string()}) != 0;
        if (Contents(file) != Contents(dir / "saved.txt")) {
            std::printf("      the saved file differs from %s\n", name);
            ++failures;
        }
    }
    fs::remove_all(dir);
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (argc == 1)
            return All(argv[0]);
        if (mode == "generate" && argc == 3)
            return Generate(argv[2]);
        if (mode == "load" && argc == 3)
            return Load(argv[2]);
        if (mode == "save" && argc == 4)
            return Save(argv[2], argv[3]);
        std::fprintf(stderr, "usage: %s [generate DIR | load FILE | save FILE OUT]\n", argv[0]);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "textbuffer_bench: %s\n", e.what());
        return 1;
    }
}
