// The journal in the window: only documents with unsaved changes are
// journaled, within two seconds of the last change; saving or closing
// removes a journal and a normal end leaves none; at the next start the
// chosen left-over documents come back and the others go.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

#include "AppTestSupport.h"
#include "app/RecoveryJournal.h"
#include "editor/OstRecoveryRecord.h"
#include "platform/RecoveryFolder.h"
#include "platform/SafeWrite.h"
#include "support/TestSupport.h"

namespace ostrel::test {
namespace {

namespace fs = std::filesystem;

using RecoveryJournalTest = MainWindowTest;

std::vector<fs::path> Journals()
{
    std::vector<fs::path> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(TRecoveryFolder::Folder(), error))
        if (entry.path().extension() == ".journal")
            found.push_back(entry.path());
    return found;
}

bool WaitUntil(const std::function<bool()>& condition, int ms = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// A journal as a crashed instance (one whose lock is gone) leaves it.
void LeaveJournal(const std::string& name, const TOstEditStringList& lines, const std::string& path,
                  const std::string& title)
{
    TOstRecoveryRecord record;
    record.path = path;
    record.title = title;
    record.encoding = lines.Encoding();
    record.lineBreaks = lines.LineBreakStyle();
    record.trailingBreak = lines.TrailingLineBreak();
    record.caretX = 3;
    record.caretY = 2;
    TOstTextSnapshot snapshot(lines);
    snapshot.Continue(std::chrono::steady_clock::time_point::max());
    record.textBlocks = snapshot.TakeBlocks();
    std::string bytes = RecoveryHeader(record);
    for (const std::string& block : record.textBlocks)
        bytes += block;
    MakePrivateFolder(TRecoveryFolder::Folder());
    WriteFile(fs::path(TRecoveryFolder::Folder()) / (name + ".journal"), bytes);
}

TEST_F(RecoveryJournalTest, OnlyChangedDocumentsAreJournaledAndSavingOrClosingRemovesThem)
{
    TempDir dir;
    Type("untitled text");
    OpenFile(dir.path(), "a.txt", "a\n");
    Type("changed ");
    OpenFile(dir.path(), "b.txt", "b\n");  // left alone
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(WaitUntil([] { return Journals().size() == 2; }));
    EXPECT_GE(clock.elapsed(), TRecoveryJournal::kDelayMs - 100) << "debounced";
    EXPECT_LT(clock.elapsed(), TRecoveryJournal::kDelayMs + 1500);
    for (const fs::path& journal : Journals())
        EXPECT_EQ(fs::status(journal).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    window->pcEdytory1->setCurrentIndex(1);
    Click("miZapisz1");
    window->Journal().Flush();
    EXPECT_EQ(Journals().size(), 1u);
    window->pcEdytory1->setCurrentIndex(0);
    dialogs->answers.push_back(TAnswer::No);
    Click("miZamknij1");
    window->Journal().Flush();
    EXPECT_TRUE(Journals().empty());
}

TEST_F(RecoveryJournalTest, ANormalEndLeavesNoJournalAndNoLock)
{
    Type("text that is thrown away");
    ASSERT_TRUE(WaitUntil([] { return Journals().size() == 1; }));
    dialogs->answers.push_back(TAnswer::No);
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(Journals().empty());
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(TRecoveryFolder::Folder(), error))
        ADD_FAILURE() << "left behind: " << entry.path();
}

TEST_F(RecoveryJournalTest, ARunningInstancesJournalsAreNotOffered)
{
    Type("still being edited");
    ASSERT_TRUE(WaitUntil([] { return Journals().size() == 1; }));
    auto second = std::make_unique<TScriptedDialogs>();
    TScriptedDialogs* secondDialogs = second.get();
    TOstrel3Main other(QString(), std::move(second));
    other.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(secondDialogs->Count(QStringLiteral("recovery")), 0);
    EXPECT_EQ(Journals().size(), 1u);
}

class RecoveryAtStartTest : public ::testing::Test {
protected:
    void SetUp() override { TestApp(); }
    void TearDown() override
    {
        if (window)
            for (int i = 0; i < window->DocumentCount(); ++i)
                window->DocumentAt(i)->Editor().SetModified(false);
        window.reset();
        std::error_code error;
        fs::remove_all(TRecoveryFolder::Folder(), error);
    }
    void Start(std::optional<std::vector<bool>> choice)
    {
        auto scripted = std::make_unique<TScriptedDialogs>();
        dialogs = scripted.get();
        dialogs->recoveryChoices.push_back(choice);
        window = std::make_unique<TOstrel3Main>(QString(), std::move(scripted));
        window->show();
        QCoreApplication::processEvents();
    }
    TScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TOstrel3Main> window;
};

TEST_F(RecoveryAtStartTest, TheChosenDocumentsComeBackAndTheOthersGo)
{
    TempDir dir;
    WriteFile(dir / "utf16.txt", "on disk");
    TOstEditStringList utf16;
    utf16.LoadFromBytes(std::string("\xFF\xFEz\0\x7C\x01\r\0a\0", 10), TOstEncodingChoice{TOstEncoding::Utf16Le});
    LeaveJournal("111-1-1", utf16, (dir / "utf16.txt").string(), "utf16.txt");
    TOstEditStringList untitled;
    untitled.LoadFromBytes("dropped\r\n");
    LeaveJournal("111-1-2", untitled, "", "3 Bez nazwy");

    Start(std::vector<bool>{true, false});
    EXPECT_EQ(dialogs->Texts(QStringLiteral("recovery")), std::vector<QString>{Q(dir / "utf16.txt") + QStringLiteral("\n3 Bez nazwy")});
    ASSERT_EQ(window->DocumentCount(), 1) << "no empty untitled document beside the restored one";
    TDocumentPage& restored = *window->CurrentDocument();
    EXPECT_EQ(restored.Path(), Q(dir / "utf16.txt"));
    EXPECT_EQ(window->pcEdytory1->tabText(0), QStringLiteral("utf16.txt"));
    EXPECT_EQ(restored.Editor().Lines().FileBytes(), utf16.FileBytes());
    EXPECT_EQ(restored.Editor().Lines().Encoding(), TOstEncoding::Utf16Le);
    EXPECT_EQ(restored.Editor().Lines().LineBreakStyle(), Cr);
    EXPECT_EQ(restored.Editor().CaretXY(), (TBufferCoord{3, 2}));
    EXPECT_TRUE(restored.Editor().Modified());
    EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Zmieniony"));
    EXPECT_EQ(ReadFile(dir / "utf16.txt"), "on disk") << "restoring saves nothing";
    window->Journal().Flush();
    const std::vector<fs::path> left = Journals();
    ASSERT_EQ(left.size(), 1u) << "the left-over journals went, the restored document has its own";
    EXPECT_FALSE(left[0].filename().string().starts_with("111-"));
}

TEST_F(RecoveryAtStartTest, LaterKeepsTheJournalsForTheNextStart)
{
    TOstEditStringList untitled;
    untitled.LoadFromBytes("kept for later\r\n");
    LeaveJournal("222-1-1", untitled, "", "1 Bez nazwy");
    Start(std::nullopt);
    EXPECT_EQ(dialogs->Count(QStringLiteral("recovery")), 1);
    ASSERT_EQ(window->DocumentCount(), 1);
    EXPECT_FALSE(window->CurrentDocument()->Editor().Modified());
    window->Journal().Flush();
    ASSERT_EQ(Journals().size(), 1u);
    EXPECT_EQ(Journals()[0].filename().string(), "222-1-1.journal");
}

}  // namespace
}  // namespace ostrel::test
