// The system tab's commands in a home of their own: the registry values of
// the associations, mimeapps.list with its other lines untouched and the
// earlier plain-text opener given back, and the "Ostrel3" shortcuts with
// their messages.

#include <sys/stat.h>

#include "AppTestSupport.h"
#include "app/GlobalRes.h"
#include "app/ShellIntegration.h"
#include "app/qt/KeyTranslation.h"
#include "platform/OstRegistry.h"

namespace ostrel::test {
namespace {

const QString kProgram = QStringLiteral("/opt/Moje narzędzia/ostrel");

class ShellIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp();
        qputenv("HOME", QByteArray::fromStdString(home.path().string()));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((home / "cfg").string()));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((home / "data").string()));
        registry = std::make_unique<TRegistry>();
        std::filesystem::create_directories(home / "cfg");
        std::filesystem::create_directories(home / "data");
    }
    TShellIntegration Shell(const QString& program = kProgram)
    {
        return TShellIntegration(*registry, dialogs, nullptr, program);
    }
    std::string ClassesRootValue(const char* key, TRegDataType& type)
    {
        TRegistry reader(registry->FileName());
        reader.SetRootKey(HKEY_CLASSES_ROOT);
        if (!reader.OpenKeyReadOnly(key))
            return "<no key>";
        type = reader.GetDataType("");
        return reader.ReadString("");
    }
    std::filesystem::path MimeApps() const { return home / "cfg/mimeapps.list"; }
    std::vector<QString> Messages(const char* kind) const { return dialogs.Texts(QString::fromLatin1(kind)); }

    TempDir home;
    std::unique_ptr<TRegistry> registry;  // in the test's own home
    TScriptedDialogs dialogs;
};

const std::string kUsersList =
    "# my associations\n"
    "[Default Applications]\n"
    "image/png=viewer.desktop\n"
    "text/plain=gedit.desktop;\n"
    "\n"
    "[Added Associations]\n"
    "text/html=firefox.desktop;\n";

TEST_F(ShellIntegrationTest, TextFilesGoToTheProgramAndBackToTheirEarlierOpener)
{
    WriteFile(MimeApps(), kUsersList);
    Shell().UseOstrelForText();
    Shell().UseOstrelForText();  // a second time keeps the first opener in mind
    TRegDataType type = rdUnknown;
    EXPECT_EQ(ClassesRootValue("\\txtfile\\shell\\open\\command", type),
              "\"" + ToAnsi(kProgram) + "\" \"%1\"");
    EXPECT_EQ(type, rdExpandString);
    std::string expected = kUsersList;
    expected.replace(expected.find("gedit.desktop;"), 14, "ostrel3-open.desktop;");
    EXPECT_EQ(ReadFile(MimeApps()), expected);
    const std::string entry = ReadFile(TShellIntegration::AssociationEntryPath().toStdString());
    EXPECT_NE(entry.find("Exec=\"/opt/Moje narzędzia/ostrel\" %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("NoDisplay=true\n"), std::string::npos);
    EXPECT_EQ(QString::fromStdString(TShellIntegration::AssociationEntryPath().toStdString()),
              Q(home / "data/applications/ostrel3-open.desktop"));

    Shell().UseNotepadForText();
    EXPECT_EQ(ClassesRootValue("\\txtfile\\shell\\open\\command", type), "%SystemRoot%\\system32\\NOTEPAD.EXE %1");
    EXPECT_EQ(type, rdExpandString);
    EXPECT_EQ(ReadFile(MimeApps()), kUsersList);
    EXPECT_EQ(Messages("information"),
              std::vector<QString>({res::kTextOstrelSet, res::kTextOstrelSet, res::kTextNotepadSet}));
}

// Dotfile managers keep mimeapps.list elsewhere and link it in.
TEST_F(ShellIntegrationTest, ALinkedMimeappsListStaysALink)
{
    WriteFile(home / "dotfiles-mimeapps.list", kUsersList);
    std::filesystem::create_symlink(home / "dotfiles-mimeapps.list", MimeApps());
    Shell().UseOstrelForText();
    EXPECT_TRUE(std::filesystem::is_symlink(MimeApps()));
    EXPECT_NE(ReadFile(home / "dotfiles-mimeapps.list").find("text/plain=ostrel3-open.desktop;"), std::string::npos);
}

TEST_F(ShellIntegrationTest, WithoutAnEarlierOpenerNotepadRemovesOurLineOnly)
{
    Shell().UseOstrelForText();
    EXPECT_EQ(ReadFile(MimeApps()), "[Default Applications]\ntext/plain=ostrel3-open.desktop;\n");
    Shell().UseNotepadForText();
    EXPECT_EQ(ReadFile(MimeApps()), "[Default Applications]\n");
}

TEST_F(ShellIntegrationTest, NotepadLeavesAnOpenerTheUserChoseSince)
{
    WriteFile(MimeApps(), kUsersList);
    Shell().UseOstrelForText();
    const std::string chosen = "[Default Applications]\ntext/plain=kate.desktop;\n";
    WriteFile(MimeApps(), chosen);
    Shell().UseNotepadForText();
    EXPECT_EQ(ReadFile(MimeApps()), chosen);
}

TEST_F(ShellIntegrationTest, HtmlGetsTheEditCommandAndTheProgramFirstAmongItsApplications)
{
    WriteFile(MimeApps(), kUsersList);
    Shell().UseOstrelForHtml();
    TRegDataType type = rdUnknown;
    EXPECT_EQ(ClassesRootValue("\\htmlfile\\shell\\Edit\\command", type),
              "\"" + ToAnsi(kProgram) + "\" \"%1\"");
    EXPECT_EQ(type, rdString);
    std::string expected = kUsersList;
    expected.replace(expected.find("firefox.desktop;"), 16, "ostrel3-open.desktop;firefox.desktop;");
    EXPECT_EQ(ReadFile(MimeApps()), expected);
    EXPECT_EQ(Messages("information"), std::vector<QString>({res::kHtmlEditorSet}));
}

TEST_F(ShellIntegrationTest, ShortcutsAreMadeAndRemovedWithTheirMessages)
{
    TShellIntegration shell = Shell();
    shell.CreateShortcut(TShortcutFolder::Programs);
    const std::string menuEntry = ReadFile(home / "data/applications/Ostrel3.desktop");
    EXPECT_NE(menuEntry.find("Exec=\"/opt/Moje narzędzia/ostrel\"\n"), std::string::npos) << menuEntry;
    EXPECT_NE(menuEntry.find("Path=/opt/Moje narzędzia\n"), std::string::npos);

    shell.CreateShortcut(TShortcutFolder::SendTo);
    const std::filesystem::path script = home / "data/nautilus/scripts/Ostrel3";
    EXPECT_NE(ReadFile(script).find("exec '/opt/Moje narzędzia/ostrel' \"$@\""), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(script.c_str(), &info), 0);
    EXPECT_TRUE(info.st_mode & S_IXUSR);

    shell.RemoveShortcut(TShortcutFolder::Programs);
    shell.RemoveShortcut(TShortcutFolder::SendTo);
    shell.RemoveShortcut(TShortcutFolder::SendTo);
    EXPECT_FALSE(std::filesystem::exists(home / "data/applications/Ostrel3.desktop"));
    EXPECT_FALSE(std::filesystem::exists(script));
    EXPECT_EQ(Messages("information"), std::vector<QString>({res::kShortcutCreated, res::kShortcutCreated,
                                                             res::kShortcutRemoved, res::kShortcutRemoved}));
    EXPECT_EQ(Messages("error"), std::vector<QString>({res::kFileNotFound}));
}

TEST_F(ShellIntegrationTest, TheStartupShortcutStartsInTheTrayAndComesAndGoesSilently)
{
    TShellIntegration shell = Shell();
    EXPECT_FALSE(shell.AutostartExists());
    shell.SetAutostart(true);
    EXPECT_TRUE(shell.AutostartExists());
    const std::string entry = ReadFile(home / "cfg/autostart/Ostrel3.desktop");
    EXPECT_NE(entry.find("Exec=\"/opt/Moje narzędzia/ostrel\" -h\n"), std::string::npos) << entry;
    shell.SetAutostart(false);
    shell.SetAutostart(false);
    EXPECT_FALSE(shell.AutostartExists());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ShellIntegrationTest, ShellFoldersValuesComeBeforeTheXdgFolders)
{
    registry->OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", true);
    registry->WriteString("Programs", (home / "menu").string());
    registry->WriteString("Startup", "");
    registry->CloseKey();
    TShellIntegration shell = Shell();
    EXPECT_EQ(shell.ShortcutPath(TShortcutFolder::Programs), Q(home / "menu/Ostrel3.desktop"));
    EXPECT_EQ(shell.ShortcutPath(TShortcutFolder::Startup), Q(home / "cfg/autostart/Ostrel3.desktop"));
    shell.CreateShortcut(TShortcutFolder::Programs);
    EXPECT_TRUE(std::filesystem::exists(home / "menu/Ostrel3.desktop"));
}

TEST_F(ShellIntegrationTest, AShortcutThatCannotBeWrittenIsReportedNotAnnounced)
{
    WriteFile(home / "data/applications", "a file where the folder should be");
    Shell().CreateShortcut(TShortcutFolder::Programs);
    Shell().SetAutostart(true);  // reported too: a box checked for nothing would mislead
    EXPECT_TRUE(Messages("information").empty());
    EXPECT_EQ(Messages("error"), std::vector<QString>({res::kShortcutNotCreated}));
}

TEST_F(ShellIntegrationTest, ExecQuotesWhatTheShellAndTheFieldCodesWouldTakeForTheirOwn)
{
    Shell(QStringLiteral("/opt/a \"b\" $c `d` 100%\\e/ostrel")).CreateShortcut(TShortcutFolder::Programs);
    const std::string entry = ReadFile(home / "data/applications/Ostrel3.desktop");
    EXPECT_NE(entry.find("Exec=\"/opt/a \\\\\"b\\\\\" \\\\$c \\\\`d\\\\` 100%%\\\\\\\\e/ostrel\"\n"), std::string::npos)
        << entry;
}

}  // namespace
}  // namespace ostrel::test
