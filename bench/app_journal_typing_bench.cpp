// The cost of the crash recovery journal while typing into a 100 MB
// document, in the real main window (offscreen). Prints:
//  - how long one key takes to handle, typed while no journal is written and
//    typed while the journal of the document is being taken;
//  - the longest the event loop was held while a journal was taken and
//    written (the longest any keystroke could have waited), and how long the
//    whole journal took until it was on disk;
//  - for comparison, how long copying the text in one piece would hold the
//    window (what every keystroke after a pause would wait without slices).
// Usage: app_journal_typing_bench [MEGABYTES]   (100 by default)

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Document.h"
#include "app/Mein.h"
#include "app/RecoveryJournal.h"
#include "app/qt/OstEditWidget.h"
#include "editor/OstRecoveryRecord.h"
#include "platform/RecoveryFolder.h"

namespace {

using namespace ostrel;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct TStats {
    double median = 0, p99 = 0, max = 0;
};

TStats StatsOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    if (values.empty())
        return {};
    return {values[values.size() / 2], values[values.size() * 99 / 100], values.back()};
}

void Print(const char* what, const TStats& s)
{
    std::printf("%-58s median %7.3f ms  p99 %7.3f ms  max %7.3f ms\n", what, s.median, s.p99, s.max);
}

// A journal written after the moment given.
bool JournalWrittenSince(fs::file_time_type since)
{
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(TRecoveryFolder::Folder(), error))
        if (entry.path().extension() == ".journal" && entry.last_write_time(error) >= since)
            return true;
    return false;
}

// Runs the event loop, noting every gap between two turns of it.
std::vector<double> LoopGapsUntil(const std::function<bool()>& done, int limitMs)
{
    std::vector<double> gaps;
    QElapsedTimer clock;
    clock.start();
    auto last = Clock::now();
    while (!done() && clock.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const auto now = Clock::now();
        gaps.push_back(Ms(now - last));
        last = now;
    }
    return gaps;
}

// Types count keys, one every interval, handling events between them; the
// time each key took from when it was due until it was handled.
std::vector<double> TypeKeys(QWidget* editor, int count, std::chrono::milliseconds interval)
{
    std::vector<double> latencies;
    auto due = Clock::now();
    for (int i = 0; i < count; ++i) {
        due += interval;
        while (Clock::now() < due)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        QTest::keyClick(editor, 'a' + i % 26);
        latencies.push_back(Ms(Clock::now() - due));
    }
    return latencies;
}

}  // namespace

int main(int argc, char** argv)
{
    const int megabytes = argc > 1 ? std::atoi(argv[1]) : 100;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const fs::path home = fs::temp_directory_path() / ("ostrel-journal-bench-" + std::to_string(::getpid()));
    fs::create_directories(home / "config");
    fs::create_directories(home / "state");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((home / "config").string()));
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString((home / "state").string()));
    const fs::path file = home / "big.txt";
    {
        std::ofstream out(file, std::ios::binary);
        const std::string line = "Zażółć gęślą jaźń, a to jest zwykły wiersz tekstu do pisania.\n";
        for (size_t written = 0; written < size_t(megabytes) << 20; written += line.size())
            out << line;
    }

    QApplication app(argc, argv);
    int status = 0;
    {
        TOstrel3Main window;
        window.show();
        QCoreApplication::processEvents();
        window.OpenDocument(QString::fromStdString(file.string()));
        TDocumentPage& document = *window.CurrentDocument();
        QWidget* editor = &document.EditWidget();
        editor->setFocus();
        std::printf("document: %d MB, %d lines\n", megabytes, document.Editor().Lines().Count());

        // The event loop left to itself for a second: the machine's own noise.
        const std::vector<double> idle = LoopGapsUntil([] { return false; }, 1000);
        // Keys typed before the two seconds are up: no journal is taken yet.
        const TStats quiet = StatsOf(TypeKeys(editor, 150, std::chrono::milliseconds(10)));
        // A pause: the journal starts; keys typed while it is being taken.
        QTest::qWait(TRecoveryJournal::kDelayMs + 20);
        const TStats during = StatsOf(TypeKeys(editor, 150, std::chrono::milliseconds(10)));
        // A pause long enough for the journal to be written to the end.
        QTest::qWait(TRecoveryJournal::kDelayMs - 20);
        const auto since = fs::file_time_type::clock::now();
        const auto started = Clock::now();
        const auto done = [since] { return JournalWrittenSince(since); };
        const std::vector<double> gaps = LoopGapsUntil(done, 60000);
        const double journalMs = Ms(Clock::now() - started) - 20;
        const bool written = done();
        // The same copy in one piece, as a journal without slices would take it.
        const auto wholeStart = Clock::now();
        TOstTextSnapshot whole(document.Editor().Lines());
        whole.Continue(Clock::time_point::max());
        const double wholeMs = Ms(Clock::now() - wholeStart);

        // One slice of the copy, as the journal takes it between events.
        std::vector<double> slices;
        {
            TOstTextSnapshot sliced(document.Editor().Lines());
            for (bool done = false; !done;) {
                const auto begin = Clock::now();
                done = sliced.Continue(begin + std::chrono::milliseconds(2));
                slices.push_back(Ms(Clock::now() - begin));
            }
        }
        Print("one slice of the copy (budget 2 ms)", StatsOf(slices));
        Print("event loop held, idle (no journal)", StatsOf(idle));
        Print("one key, no journal being taken", quiet);
        Print("one key, typed while the journal is being taken", during);
        Print("event loop held, while a journal is taken and written", StatsOf(gaps));
        std::printf("journal on disk after (from the end of the 2 s wait):   %8.1f ms%s\n", journalMs,
                    written ? "" : "  (not written!)");
        std::printf("copying the text in one piece would hold the window:    %8.1f ms\n", wholeMs);
        status = written ? 0 : 1;
        for (int i = 0; i < window.DocumentCount(); ++i)
            window.DocumentAt(i)->Editor().SetModified(false);
    }
    std::error_code error;
    fs::remove_all(home, error);
    return status;
}
