// Opening a 100 MB HTML file in the main window (offscreen), as "Otwórz"
// does: the time it takes and how many lines the highlighters scanned to
// find the state at each line's end. A file is worth one scan of its lines;
// every further scan is time the user waits for nothing.
//
//   app_open_scan_bench [megabytes]        (default 100)
//
// Two cases: the template editor with no highlighter, and with the C++ one
// (a user whose new documents are C++), so the document starts with a
// highlighter other than the one its extension chooses.
//
// The lines are counted at the scan's own step, the highlighter's
// SkipToLineEnd, which the link redirects through the counter below
// (-Wl,--wrap); the program itself carries no counter.

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/Document.h"
#include "app/Mein.h"
#include "highlighters/OstEditHighlighter.h"

namespace {

long long scannedLines = 0;

}  // namespace

// The linker sends every call of the scan step from the engine here.
extern "C" void __real__ZN6ostrel21TOstCustomHighlighter13SkipToLineEndEv(ostrel::TOstCustomHighlighter*);
extern "C" void __wrap__ZN6ostrel21TOstCustomHighlighter13SkipToLineEndEv(ostrel::TOstCustomHighlighter* self)
{
    ++scannedLines;
    __real__ZN6ostrel21TOstCustomHighlighter13SkipToLineEndEv(self);
}

namespace {

using namespace ostrel;
using Clock = std::chrono::steady_clock;

// A page of tables, links, comments, inline styles and scripts, repeated
// with numbered rows until it reaches the size.
long long WriteHtml(const std::string& path, long long bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << "<!DOCTYPE html>\n<html>\n<head><meta charset=\"utf-8\"><title>Raport</title></head>\n<body>\n";
    long long lines = 4;
    long long written = 0;
    for (long long row = 0; written < bytes; ++row) {
        const std::string n = std::to_string(row);
        const std::string block =
            "<tr class=\"r" + n + "\"><td>" + n + "</td><td><a href=\"strona" + n +
            ".html\">Łódź &amp; okolice</a></td></tr>\n"
            "<!-- wiersz " + n + " -->\n"
            "<p style=\"color: #336699\">Zażółć gęślą jaźń, akapit " + n + ".</p>\n"
            "<script>var x" + n + " = \"" + n + "\"; // licznik</script>\n"
            "<div id=\"d" + n + "\"><b>pogrubiony</b> <i>pochyły</i> tekst</div>\n";
        out << block;
        written += static_cast<long long>(block.size());
        lines += 5;
    }
    out << "</body>\n</html>\n";
    return lines + 2;
}

void OpenOnce(TOstrel3Main& window, const QString& path, const char* templateName)
{
    scannedLines = 0;
    const auto start = Clock::now();
    window.OpenDocument(path);
    QApplication::processEvents();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const TDocumentPage* document = window.CurrentDocument();
    const int lines = document ? document->Editor().Lines().Count() : 0;
    std::printf("template %-5s  open %7.3f s  lines %9d  lines scanned %10lld  (%.2f scans)\n", templateName,
                seconds, lines, scannedLines, lines ? static_cast<double>(scannedLines) / lines : 0.0);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir home;
    // Settings and recovery journals of a fresh user, never the real one's.
    qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_STATE_HOME", QDir(home.path()).filePath(QStringLiteral("state")).toUtf8());
    const long long megabytes = argc > 1 ? std::atoll(argv[1]) : 100;
    QApplication app(argc, argv);

    const QString path = QDir(home.path()).filePath(QStringLiteral("raport.html"));
    const long long lines = WriteHtml(path.toStdString(), megabytes * 1024 * 1024);
    std::printf("file %lld MB, %lld lines\n", megabytes, lines);

    TOstrel3Main window;
    window.show();
    QApplication::processEvents();
    OpenOnce(window, path, "none");
    window.Template().SetHighlighter(window.Highlighters().Get(hlCpp));
    // The same bytes under a second name: the window asks before it opens a
    // file twice.
    const QString second = QDir(home.path()).filePath(QStringLiteral("raport2.html"));
    std::filesystem::create_hard_link(path.toStdString(), second.toStdString());
    OpenOnce(window, second, "C++");
    for (int i = window.DocumentCount() - 1; i >= 0; --i)
        window.DocumentAt(i)->Editor().SetModified(false);
    return 0;
}
