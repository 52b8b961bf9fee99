// Recovery records give a document back exactly: every encoding, every line
// break style, an empty last line, no break after the last line; a damaged
// or cut record is refused; a copy taken in slices knows when the text moved.

#include <gtest/gtest.h>

#include <chrono>

#include "editor/OstRecoveryRecord.h"

namespace ostrel {
namespace {

std::string Joined(const TOstRecoveryRecord& record)
{
    std::string bytes = RecoveryHeader(record);
    for (const std::string& block : record.textBlocks)
        bytes += block;
    return bytes;
}

TOstRecoveryRecord RecordOf(const TOstEditStringList& lines)
{
    TOstRecoveryRecord record;
    record.path = "/home/ola/notatki\nz nową linią.txt";
    record.title = "notatki";
    record.encoding = lines.Encoding();
    record.lineBreaks = lines.LineBreakStyle();
    record.trailingBreak = lines.TrailingLineBreak();
    record.caretX = 7;
    record.caretY = 2;
    TOstTextSnapshot snapshot(lines);
    EXPECT_TRUE(snapshot.Continue(std::chrono::steady_clock::time_point::max()));
    record.textBlocks = snapshot.TakeBlocks();
    return record;
}

TEST(RecoveryRecord, EveryKindOfDocumentComesBackWithItsOwnFileBytes)
{
    const struct {
        const char* bytes;
        TOstEncoding encoding;
    } cases[] = {
        {"za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87\r\n\r\nlast", TOstEncoding::Utf8},
        {"\xEF\xBB\xBFmark\ntwo\n\n", TOstEncoding::Utf8Bom},
        {"\xFF\xFEo\0k\0\r\0", TOstEncoding::Utf16Le},
        {"\xB9\xE6\rline\r", TOstEncoding::Windows1250},
        {"nul\0inside\n\xFF\xFE raw\n", TOstEncoding::Iso88592},
        {"", TOstEncoding::Utf8},
    };
    for (const auto& c : cases) {
        const std::string bytes(c.bytes, c.bytes + std::char_traits<char>::length(c.bytes) +
                                             (c.encoding == TOstEncoding::Utf16Le ? 1 : 0));
        for (const bool trailing : {true, false}) {
            TOstEditStringList lines;
            lines.SetTrailingLineBreak(trailing);
            lines.LoadFromBytes(bytes, TOstEncodingChoice{c.encoding, TOstEncoding::Utf8});
            TOstRecoveryRecord parsed;
            ASSERT_TRUE(ParseRecoveryRecord(Joined(RecordOf(lines)), parsed)) << bytes;
            EXPECT_EQ(parsed.path, "/home/ola/notatki\nz nową linią.txt");
            EXPECT_EQ(parsed.caretX, 7);
            EXPECT_EQ(parsed.caretY, 2);
            TOstEditStringList back;
            RestoreRecoveredLines(parsed, back);
            EXPECT_EQ(back.Encoding(), lines.Encoding()) << bytes;
            EXPECT_EQ(back.LineBreakStyle(), lines.LineBreakStyle()) << bytes;
            EXPECT_EQ(back.Count(), lines.Count()) << bytes;
            EXPECT_EQ(back.FileBytes(), lines.FileBytes()) << bytes;
        }
    }
}

TEST(RecoveryRecord, ADamagedOrCutRecordIsRefused)
{
    TOstEditStringList lines;
    lines.LoadFromBytes("some text\nmore\n");
    const std::string whole = Joined(RecordOf(lines));
    TOstRecoveryRecord parsed;
    ASSERT_TRUE(ParseRecoveryRecord(whole, parsed));
    EXPECT_FALSE(ParseRecoveryRecord(whole.substr(0, whole.size() - 1), parsed));
    EXPECT_FALSE(ParseRecoveryRecord(whole + "x", parsed));
    EXPECT_FALSE(ParseRecoveryRecord("OSTREL-RECOVERY 2\n" + whole.substr(18), parsed));
    std::string badEncoding = whole;
    badEncoding.replace(badEncoding.find("encoding "), 14, "encoding ebcdic");
    EXPECT_FALSE(ParseRecoveryRecord(badEncoding, parsed));
}

TEST(RecoveryRecord, ACopyInSlicesSeesTheTextMoveOnUnderIt)
{
    TOstEditStringList lines;
    std::string text;
    for (int i = 0; i < 50000; ++i)
        text += "line " + std::to_string(i) + "\n";
    lines.LoadFromBytes(text);
    TOstTextSnapshot snapshot(lines);
    // A deadline already past copies one step and stops.
    EXPECT_FALSE(snapshot.Continue(std::chrono::steady_clock::now()));
    EXPECT_FALSE(snapshot.Stale());
    lines.SetLine(3, "changed");
    EXPECT_TRUE(snapshot.Stale());
    TOstTextSnapshot fresh(lines);
    while (!fresh.Continue(std::chrono::steady_clock::now() + std::chrono::milliseconds(1))) {
    }
    std::string copied;
    for (const std::string& block : fresh.TakeBlocks())
        copied += block;
    text.replace(text.find("line 3\n"), 6, "changed");
    EXPECT_EQ(copied, text);
}

}  // namespace
}  // namespace ostrel
