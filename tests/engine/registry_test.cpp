#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/CodePage.h"
#include "platform/OstRegistry.h"
#include "support/TestSupport.h"

using namespace ostrel;
using ostrel::test::ReadFile;
using ostrel::test::TempDir;
using ostrel::test::WriteFile;
namespace fs = std::filesystem;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    TempDir dir;
    fs::path file = dir / "ostrel" / "registry.txt";

    // A fresh store that sees only what reached the file.
    std::unique_ptr<TRegistry> reopen(const char* key = kOstrelSettingsKey)
    {
        auto reg = std::make_unique<TRegistry>(file);
        EXPECT_TRUE(reg->OpenKey(key, false)) << key;
        return reg;
    }
};

std::string EveryByte()
{
    std::string s;
    for (int b = 0; b < 256; ++b)
        s += static_cast<char>(b);
    return s;
}

}  // namespace

TEST_F(RegistryTest, EveryTypeSurvivesTheFile)
{
    {
        TRegistry reg(file);
        ASSERT_TRUE(reg.OpenKey(kOstrelSettingsKey, true));
        reg.WriteString("FontName", "Courier New");
        reg.WriteExpandString("Command", "%SystemRoot%\\system32\\NOTEPAD.EXE %1");
        reg.WriteInteger("Syntax", 7);
        reg.WriteInteger("Negative", -2);
        reg.WriteInteger("Colour", static_cast<int32_t>(0x80000005u));
        reg.WriteBool("MaxState", true);
        reg.WriteString("Bytes", EveryByte());
        reg.WriteString("", "the default value");
    }
    auto reg = reopen();
    EXPECT_EQ(reg->ReadString("FontName"), "Courier New");
    EXPECT_EQ(reg->GetDataType("FontName"), rdString);
    EXPECT_EQ(reg->ReadExpandString("Command"), "%SystemRoot%\\system32\\NOTEPAD.EXE %1");
    EXPECT_EQ(reg->GetDataType("Command"), rdExpandString);
    EXPECT_EQ(reg->ReadInteger("Syntax"), 7);
    EXPECT_EQ(reg->ReadInteger("Negative"), -2);
    EXPECT_EQ(static_cast<uint32_t>(reg->ReadInteger("Colour")), 0x80000005u);
    EXPECT_TRUE(reg->ReadBool("MaxState"));
    EXPECT_EQ(reg->GetDataType("Syntax"), rdInteger);
    EXPECT_EQ(reg->ReadString("Bytes"), EveryByte());
    EXPECT_EQ(reg->ReadString(""), "the default value");
}

TEST_F(RegistryTest, FileIsReadableUtf8WithEscapedControls)
{
    {
        TRegistry reg(file);
        reg.OpenKey("\\SOFTWARE\\Kalvenor\\Ostrel\\MRU", true);
        reg.WriteString("F0", codepage::FromUtf8("/home/ja/Żółw \"nowy\".txt"));
        reg.WriteString("Tab", "a\tb\x01");
        reg.WriteInteger("Size", 255);
    }
    const std::string text = ReadFile(file);
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\SOFTWARE\\Kalvenor\\Ostrel\\MRU]"), std::string::npos) << text;
    EXPECT_NE(text.find("\"F0\"=sz:\"/home/ja/Żółw \\\"nowy\\\".txt\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"Tab\"=sz:\"a\\tb\\x01\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"Size\"=dword:000000FF"), std::string::npos) << text;
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheFirstSpelling)
{
    {
        TRegistry reg(file);
        reg.OpenKey(kOstrelSettingsKey, true);
        reg.WriteString("FontName", "Arial");
        reg.WriteString("FONTNAME", "Courier New");
        reg.OpenKey(codepage::FromUtf8("Żółw"), true);
        reg.WriteInteger("x", 1);
        reg.CreateKey("\\SOFTWARE\\50% [odd]\x01 name");
    }
    EXPECT_TRUE(TRegistry(file).KeyExists("\\software\\50% [ODD]\x01 NAME"));
    auto reg = reopen("\\software\\KALVENOR\\ostrel");
    EXPECT_EQ(reg->ReadString("fontname"), "Courier New");
    EXPECT_EQ(reg->GetValueNames(), std::vector<std::string>{"FontName"});
    EXPECT_EQ(reg->GetKeyNames(), std::vector<std::string>{codepage::FromUtf8("Żółw")});
    EXPECT_TRUE(reg->KeyExists(codepage::FromUtf8("ŻÓŁW")));
}

TEST_F(RegistryTest, ReadingTheWrongTypeFails)
{
    TRegistry reg(file);
    reg.OpenKey(kOstrelSettingsKey, true);
    reg.WriteString("EdBGCol", "clWhite");
    reg.WriteInteger("FontSize", 12);
    try {
        reg.ReadInteger("EdBGCol");
        FAIL() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'EdBGCol'");
    }
    EXPECT_THROW(reg.ReadString("FontSize"), ERegistryException);
    EXPECT_THROW(reg.ReadBool("EdBGCol"), ERegistryException);
    // Absent values: a string reads as empty, an integer cannot be read.
    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_THROW(reg.ReadInteger("Missing"), ERegistryException);
    EXPECT_EQ(reg.GetDataType("Missing"), rdUnknown);
}

TEST_F(RegistryTest, DeletedValuesAndKeysStayDeleted)
{
    {
        TRegistry reg(file);
        reg.OpenKey(kOstrelSettingsKey, true);
        reg.WriteInteger("Gutter", 1);
        reg.WriteInteger("TlbrStatus", 0);
        reg.OpenKey("MRU", true);
        reg.WriteString("F0", "a.txt");
        reg.OpenKey("Deeper", true);
        EXPECT_TRUE(reg.DeleteValue("F1") == false);
        reg.OpenKey(std::string("\\") + kOstrelSettingsKey + "\\MRU", false);
        EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\Kalvenor\\Ostrel\\MRU");
        EXPECT_TRUE(reg.HasSubKeys());
        reg.OpenKey(kOstrelSettingsKey, false);
        EXPECT_TRUE(reg.DeleteValue("gutter"));
        EXPECT_TRUE(reg.DeleteKey("mru"));
        EXPECT_FALSE(reg.DeleteKey("MRU"));
    }
    auto reg = reopen();
    EXPECT_FALSE(reg->ValueExists("Gutter"));
    EXPECT_EQ(reg->ReadInteger("TlbrStatus"), 0);
    EXPECT_FALSE(reg->KeyExists("MRU"));
    EXPECT_FALSE(reg->KeyExists("MRU\\Deeper"));
}

TEST_F(RegistryTest, KeysOpenRelativeOrAbsolute)
{
    TRegistry reg(file);
    EXPECT_FALSE(reg.OpenKey(kOstrelSettingsKey, false));
    EXPECT_FALSE(fs::exists(file)) << "only looking must not create the file";
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Kalvenor", true));
    ASSERT_TRUE(reg.OpenKey("Ostrel", true));
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\Kalvenor\\Ostrel");
    EXPECT_TRUE(reg.CreateKey("b"));
    EXPECT_TRUE(reg.CreateKey("A"));
    EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"A", "b"}));
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\Kalvenor\\Ostrel") << "CreateKey does not open";
    reg.CloseKey();
    EXPECT_THROW(reg.WriteString("x", "y"), ERegistryException);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\Kalvenor\\Ostrel\\A"));
    EXPECT_THROW(reg.WriteInteger("x", 1), ERegistryException);

    // Empty keys survive the file; other roots are kept apart.
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    EXPECT_FALSE(reg.KeyExists("\\SOFTWARE"));
    ASSERT_TRUE(reg.OpenKey("\\txtfile\\shell\\open\\command", true));
    reg.WriteExpandString("", "\"/usr/bin/ostrel\" \"%1\"");
    auto other = reopen("\\SOFTWARE\\Kalvenor\\Ostrel\\b");
    EXPECT_TRUE(other->GetValueNames().empty());
    other->SetRootKey(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(other->OpenKey("\\TXTFILE\\shell\\open\\command", false));
    EXPECT_EQ(other->ReadString(""), "\"/usr/bin/ostrel\" \"%1\"");
}

TEST_F(RegistryTest, DamagedFileIsSetAsideAndReported)
{
    const std::string garbage = "[HKEY_CURRENT_USER\\SOFTWARE]\n\"a\"=sz:\"ok\"\nthis is not a value\n";
    fs::create_directories(file.parent_path());
    WriteFile(file, garbage);

    TRegistry reg(file);
    fs::path aside;
    try {
        reg.OpenKey(kOstrelSettingsKey, false);
        FAIL() << "no exception";
    } catch (const ERegistryFileDamaged& e) {
        aside = e.SetAsidePath();
        EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(aside.string()), std::string::npos) << e.what();
    }
    ASSERT_FALSE(aside.empty());
    EXPECT_EQ(ReadFile(aside), garbage);
    EXPECT_FALSE(fs::exists(file));

    // The store goes on from empty and the damaged copy is left alone.
    ASSERT_TRUE(reg.OpenKey(kOstrelSettingsKey, true));
    reg.WriteInteger("Syntax", 1);
    EXPECT_EQ(reopen()->ReadInteger("Syntax"), 1);
    EXPECT_EQ(ReadFile(aside), garbage);
}

TEST_F(RegistryTest, FileDamagedBeforeASaveIsNotOverwritten)
{
    TRegistry reg(file);
    reg.SetLazyWrite(true);
    ASSERT_TRUE(reg.OpenKey(kOstrelSettingsKey, true));
    reg.WriteString("FontName", "Courier New");
    fs::create_directories(file.parent_path());
    WriteFile(file, "[HKEY_NOWHERE]\n");
    EXPECT_THROW(reg.Flush(), ERegistryFileDamaged);
    int asideCount = 0;
    for (const auto& entry : fs::directory_iterator(file.parent_path()))
        if (entry.path().filename().string().starts_with("registry.txt.damaged-")) {
            ++asideCount;
            EXPECT_EQ(ReadFile(entry.path()), "[HKEY_NOWHERE]\n");
        }
    EXPECT_EQ(asideCount, 1);
    // The change is still held and a second try saves it.
    reg.Flush();
    EXPECT_EQ(reopen()->ReadString("FontName"), "Courier New");
}

TEST_F(RegistryTest, TwoStoresSavingOneAfterTheOtherKeepBoth)
{
    {
        TRegistry seed(file);
        seed.OpenKey(kOstrelSettingsKey, true);
        seed.WriteInteger("Shared", 1);
        seed.WriteInteger("DeletedByB", 1);
    }
    TRegistry a(file);
    TRegistry b(file);
    a.SetLazyWrite(true);
    ASSERT_TRUE(a.OpenKey(kOstrelSettingsKey, false));
    ASSERT_TRUE(b.OpenKey(kOstrelSettingsKey, false));
    a.WriteInteger("FromA", 10);
    a.OpenKey("MRU", true);
    a.WriteString("F0", "a.txt");
    b.WriteInteger("FromB", 20);
    b.DeleteValue("DeletedByB");
    b.WriteInteger("Shared", 2);
    a.CloseKey();  // saves after b did, on top of b's file

    auto reg = reopen();
    EXPECT_EQ(reg->ReadInteger("FromA"), 10);
    EXPECT_EQ(reg->ReadInteger("FromB"), 20);
    EXPECT_EQ(reg->ReadInteger("Shared"), 2);
    EXPECT_FALSE(reg->ValueExists("DeletedByB"));
    EXPECT_TRUE(reg->OpenKey("MRU", false));
    EXPECT_EQ(reg->ReadString("F0"), "a.txt");
}

TEST_F(RegistryTest, ProcessesSavingAtTheSameTimeLoseNothing)
{
    constexpr int kProcesses = 4;
    constexpr int kValues = 25;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = fork();
        if (pid == 0) {
            int status = 0;
            try {
                TRegistry reg(file);
                reg.OpenKey(kOstrelSettingsKey, true);
                for (int v = 0; v < kValues; ++v)
                    reg.WriteInteger("P" + std::to_string(p) + "V" + std::to_string(v), v);
            } catch (...) {
                status = 1;
            }
            _exit(status);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(reopen()->GetValueNames().size(), static_cast<size_t>(kProcesses * kValues));
}

TEST_F(RegistryTest, SavingReplacesTheFileWhole)
{
    {
        TRegistry reg(file);
        reg.OpenKey(kOstrelSettingsKey, true);
        reg.WriteString("Old", "value");
    }
    const std::string before = ReadFile(file);
    std::ifstream oldReader(file, std::ios::binary);  // holds the old file open
    {
        TRegistry reg(file);
        reg.OpenKey(kOstrelSettingsKey, true);
        reg.WriteString("New", std::string(100000, 'x'));
    }
    std::ostringstream oldContent;
    oldContent << oldReader.rdbuf();
    EXPECT_EQ(oldContent.str(), before) << "the old file was written in place";
    for (const auto& entry : fs::directory_iterator(file.parent_path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "registry.txt" || name == "registry.txt.lock") << name;
    }
    EXPECT_EQ(reopen()->ReadString("New").size(), 100000u);
}

// Settings kept with the user's other dotfiles and linked into place stay
// linked: the file behind the link takes the new settings, mode and all.
TEST_F(RegistryTest, ASettingsFileBehindASymlinkIsWrittenThroughTheLink)
{
    fs::create_directories(dir / "dotfiles");
    fs::create_directories(file.parent_path());
    {
        TRegistry reg(dir / "dotfiles" / "registry.txt");
        reg.OpenKey(kOstrelSettingsKey, true);
        reg.WriteString("Kept", "from before");
    }
    fs::permissions(dir / "dotfiles" / "registry.txt", fs::perms(0640));
    fs::create_symlink("../dotfiles/registry.txt", file);
    {
        TRegistry reg(file);
        reg.OpenKey(kOstrelSettingsKey, true);
        reg.WriteString("New", "through the link");
    }
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(fs::status(dir / "dotfiles" / "registry.txt").permissions(), fs::perms(0640));
    auto reg = reopen();
    EXPECT_EQ(reg->ReadString("Kept"), "from before");
    EXPECT_EQ(reg->ReadString("New"), "through the link");
    EXPECT_NE(ReadFile(dir / "dotfiles" / "registry.txt").find("through the link"), std::string::npos);
}

TEST_F(RegistryTest, WriteThatCannotBeSavedFails)
{
    WriteFile(dir / "not-a-folder", "");
    TRegistry reg(dir / "not-a-folder" / "registry.txt");
    EXPECT_THROW(reg.OpenKey(kOstrelSettingsKey, true), ERegistryException);
    ASSERT_TRUE(reg.OpenKey(kOstrelSettingsKey, false)) << "the key is held for another try";
    EXPECT_THROW(reg.WriteInteger("x", 1), ERegistryException);
}

TEST(RegistryLocation, FollowsXdgConfigHome)
{
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(DefaultRegistryFile(), fs::path("/tmp/cfg/ostrel/registry.txt"));
    setenv("XDG_CONFIG_HOME", "relative", 1);
    setenv("HOME", "/home/ja", 1);
    EXPECT_EQ(DefaultRegistryFile(), fs::path("/home/ja/.config/ostrel/registry.txt"));
    setenv("HOME", savedHome.c_str(), 1);
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}
