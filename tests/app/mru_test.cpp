// The recent-files list: shortening captions, adding and moving entries, the
// "Ostatnio otwierane" submenu of the main window, a click on a missing
// file, and the list kept in the subkey "MRU" between runs.

#include <QMenu>
#include <QMenuBar>

#include "AppTestSupport.h"
#include "app/GlobalRes.h"
#include "app/MRUFileList.h"
#include "platform/CodePage.h"
#include "platform/OstRegistry.h"

namespace ostrel::test {
namespace {

// One pixel a character: the shortening is tested without fonts.
int CharacterWidth(const QString& text) { return static_cast<int>(text.size()); }

// ---- shortening ----------------------------------------------------------------

TEST(MinimizeName, CutsFoldersAfterTheStartThenTheStartThenAllFolders)
{
    const QString path = QStringLiteral("/Dokumenty/Projekty/www/index.html");
    const QStringList steps = {QStringLiteral("/.../Projekty/www/index.html"), QStringLiteral("/.../www/index.html"),
                               QStringLiteral("/.../index.html"), QStringLiteral(".../index.html"),
                               QStringLiteral("index.html")};
    EXPECT_EQ(MinimizeName(path, CharacterWidth(path), CharacterWidth), path);
    for (const QString& step : steps)
        EXPECT_EQ(MinimizeName(path, CharacterWidth(step), CharacterWidth), step);
    EXPECT_EQ(MinimizeName(path, 0, CharacterWidth), QStringLiteral("index.html"));
}

TEST(MinimizeName, KeepsADriveUntilOnlyTheCutMarkIsLeft)
{
    const QString path = QStringLiteral("C:/Dokumenty/Projekty/www/index.html");
    const QStringList steps = {QStringLiteral("C:/.../Projekty/www/index.html"),
                               QStringLiteral("C:/.../www/index.html"), QStringLiteral("C:/.../index.html"),
                               QStringLiteral(".../index.html"), QStringLiteral("index.html")};
    for (const QString& step : steps)
        EXPECT_EQ(MinimizeName(path, CharacterWidth(step), CharacterWidth), step);
}

TEST(CutFirstDirectory, TakesOneFolderAtATimeAlsoWhenItsNameBeginsWithADot)
{
    EXPECT_EQ(CutFirstDirectory(QStringLiteral("/")), QString());
    EXPECT_EQ(CutFirstDirectory(QStringLiteral("/a/b/c/")), QStringLiteral("/.../b/c/"));
    EXPECT_EQ(CutFirstDirectory(QStringLiteral("/.../b/c/")), QStringLiteral("/.../c/"));
    EXPECT_EQ(CutFirstDirectory(QStringLiteral(".../")), QString());
    // A hidden folder is a folder, not the mark of an earlier cut.
    EXPECT_EQ(CutFirstDirectory(QStringLiteral("/.ab/cd/ef/")), QStringLiteral("/.../cd/ef/"));
    EXPECT_EQ(CutFirstDirectory(QStringLiteral("/.../.ab/cd/")), QStringLiteral("/.../cd/"));
}

TEST(MRUAcceleratorPrefix, NumbersThenLettersThenNothing)
{
    EXPECT_EQ(MRUAcceleratorPrefix(0), QStringLiteral("&1 "));
    EXPECT_EQ(MRUAcceleratorPrefix(9), QStringLiteral("&0 "));
    EXPECT_EQ(MRUAcceleratorPrefix(10), QStringLiteral("&A "));
    EXPECT_EQ(MRUAcceleratorPrefix(35), QStringLiteral("&Z "));
    EXPECT_EQ(MRUAcceleratorPrefix(36), QString());
}

TEST(StoredMRUPath, PolishPathsAreCodePageTextOthersComeBackWhole)
{
    const QString polish = QStringLiteral("/home/jan/Łódź/żółw.txt");
    EXPECT_EQ(codepage::ToUtf8(StoredMRUPath(polish)), polish.toStdString());
    const QString cyrillic = QStringLiteral("/home/jan/Документы/файл 100%.txt");
    EXPECT_EQ(MRUPathFromStored(StoredMRUPath(cyrillic)), cyrillic);
    EXPECT_EQ(MRUPathFromStored(StoredMRUPath(polish)), polish);
}

// ---- the list on its own ---------------------------------------------------------

class MRUListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        list.SetAutoSave(false);
        list.SetMaximum(3);
        list.SetFileMenu(anchor);
        menu.addAction(QStringLiteral("Z&apisz jako..."));
        menu.addAction(anchor);
        list.CaptionWidth = CharacterWidth;
    }
    QStringList Captions() const
    {
        QStringList captions;
        for (const QAction* action : menu.actions())
            captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return captions;
    }

    QApplication& app = TestApp();
    QMenu menu;
    QAction* anchor = new QAction(&menu);
    TMRUFileList list;
    TempDir dir;
};

TEST_F(MRUListTest, NewEntriesGoOnTopAndTheOldestFallsOff)
{
    for (const char* name : {"/a", "/b", "/c", "/d"})
        list.AddItem(QString::fromLatin1(name));
    EXPECT_EQ(list.Items(), QStringList({"/d", "/c", "/b"}));
    list.AddItem(QStringLiteral("/b"));
    EXPECT_EQ(list.Items(), QStringList({"/b", "/d", "/c"}));
    list.SetMaximum(2);
    EXPECT_EQ(list.Items(), QStringList({"/b", "/d"}));
}

TEST_F(MRUListTest, ItemsStandBeforeTheAnchorWithTheirCommands)
{
    anchor->setSeparator(true);
    list.SetMaxCaptionWidth(0);
    list.AddItem(QStringLiteral("/x/Tom & Jerry.txt"));
    list.AddItem(QStringLiteral("/y.txt"));
    EXPECT_EQ(Captions(), QStringList({"Z&apisz jako...", "-", "&1 /y.txt", "&2 /x/Tom && Jerry.txt", "-",
                                       "&Clear MRU List", "&Remove Obsolete", "-"}));
    list.ClearAllItems();
    EXPECT_EQ(Captions(), QStringList({"Z&apisz jako...", "-"}));
}

TEST_F(MRUListTest, CaseOnlyDifferencesAreOneEntryOnlyWhereTheyNameOneFile)
{
    WriteFile(dir / "Readme.txt", "one");
    WriteFile(dir / "NOTES.txt", "two");
    WriteFile(dir / "notes.txt", "three");
    // A second name of one file, as a case-blind file system gives it.
    std::filesystem::create_symlink(dir / "Readme.txt", dir / "README.TXT");
    list.AddItem(Q(dir / "Readme.txt"));
    list.AddItem(Q(dir / "NOTES.txt"));
    list.AddItem(Q(dir / "README.TXT"));
    EXPECT_EQ(list.Items(), QStringList({Q(dir / "Readme.txt"), Q(dir / "NOTES.txt")}));
    list.AddItem(Q(dir / "notes.txt"));
    EXPECT_EQ(list.Items(), QStringList({Q(dir / "notes.txt"), Q(dir / "Readme.txt"), Q(dir / "NOTES.txt")}));
}

TEST_F(MRUListTest, DisplayModesAndTheClickedEntry)
{
    list.SetRemoveOnClick(true);
    list.AddItem(QStringLiteral("/p/archive.tar.gz"));
    list.AddItem(QStringLiteral("/p/page.html"));
    list.SetMRUDisplay(mdFileNameOnly);
    EXPECT_EQ(Captions().mid(2, 2), QStringList({"page", "archive.tar"}));
    list.SetMRUDisplay(mdFileNameExt);
    EXPECT_EQ(Captions().mid(2, 2), QStringList({"page.html", "archive.tar.gz"}));
    QStringList clicked;
    list.OnMRUItemClick = [&](TMRUFileList&, const QString& path) { clicked << path; };
    menu.actions().at(3)->trigger();
    EXPECT_EQ(clicked, QStringList({"/p/archive.tar.gz"}));
    EXPECT_EQ(list.Items(), QStringList({"/p/page.html"}));
}

TEST_F(MRUListTest, TheRemoveObsoleteEventDecidesWhichEntriesGo)
{
    WriteFile(dir / "here.txt", "x");
    list.AddItem(QStringLiteral("/nowhere/a.txt"));
    list.AddItem(Q(dir / "here.txt"));
    list.AddItem(QStringLiteral("/nowhere/b.txt"));
    list.RemoveObsoleteItems();
    EXPECT_EQ(list.Items(), QStringList({Q(dir / "here.txt")}));
    list.AddItem(QStringLiteral("/nowhere/c.txt"));
    list.OnRemoveObsolete = [](TMRUFileList&, const QString& entry, bool& remove) {
        remove = entry.endsWith(QStringLiteral("here.txt"));
    };
    list.RemoveObsoleteItems();
    EXPECT_EQ(list.Items(), QStringList({QStringLiteral("/nowhere/c.txt")}));
}

TEST_F(MRUListTest, AnIniFileKeepsTheListInItsSection)
{
    const QString other = QStringLiteral("/home/jan/Документы/x&y.txt");
    list.RegistryFile = dir / "registry.txt";
    list.SetUseRegistry(false);
    list.SetAutoSaveName(QStringLiteral("recent.ini"));
    list.AddItem(QStringLiteral("/a.txt"));
    list.AddItem(other);
    list.SaveList();
    EXPECT_TRUE(std::filesystem::exists(dir / "recent.ini"));
    TMRUFileList again;
    again.RegistryFile = list.RegistryFile;
    again.SetUseRegistry(false);
    again.SetAutoSaveName(QStringLiteral("recent.ini"));
    again.Loaded();
    EXPECT_EQ(again.Items(), QStringList({other, QStringLiteral("/a.txt")}));
    again.SetAutoSave(false);
}

// ---- the main window's list --------------------------------------------------------

class MainWindowMRUTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        TestApp();
        // Every test starts from a store of its own.
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path().string()));
        MainWindowTest::SetUp();
    }
    QMenu* Submenu() const
    {
        for (QAction* action : window->findChild<QMenu*>(QStringLiteral("miPlik1"))->actions())
            if (action->text() == res::kRecentFilesMenu)
                return action->menu();
        return nullptr;
    }
    QStringList PlikCaptions() const
    {
        QStringList captions;
        for (const QAction* action : window->findChild<QMenu*>(QStringLiteral("miPlik1"))->actions())
            captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return captions;
    }
    static std::vector<std::string> StoredValues()
    {
        TRegistry registry;
        std::vector<std::string> values;
        if (registry.OpenKeyReadOnly("\\Software\\Kalvenor\\Ostrel\\MRU"))
            for (const std::string& name : registry.GetValueNames())
                values.push_back(name + "=" + registry.ReadString(name));
        return values;
    }

    TempDir config;
    TempDir files;
};

TEST_F(MainWindowMRUTest, ElevenFilesLeaveTheTenNewestInTheSubmenu)
{
    EXPECT_EQ(Submenu(), nullptr);
    QStringList opened;
    for (int i = 1; i <= 11; ++i)
        opened.prepend(OpenFile(files.path(), ("f" + std::to_string(i) + ".txt").c_str(), "x"));
    opened.removeLast();
    EXPECT_EQ(window->RecentFiles().Items(), opened);
    const QStringList plik = PlikCaptions();
    const int at = plik.indexOf(res::kRecentFilesMenu);
    ASSERT_GT(at, 0);
    EXPECT_EQ(plik.at(at - 1), QStringLiteral("Z&apisz jako..."));
    EXPECT_EQ(plik.at(at + 1), QStringLiteral("-"));
    const QList<QAction*> entries = Submenu()->actions();
    ASSERT_EQ(entries.size(), 13);
    EXPECT_TRUE(entries.at(0)->text().startsWith(QStringLiteral("&1 ")));
    EXPECT_TRUE(entries.at(9)->text().startsWith(QStringLiteral("&0 ")));
    EXPECT_TRUE(entries.at(10)->isSeparator());
    EXPECT_EQ(entries.at(11)->text(), res::kRecentFilesClear);
    EXPECT_EQ(entries.at(12)->text(), res::kRecentFilesRemoveMissing);

    entries.at(11)->trigger();
    EXPECT_EQ(Submenu(), nullptr);
    EXPECT_TRUE(window->RecentFiles().Items().isEmpty());
}

TEST_F(MainWindowMRUTest, ClickingAnEntryOpensItAgainSavingAsLeavesTheList)
{
    const QString first = OpenFile(files.path(), "a.txt", "alpha");
    OpenFile(files.path(), "b.txt", "beta");
    dialogs->saveChoices.push_back(Q(files / "c.txt"));
    Click("miZapiszjako1");
    EXPECT_EQ(window->RecentFiles().Items(), QStringList({Q(files / "b.txt"), first}));
    dialogs->answers.push_back(TAnswer::Yes);  // a.txt is open already
    Submenu()->actions().at(1)->trigger();
    EXPECT_EQ(Current().Path(), first);
    EXPECT_EQ(window->RecentFiles().Items(), QStringList({first, Q(files / "b.txt")}));
}

TEST_F(MainWindowMRUTest, AClickedMissingFileIsReportedAndEveryMissingEntryGoes)
{
    const QString kept = OpenFile(files.path(), "kept.txt", "1");
    const QString gone1 = OpenFile(files.path(), "gone1.txt", "2");
    const QString gone2 = OpenFile(files.path(), "gone2.txt", "3");
    std::filesystem::remove(files / "gone1.txt");
    std::filesystem::remove(files / "gone2.txt");
    const int tabs = window->DocumentCount();
    Submenu()->actions().at(1)->trigger();  // gone1
    EXPECT_EQ(dialogs->Texts(QStringLiteral("error")), std::vector<QString>({res::kFileNotFound}));
    EXPECT_EQ(window->RecentFiles().Items(), QStringList({kept}));
    EXPECT_EQ(window->DocumentCount(), tabs);
}

TEST_F(MainWindowMRUTest, TheListIsStoredAtTheEndAndReadWholeAtTheStart)
{
    const QString a = OpenFile(files.path(), "a.txt", "1");
    const QString b = OpenFile(files.path(), "b.txt", "2");
    window.reset();
    EXPECT_EQ(StoredValues(), std::vector<std::string>({"F0=" + b.toStdString(), "F1=" + a.toStdString()}));

    {
        TRegistry registry;
        registry.OpenKey("\\Software\\Kalvenor\\Ostrel\\MRU", true);
        for (int i = 2; i < 12; ++i)
            registry.WriteString("F" + std::to_string(i), "/missing/" + std::to_string(i) + ".txt");
        registry.CloseKey();
    }
    MainWindowTest::SetUp();
    EXPECT_EQ(window->RecentFiles().Items().size(), 12);
    EXPECT_EQ(window->RecentFiles().Items().first(), b);
    OpenFile(files.path(), "c.txt", "3");
    EXPECT_EQ(window->RecentFiles().Items().size(), 10);
    EXPECT_EQ(window->RecentFiles().Items().first(), Q(files / "c.txt"));
}

TEST_F(MainWindowMRUTest, AnEmptiedListEmptiesTheStoreAtTheEnd)
{
    OpenFile(files.path(), "a.txt", "1");
    Submenu()->actions().at(2)->trigger();  // "&Wyczyść listę"
    window.reset();
    EXPECT_TRUE(StoredValues().empty());
    MainWindowTest::SetUp();
    EXPECT_EQ(Submenu(), nullptr);
}

}  // namespace
}  // namespace ostrel::test
