// Open files changed behind the window's back: an unmodified document
// reloads quietly in its place, a modified one asks and never reloads on its
// own, a vanished file marks its document modified, and a save over a file
// that changed since it was read asks first.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

#include "AppTestSupport.h"
#include "app/GlobalRes.h"
#include "support/TestSupport.h"

namespace ostrel::test {
namespace {

namespace fs = std::filesystem;

using DiskChangesTest = MainWindowTest;

// Another program's write: a new file renamed over the old one, as version
// control and editors that keep backups do.
void ReplaceBehindTheWindow(const fs::path& path, const std::string& bytes)
{
    WriteFile(path.string() + ".other", bytes);
    fs::rename(path.string() + ".other", path);
}

bool WaitUntil(const std::function<bool()>& condition, int ms = 6000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return true;
}

TEST_F(DiskChangesTest, AnUnmodifiedDocumentReloadsInItsPlaceAsOneUndoStep)
{
    TempDir dir;
    const QString path = OpenFile(dir.path(), "a.txt", "one\ntwo\nthree\n");
    TOstEdit& editor = Current().Editor();
    editor.SetCaretXY({3, 3});
    ReplaceBehindTheWindow(dir / "a.txt", "one\nTWO  \nthree\nfour\n");
    ASSERT_TRUE(WaitUntil([&] { return editor.Lines().Count() == 4; })) << "the watcher or the poll saw the change";
    EXPECT_EQ(editor.Lines()[1], "TWO  ") << "the text as it is on disk, trailing blanks and all";
    EXPECT_EQ(editor.CaretXY(), (TBufferCoord{3, 3}));
    EXPECT_FALSE(editor.Modified());
    EXPECT_EQ(window->StatusPanelText(2), res::kReloadedFromDisk.arg(path));
    EXPECT_EQ(dialogs->shown.size(), 0u) << "no question for a document without changes";
    // Saving now writes the new text with the file's own breaks.
    Click("miZapisz1");
    EXPECT_EQ(ReadFile(dir / "a.txt"), "one\nTWO  \nthree\nfour\n");
    // The reload is one step back.
    editor.Undo();
    EXPECT_EQ(editor.Lines().Count(), 3);
    EXPECT_EQ(editor.Lines()[1], "two");
}

TEST_F(DiskChangesTest, AModifiedDocumentAsksOncePerChangeAndKeepsItsTextUnlessTold)
{
    TempDir dir;
    const QString path = OpenFile(dir.path(), "b.txt", "mine\n");
    Type("typed ");
    ReplaceBehindTheWindow(dir / "b.txt", "theirs\n");
    dialogs->answers.push_back(TAnswer::No);
    window->CheckDiskChanges();
    window->CheckDiskChanges();
    EXPECT_EQ(dialogs->Texts(QStringLiteral("question")), std::vector<QString>{res::kChangedOnDisk.arg(path)});
    EXPECT_EQ(res::kChangedOnDisk.arg(QStringLiteral("x")),
              QStringLiteral("Plik x został zmieniony przez inny program. Wczytać go ponownie i utracić zmiany?"));
    EXPECT_EQ(Current().Editor().Lines()[0], "typed mine");
    EXPECT_TRUE(Current().Editor().Modified());
    // A further change asks again; Yes reloads.
    ReplaceBehindTheWindow(dir / "b.txt", "theirs again\n");
    dialogs->answers.push_back(TAnswer::Yes);
    window->CheckDiskChanges();
    EXPECT_EQ(dialogs->Count(QStringLiteral("question")), 2);
    EXPECT_EQ(Current().Editor().Lines()[0], "theirs again");
    EXPECT_FALSE(Current().Editor().Modified());
}

TEST_F(DiskChangesTest, SavingOverAFileChangedSinceItWasReadAsksFirst)
{
    TempDir dir;
    const QString path = OpenFile(dir.path(), "c.txt", "base\n");
    Type("mine ");
    WriteFile(dir / "c.txt", "theirs\n");  // written in place this time
    dialogs->answers.push_back(TAnswer::No);  // do not reload
    window->CheckDiskChanges();
    dialogs->answers.push_back(TAnswer::No);  // do not save over it
    Click("miZapisz1");
    EXPECT_EQ(dialogs->Texts(QStringLiteral("question")).back(), res::kSaveOverChange.arg(path));
    EXPECT_EQ(ReadFile(dir / "c.txt"), "theirs\n");
    EXPECT_TRUE(Current().Editor().Modified());
    dialogs->answers.push_back(TAnswer::Yes);
    Click("miZapisz1");
    EXPECT_EQ(ReadFile(dir / "c.txt"), "mine base\n");
    EXPECT_FALSE(Current().Editor().Modified());
    // Our own save is no change: the next save asks nothing.
    Type("more ");
    Click("miZapisz1");
    EXPECT_EQ(dialogs->Count(QStringLiteral("question")), 3);
}

TEST_F(DiskChangesTest, AVanishedFileMarksItsDocumentModifiedAndATouchIsNoChange)
{
    TempDir dir;
    const QString path = OpenFile(dir.path(), "d.txt", "kept\n");
    ReplaceBehindTheWindow(dir / "d.txt", "kept\n");  // same bytes, another file
    window->CheckDiskChanges();
    EXPECT_FALSE(Current().Editor().Modified());
    EXPECT_FALSE(Current().Editor().CanUndo()) << "nothing was reloaded";
    fs::remove(dir / "d.txt");
    window->CheckDiskChanges();
    window->CheckDiskChanges();
    EXPECT_TRUE(Current().Editor().Modified());
    EXPECT_EQ(window->StatusPanelText(0), res::kModified);
    EXPECT_EQ(window->StatusPanelText(2), res::kGoneFromDisk.arg(path));
    EXPECT_EQ(dialogs->shown.size(), 0u);
    // Saving puts it back without a question.
    Click("miZapisz1");
    EXPECT_EQ(ReadFile(dir / "d.txt"), "kept\n");
}

}  // namespace
}  // namespace ostrel::test
