// The safe writer on real files: links, hard links, modes, owners, extended
// attributes and ACLs kept; read-only files, folders and mounts refused with
// nothing changed; a full file system leaving the old file in both the
// atomic and the in-place path; our stale temporary files cleaned up.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/SafeWrite.h"
#include "support/FileSystemLimits.h"
#include "support/ScopedEnv.h"
#include "support/TestSupport.h"

namespace ostrel::test {
namespace {

namespace fs = std::filesystem;

struct stat StatOf(const fs::path& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

size_t EntriesIn(const fs::path& folder) { return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {})); }

std::string Command(const std::string& command)
{
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char block[512];
        for (size_t n; (n = std::fread(block, 1, sizeof block, pipe)) > 0;)
            out.append(block, n);
        ::pclose(pipe);
    }
    return out;
}

// The error code a write fails with, 0 when it succeeds.
int WriteError(const fs::path& path, std::string_view bytes)
{
    try {
        WriteFileSafely(path.string(), bytes);
        return 0;
    } catch (const ESafeWrite& e) {
        EXPECT_NE(std::string(e.what()).find(path.filename().string()), std::string::npos) << e.what();
        return e.code().value();
    }
}

// Every case keeps its copies of old contents in a state folder of its own.
class SafeWriteTest : public ::testing::Test {
protected:
    TempDir dir;
    TempDir state;
    ScopedEnv stateHome{"XDG_STATE_HOME", state.path().string()};

    fs::path KeptFolder() const { return state / "ostrel"; }
    bool NoKeptCopies() const { return !fs::exists(KeptFolder()) || fs::is_empty(KeptFolder()); }
};

// ---- links ------------------------------------------------------------------------------

TEST_F(SafeWriteTest, ASymlinkStaysALinkAndItsTargetIsWritten)
{
    fs::create_directory(dir / "real");
    WriteFile(dir / "real" / "file.txt", "old");
    fs::create_symlink("real/file.txt", dir / "relative");
    fs::create_symlink(dir / "relative", dir / "chain");
    WriteFileSafely((dir / "chain").string(), "new");
    EXPECT_TRUE(fs::is_symlink(dir / "chain"));
    EXPECT_TRUE(fs::is_symlink(dir / "relative"));
    EXPECT_EQ(ReadFile(dir / "real" / "file.txt"), "new");
    EXPECT_EQ(EntriesIn(dir / "real"), 1u) << "no temporary file left beside the target";
    // A link to a file not there yet makes the file, not a plain file in the link's place.
    fs::create_symlink("real/later.txt", dir / "dangling");
    WriteFileSafely((dir / "dangling").string(), "made");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_EQ(ReadFile(dir / "real" / "later.txt"), "made");
}

TEST_F(SafeWriteTest, BothHardLinksSeeTheNewTextAndTheKeptCopyGoes)
{
    WriteFile(dir / "a.txt", "old text");
    fs::create_hard_link(dir / "a.txt", dir / "b.txt");
    const ino_t inode = StatOf(dir / "a.txt").st_ino;
    WriteFileSafely((dir / "a.txt").string(), "new, longer text");
    EXPECT_EQ(ReadFile(dir / "b.txt"), "new, longer text");
    EXPECT_EQ(StatOf(dir / "a.txt").st_ino, inode);
    EXPECT_EQ(StatOf(dir / "a.txt").st_nlink, 2u);
    WriteFileSafely((dir / "b.txt").string(), "short");
    EXPECT_EQ(ReadFile(dir / "a.txt"), "short") << "a shorter text is cut to its length";
    EXPECT_TRUE(NoKeptCopies());
    EXPECT_EQ(EntriesIn(dir.path()), 2u);
}

// ---- what a file is besides its bytes ------------------------------------------------------

TEST_F(SafeWriteTest, AReplacedFileKeepsItsModeAndANewFileTakesTheUmask)
{
    WriteFile(dir / "run.sh", "echo old\n");
    ::chmod((dir / "run.sh").c_str(), 0755);
    const ino_t inode = StatOf(dir / "run.sh").st_ino;
    WriteFileSafely((dir / "run.sh").string(), "echo new\n");
    EXPECT_EQ(ReadFile(dir / "run.sh"), "echo new\n");
    EXPECT_EQ(StatOf(dir / "run.sh").st_mode & 07777, 0755u);
    EXPECT_NE(StatOf(dir / "run.sh").st_ino, inode) << "a plain file of ours is replaced atomically";

    const mode_t mask = ::umask(027);
    WriteFileSafely((dir / "new.txt").string(), "x");
    WriteFileSafely((dir / "private.txt").string(), "x", TSafeWriteOptions{.newFileMode = 0600});
    ::umask(mask);
    EXPECT_EQ(StatOf(dir / "new.txt").st_mode & 07777, 0640u);
    EXPECT_EQ(StatOf(dir / "private.txt").st_mode & 07777, 0600u);
}

TEST_F(SafeWriteTest, ExtendedAttributesAndAnAclAreKept)
{
    const fs::path file = dir / "tagged.txt";
    WriteFile(file, "old");
    if (::setxattr(file.c_str(), "user.ostrel.tag", "blue", 4, 0) != 0)
        GTEST_SKIP() << "this file system keeps no user attributes";
    ASSERT_EQ(std::system(("setfacl -m u:nobody:rw,g:nogroup:r " + file.string()).c_str()), 0)
        << "setfacl (Debian's acl) is needed";
    const std::string acl = Command("getfacl -c " + file.string());
    ASSERT_NE(acl.find("user:nobody:rw-"), std::string::npos);
    WriteFileSafely(file.string(), "new");
    EXPECT_EQ(ReadFile(file), "new");
    char value[16] = {};
    EXPECT_EQ(::getxattr(file.c_str(), "user.ostrel.tag", value, sizeof value), 4);
    EXPECT_STREQ(value, "blue");
    EXPECT_EQ(Command("getfacl -c " + file.string()), acl);
}

TEST_F(SafeWriteTest, AnotherOwnersFileIsWrittenInPlaceAndStaysTheirs)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs a file of another user that this one may write";
    const fs::path file = dir / "theirs.txt";
    WriteFile(file, "old");
    ASSERT_EQ(::chown(file.c_str(), UnprivilegedUser(), UnprivilegedGroup()), 0);
    const ino_t inode = StatOf(file).st_ino;
    WriteFileSafely(file.string(), "new");
    EXPECT_EQ(ReadFile(file), "new");
    EXPECT_EQ(StatOf(file).st_ino, inode);
    EXPECT_EQ(StatOf(file).st_uid, UnprivilegedUser());
    EXPECT_EQ(StatOf(file).st_gid, UnprivilegedGroup());
    EXPECT_TRUE(NoKeptCopies());
}

// ---- refusals ---------------------------------------------------------------------------------

TEST_F(SafeWriteTest, ReadOnlyFilesFoldersAndMissingFoldersAreRefusedWithTheirReasons)
{
    WriteFile(dir / "locked.txt", "old");
    ::chmod((dir / "locked.txt").c_str(), 0444);
    EXPECT_EQ(WriteError(dir / "locked.txt", "new"), EACCES);
    EXPECT_EQ(ReadFile(dir / "locked.txt"), "old");
    fs::create_directory(dir / "folder");
    EXPECT_EQ(WriteError(dir / "folder", "new"), EISDIR);
    EXPECT_EQ(WriteError(dir / "missing" / "x.txt", "new"), ENOENT);
    EXPECT_EQ(EntriesIn(dir.path()), 2u);
}

// In a folder where no file may be created, a new file is refused and a
// writable one is written in place.
TEST_F(SafeWriteTest, AReadOnlyFolderRefusesNewFilesAndWritesItsFilesInPlace)
{
    ::chmod(dir.path().c_str(), 0755);
    ::chown(state.path().c_str(), UnprivilegedUser(), UnprivilegedGroup());
    const fs::path folder = dir / "ro";
    fs::create_directory(folder);
    WriteFile(folder / "f.txt", "old");
    ::chown((folder / "f.txt").c_str(), UnprivilegedUser(), UnprivilegedGroup());
    ::chmod(folder.c_str(), 0555);
    const ino_t inode = StatOf(folder / "f.txt").st_ino;
    const int status = RunUnprivileged([&] {
        if (WriteError(folder / "new.txt", "x") != EACCES)
            return 1;
        if (WriteError(folder / "f.txt", "new contents") != 0)
            return 2;
        return 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(fs::exists(folder / "new.txt"));
    EXPECT_EQ(ReadFile(folder / "f.txt"), "new contents");
    EXPECT_EQ(StatOf(folder / "f.txt").st_ino, inode);
    EXPECT_EQ(EntriesIn(folder), 1u);
    EXPECT_TRUE(NoKeptCopies());
    ::chmod(folder.c_str(), 0755);
}

TEST_F(SafeWriteTest, AReadOnlyMountIsRefusedWithNothingChanged)
{
    SmallFileSystem small(1 << 20);
    if (!small.Mounted())
        GTEST_SKIP() << "no permission to mount a file system";
    WriteFile(small / "f.txt", "old");
    ASSERT_TRUE(small.SetReadOnly(true));
    EXPECT_EQ(WriteError(small / "f.txt", "new"), EROFS);
    EXPECT_EQ(WriteError(small / "g.txt", "new"), EROFS);
    EXPECT_EQ(ReadFile(small / "f.txt"), "old");
    small.SetReadOnly(false);
}

// ---- a full file system -------------------------------------------------------------------------

// The old file in a small tmpfs, or under a file-size limit where no file
// system can be mounted; the new text cannot fit either way.
class FullDiskCase {
public:
    FullDiskCase(const fs::path& fallbackFolder) : small_(256 << 10)
    {
        folder_ = small_.Mounted() ? small_.path() : fallbackFolder;
    }
    const fs::path& Folder() const { return folder_; }
    int Write(const fs::path& path, const std::string& bytes)
    {
        if (small_.Mounted())
            return WriteError(path, bytes);
        const FileSizeLimit limit(200 << 10);
        return WriteError(path, bytes);
    }

private:
    SmallFileSystem small_;
    fs::path folder_;
};

TEST_F(SafeWriteTest, AFullFileSystemLeavesTheOldFileInTheAtomicPath)
{
    FullDiskCase disk(dir.path());
    const std::string old(100 << 10, 'o');
    WriteFile(disk.Folder() / "f.txt", old);
    const int error = disk.Write(disk.Folder() / "f.txt", std::string(300 << 10, 'n'));
    EXPECT_TRUE(error == ENOSPC || error == EFBIG) << error;
    EXPECT_EQ(ReadFile(disk.Folder() / "f.txt"), old);
    EXPECT_EQ(EntriesIn(disk.Folder()), 1u);
}

TEST_F(SafeWriteTest, AFullFileSystemLeavesTheOldFileInTheInPlacePath)
{
    FullDiskCase disk(dir.path());
    const std::string old(100 << 10, 'o');
    WriteFile(disk.Folder() / "f.txt", old);
    fs::create_hard_link(disk.Folder() / "f.txt", disk.Folder() / "g.txt");
    const int error = disk.Write(disk.Folder() / "g.txt", std::string(300 << 10, 'n'));
    EXPECT_TRUE(error == ENOSPC || error == EFBIG) << error;
    EXPECT_EQ(ReadFile(disk.Folder() / "f.txt"), old);
    EXPECT_EQ(StatOf(disk.Folder() / "f.txt").st_nlink, 2u);
    EXPECT_EQ(EntriesIn(disk.Folder()), 2u);
    EXPECT_TRUE(NoKeptCopies());
}

TEST_F(SafeWriteTest, AWriterThatFailsHalfwayInPlaceGetsTheOldBytesBack)
{
    WriteFile(dir / "f.txt", "the old text, which must survive");
    fs::create_hard_link(dir / "f.txt", dir / "g.txt");
    const auto failing = [](const TBytesSink& put) {
        put(std::string(3 << 20, 'x'));
        throw std::runtime_error("the text holds bytes its encoding cannot hold");
    };
    EXPECT_THROW(WriteFileSafely((dir / "f.txt").string(), failing), std::runtime_error);
    EXPECT_EQ(ReadFile(dir / "g.txt"), "the old text, which must survive");
    EXPECT_THROW(WriteFileSafely((dir / "new.txt").string(), failing), std::runtime_error);
    EXPECT_FALSE(fs::exists(dir / "new.txt"));
    EXPECT_EQ(EntriesIn(dir.path()), 2u);
    EXPECT_TRUE(NoKeptCopies());
}

// ---- temporary files ------------------------------------------------------------------------------

TEST_F(SafeWriteTest, StaleTemporaryFilesGoAndLiveOnesAndOthersStay)
{
    WriteFile(dir / "a.txt", "a");
    WriteFile(dir / ".a.txt.ostrel-Ab3dE9", std::string(4096, 'x'));   // a killed save's
    WriteFile(dir / ".a.txt.ostrel-short", "not ours: wrong random part");
    WriteFile(dir / ".b.txt.ostrel-Qwerty", "another document's");
    WriteFile(dir / ".a.txt.ostrel-Live01", "being written");
    const int live = ::open((dir / ".a.txt.ostrel-Live01").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    EXPECT_EQ(RemoveStaleTemporaries(dir.path().string(), "a.txt"), 1);
    EXPECT_FALSE(fs::exists(dir / ".a.txt.ostrel-Ab3dE9"));
    EXPECT_TRUE(fs::exists(dir / ".a.txt.ostrel-Live01"));
    EXPECT_TRUE(fs::exists(dir / ".a.txt.ostrel-short"));
    EXPECT_TRUE(fs::exists(dir / ".b.txt.ostrel-Qwerty"));
    ::close(live);
    EXPECT_EQ(RemoveStaleTemporaries(dir.path().string()), 2) << "without a name, every stale one of ours";
    EXPECT_TRUE(fs::exists(dir / ".a.txt.ostrel-short"));
}

TEST_F(SafeWriteTest, AReplacementIsPutInPlaceOnlyWhenCommitted)
{
    WriteFile(dir / "out.pdf", "old pdf");
    {
        TSafeReplacement abandoned((dir / "out.pdf").string());
        WriteFile(abandoned.TemporaryPath(), "half a pdf");
    }
    EXPECT_EQ(ReadFile(dir / "out.pdf"), "old pdf");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
    TSafeReplacement finished((dir / "out.pdf").string());
    WriteFile(finished.TemporaryPath(), "new pdf");
    finished.Commit();
    EXPECT_EQ(ReadFile(dir / "out.pdf"), "new pdf");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace ostrel::test
