// File stamps tell another program's change from a touch: the hash does not
// depend on how the bytes arrive, and a stamp sees a rename over the file.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "platform/FileStamp.h"
#include "support/TestSupport.h"

namespace ostrel::test {
namespace {

uint64_t HashInPieces(std::string_view bytes, size_t piece)
{
    TContentHash hash;
    for (size_t at = 0; at < bytes.size(); at += piece)
        hash.Feed(bytes.substr(at, piece));
    return hash.Value();
}

TEST(ContentHash, TheSameBytesGiveTheSameHashHoweverTheyArriveAndOtherBytesAnother)
{
    std::mt19937 random(7);
    std::string bytes(10007, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    const uint64_t whole = HashInPieces(bytes, bytes.size());
    for (size_t piece : {1u, 3u, 7u, 8u, 9u, 4096u})
        EXPECT_EQ(HashInPieces(bytes, piece), whole) << piece;
    std::string changed = bytes;
    changed[5000] ^= 1;
    EXPECT_NE(HashInPieces(changed, 64), whole);
    EXPECT_NE(HashInPieces(bytes + '\0', 64), whole) << "a longer file with a zero byte more";
    EXPECT_NE(HashInPieces("", 1), HashInPieces(std::string(1, '\0'), 1));
}

TEST(FileStamp, ATouchIsNoChangeButOtherBytesOrNoFileAre)
{
    TempDir dir;
    const std::string path = (dir / "f.txt").string();
    WriteFile(path, "text\n");
    const TFileStamp recorded = StampFile(path);
    TFileStamp now;
    EXPECT_FALSE(ChangedSince(recorded, path, now));
    WriteFile(dir / "g.txt", "text\n");
    std::filesystem::rename(dir / "g.txt", path);
    EXPECT_FALSE(ChangedSince(recorded, path, now)) << "renamed over by the same bytes";
    EXPECT_NE(now.inode, recorded.inode);
    WriteFile(path, "TEXT\n");
    EXPECT_TRUE(ChangedSince(recorded, path, now));
    std::filesystem::remove(path);
    EXPECT_TRUE(ChangedSince(recorded, path, now));
    EXPECT_FALSE(now.exists);
}

}  // namespace
}  // namespace ostrel::test
