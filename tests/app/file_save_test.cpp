// Saving documents: save, save as, save all, the save question, read-only
// targets, failed writes that must leave the old file alone, and renaming.

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <unistd.h>

#include <QFile>

#include "AppTestSupport.h"
#include "support/FileSystemLimits.h"
#include "support/TestSupport.h"
#include "app/GlobalRes.h"
#include "platform/SafeWrite.h"

namespace ostrel::test {
namespace {

using FileSaveTest = MainWindowTest;

mode_t ModeOf(const std::filesystem::path& p)
{
    struct stat info {};
    EXPECT_EQ(::stat(p.c_str(), &info), 0);
    return info.st_mode & 07777;
}

// ---- save and save as ----------------------------------------------------------------

TEST_F(FileSaveTest, SaveWritesTheFileWithItsOwnLineBreaks)
{
    TempDir dir;
    OpenFile(dir.path(), "unix.txt", "one\ntwo\n");
    Current().Editor().SetCaretXY({4, 2});
    Type("\r\nthree");
    Click("miZapisz1");
    EXPECT_EQ(ReadFile(dir / "unix.txt"), "one\ntwo\nthree\n");
    EXPECT_FALSE(Current().Editor().Modified());
    EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Nie zmieniony"));
    EXPECT_FALSE(Action("tbZapisz1")->isEnabled());
}

TEST_F(FileSaveTest, SaveKeepsThePermissionsAndLinksOfTheTarget)
{
    TempDir dir;
    WriteFile(dir / "script.sh", "echo 1\n");
    ::chmod((dir / "script.sh").c_str(), 0750);
    std::filesystem::create_symlink(dir / "script.sh", dir / "link.sh");
    window->OpenDocument(Q(dir / "link.sh"));
    Type("# ");
    Click("miZapisz1");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.sh"));
    EXPECT_EQ(ReadFile(dir / "script.sh"), "# echo 1\n");
    EXPECT_EQ(ModeOf(dir / "script.sh"), 0750u);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST_F(FileSaveTest, SaveOfAnUntitledDocumentAsksForANameAndTakesIt)
{
    TempDir dir;
    Type("hello");
    dialogs->saveChoices.push_back(Q(dir / "hello.html"));
    Click("tbZapisz1");
    EXPECT_EQ(ReadFile(dir / "hello.html"), "hello\r\n");
    EXPECT_EQ(Current().Path(), Q(dir / "hello.html"));
    EXPECT_EQ(TabCaption(0), QStringLiteral("hello.html"));
    EXPECT_EQ(window->windowTitle(), Q(dir / "hello.html") + QStringLiteral(" - Ostrel 3.2"));
    // Saving under a name does not change the highlighter.
    EXPECT_EQ(Current().Highlighter(), nullptr);
}

TEST_F(FileSaveTest, CancellingTheSaveDialogChangesNothing)
{
    Type("hello");
    dialogs->saveChoices.push_back(QString());
    Click("miZapiszjako1");
    EXPECT_TRUE(Current().Editor().Modified());
    EXPECT_EQ(Current().Path(), QString());
}

TEST_F(FileSaveTest, AReadOnlyTargetIsRefusedAndTheDocumentStaysModified)
{
    TempDir dir;
    OpenFile(dir.path(), "locked.txt", "old\n");
    ::chmod((dir / "locked.txt").c_str(), 0444);
    Type("new ");
    Click("miZapisz1");
    EXPECT_EQ(dialogs->Texts(QStringLiteral("error")), std::vector<QString>{res::kReadOnlyFile});
    EXPECT_EQ(res::kReadOnlyFile,
              QStringLiteral("Plik ma ustawione atrybuty \"tylko do odczytu\". Nie mogę do niego zapisać."));
    EXPECT_EQ(ReadFile(dir / "locked.txt"), "old\n");
    EXPECT_TRUE(Current().Editor().Modified());
    EXPECT_EQ(Current().Path(), Q(dir / "locked.txt"));
    // Save as onto it is refused the same way and keeps the old path.
    dialogs->saveChoices.push_back(Q(dir / "locked.txt"));
    Click("miZapiszjako1");
    EXPECT_EQ(dialogs->Count(QStringLiteral("error")), 2);
    EXPECT_TRUE(Current().Editor().Modified());
}

TEST_F(FileSaveTest, AFailedWriteLeavesTheOldFileIntactAndSaysSo)
{
    TempDir dir;
    OpenFile(dir.path(), "kept.txt", "precious\n");
    std::string lines;
    for (int i = 0; i < 2000; ++i)
        lines += std::string(48, 'x') + "\r\n";
    Type(lines.c_str());
    {
        const FileSizeLimit limit(4096);
        Click("miZapisz1");
    }
    EXPECT_EQ(dialogs->Texts(QStringLiteral("error")),
              std::vector<QString>{res::kSaveError + u' ' + res::kReasonTooLarge});
    EXPECT_EQ(ReadFile(dir / "kept.txt"), "precious\n");
    EXPECT_TRUE(Current().Editor().Modified());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    // Once the disk has room again the same document saves.
    Click("miZapisz1");
    EXPECT_EQ(ReadFile(dir / "kept.txt").size(), 2000u * 49u + 9u);
    EXPECT_FALSE(Current().Editor().Modified());
}

TEST_F(FileSaveTest, TheSafeSaveNeverReplacesWhatItCannotFinish)
{
    TempDir dir;
    TOstEdit editor;
    editor.SetSelText("new content");
    std::filesystem::create_directory(dir / "adir");
    EXPECT_ANY_THROW(editor.Lines().SaveToFile((dir / "adir").string()));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "adir"));
    EXPECT_ANY_THROW(editor.Lines().SaveToFile((dir / "nofolder" / "x.txt").string()));
    // A new file gets the bits the umask allows.
    const mode_t mask = ::umask(022);
    editor.Lines().SaveToFile((dir / "new.txt").string());
    ::umask(mask);
    EXPECT_EQ(ReadFile(dir / "new.txt"), "new content\r\n");
    EXPECT_EQ(ModeOf(dir / "new.txt"), 0644u);
}

// ---- save errors and their reasons --------------------------------------------------------

TEST_F(FileSaveTest, ASaveErrorGivesTheSystemsReasonAndTheDocumentStaysAsItWas)
{
    TempDir dir;
    Type("text");
    std::vector<QString> expected;
    dialogs->saveChoices.push_back(Q(dir / "missing" / "a.txt"));
    Click("miZapiszjako1");
    expected.push_back(QStringLiteral("Wystąpił błąd podczas zapisywania pliku. Folder nie istnieje."));
    std::filesystem::create_directory(dir / "closed");
    ::chmod((dir / "closed").c_str(), 0555);
    {
        const PermissionsBind bind;
        dialogs->saveChoices.push_back(Q(dir / "closed" / "a.txt"));
        Click("miZapiszjako1");
        expected.push_back(QStringLiteral("Wystąpił błąd podczas zapisywania pliku. Brak uprawnień do zapisu."));
    }
    SmallFileSystem small(64 << 10);
    if (small.Mounted()) {
        WriteFile(small / "full.txt", "old");
        window->OpenDocument(Q(small / "full.txt"));
        Type(std::string(100 << 10, 'x').c_str());
        Click("miZapisz1");
        expected.push_back(QStringLiteral("Wystąpił błąd podczas zapisywania pliku. Brak miejsca na dysku."));
        EXPECT_EQ(ReadFile(small / "full.txt"), "old");
        EXPECT_TRUE(Current().Editor().Modified());
    }
    EXPECT_EQ(dialogs->Texts(QStringLiteral("error")), expected);
    EXPECT_EQ(window->DocumentAt(0)->Path(), QString());
    EXPECT_TRUE(window->DocumentAt(0)->Editor().Modified());
    EXPECT_FALSE(std::filesystem::exists(dir / "closed" / "a.txt"));
}

TEST_F(FileSaveTest, OpeningAFileRemovesWhatAKilledSaveLeftBesideIt)
{
    TempDir dir;
    WriteFile(dir / "big.txt", "kept\n");
    WriteFile(dir / ".big.txt.ostrel-k1LLed", std::string(1 << 20, 'x'));
    WriteFile(dir / ".other.txt.ostrel-k1LLed", "another file's");
    window->OpenDocument(Q(dir / "big.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir / ".big.txt.ostrel-k1LLed"));
    EXPECT_TRUE(std::filesystem::exists(dir / ".other.txt.ostrel-k1LLed"));
    EXPECT_EQ(Current().Editor().Lines()[0], "kept");
}

// ---- save all and the save question ------------------------------------------------------

TEST_F(FileSaveTest, SaveAllAsksOnceForTheUntitledDocumentAndReturnsToTheActiveTab)
{
    TempDir dir;
    WriteFile(dir / "a.txt", "a\n");
    WriteFile(dir / "b.txt", "b\n");
    Type("untitled");
    window->OpenDocument(Q(dir / "a.txt"));
    Type("A");
    window->OpenDocument(Q(dir / "b.txt"));
    Type("B");
    window->pcEdytory1->setCurrentIndex(1);
    dialogs->saveChoices.push_back(Q(dir / "c.txt"));
    Click("tbZapiszWszystkie1");
    EXPECT_EQ(dialogs->Count(QStringLiteral("save")), 1);
    EXPECT_EQ(ReadFile(dir / "a.txt"), "Aa\n");
    EXPECT_EQ(ReadFile(dir / "b.txt"), "Bb\n");
    EXPECT_EQ(ReadFile(dir / "c.txt"), "untitled\r\n");
    EXPECT_EQ(window->pcEdytory1->currentIndex(), 1);
    EXPECT_EQ(window->windowTitle(), Q(dir / "a.txt") + QStringLiteral(" - Ostrel 3.2"));
}

TEST_F(FileSaveTest, YesInTheSaveQuestionSavesBeforeClosing)
{
    TempDir dir;
    OpenFile(dir.path(), "a.txt", "a\n");
    Type("x");
    dialogs->answers.push_back(TAnswer::Yes);
    Click("miZamknij1");
    EXPECT_EQ(ReadFile(dir / "a.txt"), "xa\n");
    ASSERT_EQ(window->DocumentCount(), 1);
    EXPECT_EQ(TabCaption(0), QStringLiteral("1 Bez nazwy"));
}

TEST_F(FileSaveTest, ASaveThatDidNotHappenKeepsTheDocumentOpen)
{
    Type("precious");
    dialogs->answers.push_back(TAnswer::Yes);
    dialogs->saveChoices.push_back(QString());  // the save dialog is cancelled
    Click("miZamknij1");
    ASSERT_EQ(window->DocumentCount(), 1);
    EXPECT_TRUE(Current().Editor().Modified());
    EXPECT_EQ(Current().Editor().Lines()[0], "precious");
}

// ---- rename ----------------------------------------------------------------------------

TEST_F(FileSaveTest, RenameChecksTheNewNameStepByStep)
{
    TempDir dir;
    WriteFile(dir / "a.txt", "a\n");
    WriteFile(dir / "taken.txt", "t\n");
    window->OpenDocument(Q(dir / "a.txt"));
    for (const char* answer : {"a.txt", "taken.txt", "bad:name", ""})
        dialogs->inputs.push_back(QString::fromLatin1(answer));
    for (int i = 0; i < 4; ++i)
        Click("miZmienNazwe1");
    const std::vector<TShown> expected = {
        {QStringLiteral("input"), res::kRenamePrompt},
        {QStringLiteral("input"), res::kRenamePrompt},
        {QStringLiteral("information"), res::kRenameExists},
        {QStringLiteral("input"), res::kRenamePrompt},
        {QStringLiteral("error"), res::kRenameInvalid},
        {QStringLiteral("input"), res::kRenamePrompt},
        {QStringLiteral("information"), res::kRenameEmpty},
    };
    ASSERT_EQ(dialogs->shown.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(dialogs->shown[i].kind, expected[i].kind) << i;
        EXPECT_EQ(dialogs->shown[i].text, expected[i].text) << i;
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "a.txt"));
}

TEST_F(FileSaveTest, RenameMovesTheFileAndTheDocument)
{
    TempDir dir;
    OpenFile(dir.path(), "a.txt", "a\n");
    dialogs->inputs.push_back(QStringLiteral("zażółć.txt"));
    Click("miZmienNazwe1");
    EXPECT_FALSE(std::filesystem::exists(dir / "a.txt"));
    EXPECT_EQ(ReadFile(dir / "zażółć.txt"), "a\n");
    EXPECT_EQ(TabCaption(1), QStringLiteral("zażółć.txt"));
    EXPECT_EQ(Current().Path(), Q(dir / "zażółć.txt"));
    EXPECT_EQ(window->windowTitle(), Q(dir / "zażółć.txt") + QStringLiteral(" - Ostrel 3.2"));
}

TEST_F(FileSaveTest, RenameOfAModifiedDocumentAsksToSaveFirst)
{
    TempDir dir;
    OpenFile(dir.path(), "a.txt", "a\n");
    Type("x");
    Click("miZmienNazwe1");
    EXPECT_EQ(dialogs->Texts(QStringLiteral("information")), std::vector<QString>{res::kRenameSaveFirst});
    EXPECT_EQ(dialogs->Count(QStringLiteral("input")), 0);
}

TEST_F(FileSaveTest, ValidFileNamesExcludeTheReservedCharacters)
{
    EXPECT_TRUE(TOstrel3Main::IsValidFileName(QStringLiteral("zażółć gęślą.txt")));
    for (const char* bad : {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"})
        EXPECT_FALSE(TOstrel3Main::IsValidFileName(QString::fromLatin1(bad))) << bad;
}

}  // namespace
}  // namespace ostrel::test
