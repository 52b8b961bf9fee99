#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <system_error>

#include "support/TestSupport.h"
#include "editor/OstEditTextBuffer.h"

using namespace ostrel;
using ostrel::test::TempDir;
using ostrel::test::ReadFile;
using ostrel::test::WriteFile;

namespace {

std::vector<std::string> LinesOf(const TOstEditStringList& list)
{
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.emplace_back(list.Get(i));
    return lines;
}

using Lines = std::vector<std::string>;

// Records every notification as one short word.
struct NotificationLog {
    std::vector<std::string> events;
    explicit NotificationLog(TOstEditStringList& list)
    {
        auto span = [this](const char* name) {
            return [this, name](int index, int count) {
                events.push_back(std::string(name) + "(" + std::to_string(index) + "," +
                                 std::to_string(count) + ")");
            };
        };
        list.OnChanging = [this] { events.push_back("changing"); };
        list.OnChange = [this] { events.push_back("change"); };
        list.OnCleared = [this] { events.push_back("cleared"); };
        list.OnInserted = span("inserted");
        list.OnDeleted = span("deleted");
        list.OnPutted = span("putted");
    }
};

}  // namespace

// --- loading and saving ------------------------------------------------------

TEST(TextBufferLoad, EachBreakStyleRoundTripsByteForByte)
{
    struct Case {
        std::string bytes;
        TOstEditFileFormat style;
    };
    for (const Case& c : {Case{"a\r\nb\r\n", CrLf}, Case{"a\nb\n", Lf}, Case{"a\rb\r", Cr},
                          Case{"\tx\r\n\r\n  y\r\n", CrLf}}) {
        TOstEditStringList list;
        list.LoadFromBytes(c.bytes);
        EXPECT_EQ(list.LineBreakStyle(), c.style) << c.bytes;
        EXPECT_EQ(list.Text(), c.bytes);
        std::ostringstream out;
        list.SaveToStream(out);
        EXPECT_EQ(out.str(), c.bytes);
    }
    TOstEditStringList list;
    list.LoadFromBytes("a\r\nb\r\n");
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b"}));
}

TEST(TextBufferLoad, MixedBreaksSaveAsCrLfThroughout)
{
    TOstEditStringList list;
    list.LoadFromBytes("a\r\nb\nc\r\n");
    EXPECT_EQ(list.LineBreakStyle(), CrLf);
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\n");
    list.LoadFromBytes("a\rb\nc");
    EXPECT_EQ(list.LineBreakStyle(), CrLf);
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b", "c"}));
    list.LoadFromBytes("abc");
    EXPECT_EQ(list.LineBreakStyle(), CrLf) << "no break at all keeps the default";
}

TEST(TextBufferLoad, LfCrEndsALineAndThenAnEmptyOne)
{
    TOstEditStringList list;
    list.LoadFromBytes("a\n\rb");
    EXPECT_EQ(LinesOf(list), (Lines{"a", "", "b"}));
}

TEST(TextBufferLoad, NulIsTextAndSavesBack)
{
    TOstEditStringList list;
    list.LoadFromBytes(std::string("ab\0cd", 5));
    EXPECT_EQ(LinesOf(list), (Lines{std::string("ab\0cd", 5)}));
    const std::string content("a\r\n\0b\0\0c\r\n", 10);
    list.LoadFromBytes(content);
    EXPECT_EQ(LinesOf(list), (Lines{"a", std::string("\0b\0\0c", 5)}));
    EXPECT_EQ(list.Text(), content);
}

TEST(TextBufferLoad, EmptyContentAndLoneBreaks)
{
    TOstEditStringList list;
    list.AddLine("old");
    list.LoadFromBytes("");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), "");
    list.LoadFromBytes("\r\n");
    EXPECT_EQ(LinesOf(list), (Lines{""}));
    list.LoadFromBytes("\n\n");
    EXPECT_EQ(LinesOf(list), (Lines{"", ""}));
}

TEST(TextBufferLoad, TrailingLineBreakRules)
{
    TOstEditStringList list;
    list.LoadFromBytes("a\nb");
    EXPECT_EQ(list.Text(), "a\nb\n") << "a file without a final break gains one";

    list.SetTrailingLineBreak(false);
    list.LoadFromBytes("a\nb\n");
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b", ""}));
    EXPECT_EQ(list.Text(), "a\nb\n");
    list.LoadFromBytes("a\nb");
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b"}));
    EXPECT_EQ(list.Text(), "a\nb");
    list.LoadFromBytes(std::string("a\0", 2));
    EXPECT_EQ(LinesOf(list), (Lines{std::string("a\0", 2)})) << "only CR or LF at the end adds the empty line";
}

// The loading rules applied byte by byte, as a reference for the block-wise scanner.
std::vector<std::string> ReferenceLines(const std::string& content, bool trailingLineBreak)
{
    std::vector<std::string> lines;
    const auto at = [&content](size_t i) { return i < content.size() ? content[i] : '\0'; };
    size_t pos = 0;
    while (pos < content.size()) {
        size_t end = pos;
        while (end < content.size() && at(end) != '\r' && at(end) != '\n')
            ++end;
        lines.push_back(content.substr(pos, end - pos));
        pos = end;
        if (pos < content.size() && at(pos) == '\r')
            ++pos;
        else if (pos < content.size() && at(pos) == '\n') {
            ++pos;
            continue;
        }
        if (pos < content.size() && at(pos) == '\n' && content[pos - 1] == '\r')
            ++pos;
    }
    if (!trailingLineBreak && !content.empty() && (content.back() == '\r' || content.back() == '\n'))
        lines.emplace_back();
    return lines;
}

TEST(TextBufferLoad, BlockScannerAgreesWithTheRulesOnRandomContent)
{
    std::mt19937 random(7);
    const char alphabet[] = {'a', 'b', '\t', ' ', '\r', '\n', '\0'};
    TempDir dir;
    for (size_t size : {size_t{1}, size_t{63}, size_t{64}, size_t{65}, size_t{200}, size_t{2'100'001}}) {
        std::string content(size, 'x');
        const unsigned breakOdds = size > 1000 ? 40 : 3;  // long lines in the big file
        for (char& c : content)
            c = random() % breakOdds == 0 ? alphabet[4 + random() % 3] : alphabet[random() % 4];
        WriteFile(dir / "r.txt", content);
        for (bool trailing : {true, false}) {
            TOstEditStringList fromBytes, fromFile;
            fromBytes.SetTrailingLineBreak(trailing);
            fromFile.SetTrailingLineBreak(trailing);
            fromBytes.LoadFromBytes(content);
            fromFile.LoadFromFile((dir / "r.txt").string());
            const std::vector<std::string> expected = ReferenceLines(content, trailing);
            EXPECT_EQ(LinesOf(fromBytes), expected) << size;
            EXPECT_EQ(LinesOf(fromFile), expected) << size;
            EXPECT_EQ(fromFile.Capacity(), fromFile.Count()) << "loading allocates the lines once";
            EXPECT_EQ(fromBytes.Capacity(), fromBytes.Count());
        }
    }
}

TEST(TextBufferLoad, StreamAndFileLoadLikeBytes)
{
    const std::string content = "one\r\ntwo\n\rthree\r";
    TOstEditStringList fromBytes, fromStream, fromFile;
    fromBytes.LoadFromBytes(content);
    std::istringstream in("ignored");
    in.str(content);
    in.seekg(4);  // loading starts from the beginning whatever the position
    fromStream.LoadFromStream(in);
    TempDir dir;
    WriteFile(dir / "t.txt", content);
    fromFile.LoadFromFile((dir / "t.txt").string());
    EXPECT_EQ(LinesOf(fromStream), LinesOf(fromBytes));
    EXPECT_EQ(LinesOf(fromFile), LinesOf(fromBytes));
    EXPECT_EQ(fromFile.LineBreakStyle(), fromBytes.LineBreakStyle());
}

TEST(TextBufferLoad, FileErrorsCarryErrnoAndPathAndKeepTheBuffer)
{
    TempDir dir;
    TOstEditStringList list;
    list.AddLine("kept");
    const std::string missing = (dir / "missing.txt").string();
    try {
        list.LoadFromFile(missing);
        FAIL() << "no error";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code().value(), ENOENT);
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos);
    }
    EXPECT_EQ(LinesOf(list), (Lines{"kept"}));
    EXPECT_THROW(list.LoadFromFile(dir.path().string()), std::system_error);
    EXPECT_THROW(list.SaveToFile((dir / "no" / "such.txt").string()), std::system_error);
}

TEST(TextBufferSave, FileEqualsStreamForLargeBuffers)
{
    TempDir dir;
    TOstEditStringList list;
    for (int i = 0; i < 5000; ++i)
        list.AddLine("line " + std::to_string(i) + std::string(static_cast<size_t>(i % 70), 'x'));
    list.InsertLine(2500, std::string(40000, 'L'));  // larger than the writer's buffer
    list.InsertLine(0, "");
    for (TOstEditFileFormat style : {CrLf, Lf, Cr}) {
        for (bool trailing : {true, false}) {
            list.SetLineBreakStyle(style);
            list.SetTrailingLineBreak(trailing);
            const auto path = dir / "out.txt";
            list.SaveToFile(path.string());
            std::ostringstream stream;
            list.SaveToStream(stream);
            EXPECT_EQ(ReadFile(path), stream.str()) << style << trailing;
        }
    }
    TOstEditStringList empty;
    empty.SaveToFile((dir / "empty.txt").string());
    EXPECT_EQ(ReadFile(dir / "empty.txt"), "");
}

// What a buffer of these lines must save to, written out the long way.
std::string Joined(const std::vector<std::string>& lines, const std::string& lineBreak, bool trailing)
{
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (trailing || i + 1 < lines.size())
            out += lineBreak;
    }
    return out;
}

TEST(TextBufferSave, EditedLoadedLinesSaveWithTheChosenBreaks)
{
    TempDir dir;
    const auto path = dir / "out.txt";
    const char raw[] = "one\r\ntwo\n\rthree\r\n\r\nfour\0five\rsix\r\n\0seven\n\n";
    const std::string loaded(raw, sizeof raw - 1);
    const std::pair<TOstEditFileFormat, std::string> styles[] = {{CrLf, "\r\n"}, {Lf, "\n"}, {Cr, "\r"}};
    for (const auto& [style, lineBreak] : styles) {
        for (bool trailing : {true, false}) {
            TOstEditStringList list;
            list.SetTrailingLineBreak(trailing);
            list.LoadFromBytes(loaded);
            list.SetLineBreakStyle(style);
            list.ExchangeLines(1, 5);
            list.SetLine(3, "3");
            list.InsertLine(7, "new");
            list.RemoveLine(0);
            const std::string expected = Joined(LinesOf(list), lineBreak, trailing);
            EXPECT_EQ(list.Text(), expected) << style << trailing;
            list.SaveToFile(path.string());
            EXPECT_EQ(ReadFile(path), expected) << style << trailing;
        }
    }
}

TEST(TextBufferSave, SavingOverTheLoadedFileKeepsTheText)
{
    TempDir dir;
    const auto path = dir / "t.txt";
    WriteFile(path, "alpha\nbeta\n");
    TOstEditStringList list;
    list.LoadFromFile(path.string());
    list.SetLine(0, "ALPHA");
    list.SaveToFile(path.string());
    EXPECT_EQ(ReadFile(path), "ALPHA\nbeta\n");
    EXPECT_EQ(list.Get(1), "beta");
}

TEST(TextBufferSave, FileWriterBreaksAndLargePieces)
{
    TempDir dir;
    const auto path = dir / "w.txt";
    {
        TOstEditFileWriter writer(path.string());
        EXPECT_EQ(writer.FileFormat(), Lf);
        writer.WriteLine("a");
        writer.SetFileFormat(Cr);
        writer.WriteLine("b");
        writer.SetFileFormat(CrLf);
        writer.WriteLine(std::string(20000, 'z'));
        writer.Write("end");
    }  // the destructor writes out the rest
    EXPECT_EQ(ReadFile(path), "a\nb\r" + std::string(20000, 'z') + "\r\nend");
}

// --- lines borrowed from loaded content --------------------------------------

TEST(TextBufferMemory, BorrowedLinesSurviveEditsOfOthers)
{
    TempDir dir;
    std::string content;
    for (int i = 0; i < 100; ++i)
        content += "line " + std::to_string(i) + "\r\n";
    WriteFile(dir / "t.txt", content);
    TOstEditStringList list;
    list.LoadFromFile((dir / "t.txt").string());
    list.SetLine(10, "changed");
    list.SetLine(11, list.Get(12));  // a view of another borrowed line
    list.SetLine(12, list.Get(12));  // and of its own bytes
    list.DeleteBlock(20, 30);
    list.InsertLine(0, "first");
    list.ExchangeLines(1, 60);
    list.AddAll(list);
    EXPECT_EQ(list.Get(1), "line 89");
    EXPECT_EQ(list.Get(11), "changed");
    EXPECT_EQ(list.Get(12), "line 12");
    EXPECT_EQ(list.Get(13), "line 12");
    EXPECT_EQ(list.Get(71 + 60), "line 0");
    list.DeleteBlock(0, list.Count());  // releases the loaded content with the last line
    list.LoadFromFile((dir / "t.txt").string());
    list.LoadFromFile((dir / "t.txt").string());
    EXPECT_EQ(list.Get(99), "line 99");
    list.ClearLines();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
}

// --- editing and its errors --------------------------------------------------

TEST(TextBufferEdit, IndexErrorsNameTheIndexForEachAllowedRange)
{
    TOstEditStringList list;
    list.AddAll({"a", "b", "c"});
    auto message = [](auto&& operation) -> std::string {
        try {
            operation();
        } catch (const EOstEditStringList& e) {
            return e.what();
        }
        return "no error";
    };
    // Operations on existing lines accept 0..Count-1.
    EXPECT_EQ(message([&] { list.RemoveLine(3); }), "Invalid stringlist index 3");
    EXPECT_EQ(message([&] { list.RemoveLine(-1); }), "Invalid stringlist index -1");
    EXPECT_EQ(message([&] { list.ExchangeLines(0, 3); }), "Invalid stringlist index 3");
    EXPECT_EQ(message([&] { list.SetObject(3, 1); }), "Invalid stringlist index 3");
    EXPECT_EQ(message([&] { list.SetLineRange(-2, 1); }), "Invalid stringlist index -2");
    // Operations at a position accept 0..Count.
    EXPECT_EQ(message([&] { list.InsertLine(4, "x"); }), "Invalid stringlist index 4");
    EXPECT_EQ(message([&] { list.SetLine(4, "x"); }), "Invalid stringlist index 4");
    EXPECT_EQ(message([&] { list.DeleteBlock(4, 1); }), "Invalid stringlist index 4");
    EXPECT_EQ(message([&] { list.InsertBlankLines(-1, 1); }), "Invalid stringlist index -1");
    EXPECT_EQ(message([&] { list.SetCapacity(2); }),
              "Stringlist capacity cannot be smaller than count");
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b", "c"})) << "a failed call changes nothing";

    list.DeleteBlock(3, 5);
    list.InsertBlankLines(3, 1);
    list.InsertLine(4, "end");
    list.SetLine(5, "appended");  // SetLine(Count) appends
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b", "c", "", "end", "appended"}));
}

TEST(TextBufferEdit, ReadsOutsideTheBufferYieldNothing)
{
    TOstEditStringList list;
    list.AddLine("a");
    list.SetObject(0, 7);
    list.SetLineRange(0, 9);
    for (int i : {-1, 1, 100}) {
        EXPECT_EQ(list.Get(i), "");
        EXPECT_EQ(list.Object(i), 0);
        EXPECT_EQ(list.LineRange(i), 0);
        EXPECT_EQ(list.ExpandedLine(i), "");
        EXPECT_EQ(list.ExpandedWidth(i), 0);
    }
    EXPECT_EQ(list.Object(0), 7);
    EXPECT_EQ(list.LineRange(0), 9);
}

TEST(TextBufferEdit, NewRecordsCarryTheirInitialRangeAndObject)
{
    TOstEditStringList list;
    list.AddLine("added");
    list.InsertLine(0, "inserted");
    list.InsertBlankLines(1, 2);
    EXPECT_EQ(list.LineRange(0), -1);
    EXPECT_EQ(list.LineRange(3), -1);
    for (int i : {1, 2}) {
        EXPECT_EQ(list.Get(i), "");
        EXPECT_EQ(list.Object(i), 0);
        EXPECT_EQ(list.LineRange(i), 0);
        EXPECT_EQ(list.ExpandedWidth(i), 0);
    }
    list.SetLineRange(0, 5);
    list.SetObject(0, 6);
    list.SetLine(0, "set");
    EXPECT_EQ(list.LineRange(0), 5) << "an edit leaves the stored range";
    list.ExchangeLines(0, 3);
    EXPECT_EQ(list.Get(3), "set");
    EXPECT_EQ(list.Object(3), 6);
    EXPECT_EQ(list.LineRange(3), 5);
}

TEST(TextBufferEdit, DeleteBlockClampsAndIgnoresEmptyCounts)
{
    TOstEditStringList list;
    list.AddAll({"a", "b", "c", "d"});
    NotificationLog log(list);
    list.DeleteBlock(1, 0);
    list.DeleteBlock(1, -3);
    EXPECT_TRUE(log.events.empty());
    list.DeleteBlock(2, 10);
    EXPECT_EQ(LinesOf(list), (Lines{"a", "b"}));
    EXPECT_EQ(log.events, (Lines{"changing", "deleted(2,2)", "change"}));
}

// --- capacity ----------------------------------------------------------------

TEST(TextBufferCapacity, GrowsBySixteenThenByAQuarter)
{
    TOstEditStringList list;
    std::vector<int> seen{list.Capacity()};
    for (int i = 0; i < 200; ++i) {
        list.AddLine("x");
        if (list.Capacity() != seen.back())
            seen.push_back(list.Capacity());
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 16, 32, 48, 64, 80, 100, 125, 156, 195, 243}));
    list.SetCapacity(list.Count());
    EXPECT_EQ(list.Capacity(), 200);
    list.InsertLine(0, "y");
    EXPECT_EQ(list.Capacity(), 250);
}

TEST(TextBufferCapacity, AddAllRoundsUpToSixteenAndNotifiesOnce)
{
    TOstEditStringList list;
    NotificationLog log(list);
    list.AddAll(std::vector<std::string>{});
    EXPECT_TRUE(log.events.empty());
    list.AddAll(std::vector<std::string>(16, "a"));
    EXPECT_EQ(list.Capacity(), 16) << "a multiple of 16 stays";
    list.AddAll({"b"});
    EXPECT_EQ(list.Capacity(), 32);
    list.AddAll({"c"});
    EXPECT_EQ(list.Capacity(), 32) << "enough room keeps the capacity";
    EXPECT_EQ(log.events.back(), "change");
    EXPECT_EQ(log.events[log.events.size() - 2], "inserted(17,1)");
    EXPECT_EQ(list.LineRange(17), -1);

    TOstEditStringList source;
    source.AddAll({"x", "y"});
    source.SetObject(1, 42);
    list.AddAll(source);
    EXPECT_EQ(list.Get(19), "y");
    EXPECT_EQ(list.Object(19), 42);
}

TEST(TextBufferCapacity, BlankLinesMakeExactRoom)
{
    TOstEditStringList list;
    list.AddAll({"a", "b", "c"});
    list.InsertBlankLines(1, 20);
    EXPECT_EQ(list.Capacity(), 23);
    EXPECT_EQ(list.Get(21), "b");
}

// --- notifications -----------------------------------------------------------

TEST(TextBufferNotify, EachOperationFiresInsideOneBracket)
{
    TOstEditStringList list;
    NotificationLog log(list);
    list.AddLine("a");
    list.InsertLine(0, "b");
    list.SetLine(1, "c");
    list.SetLine(2, "d");
    list.RemoveLine(0);
    list.ClearLines();
    EXPECT_EQ(log.events,
              (Lines{"changing", "inserted(0,1)", "change", "changing", "inserted(0,1)", "change",
                     "changing", "putted(1,1)", "change", "changing", "inserted(2,1)", "change",
                     "changing", "deleted(0,1)", "change", "changing", "cleared", "change"}));
}

TEST(TextBufferNotify, NestedBracketsFireOnceAndCallbacksSeeTheChange)
{
    TOstEditStringList list;
    NotificationLog log(list);
    int countSeen = -1;
    list.OnInserted = [&](int, int) { countSeen = list.Count(); };
    list.BeginUpdate();
    list.BeginUpdate();
    list.AddLine("a");
    list.AddLine("b");
    list.EndUpdate();
    EXPECT_EQ(log.events, (Lines{"changing"}));
    list.EndUpdate();
    list.EndUpdate();  // an unmatched end is ignored
    EXPECT_EQ(log.events, (Lines{"changing", "change"}));
    EXPECT_EQ(countSeen, 2);
    EXPECT_EQ(list.UpdateCount(), 0);
}

TEST(TextBufferNotify, LoadingClearsThenInsertsAllLinesAtOnce)
{
    TOstEditStringList list;
    list.AddLine("old");
    NotificationLog log(list);
    list.LoadFromBytes("a\nb\nc\n");
    EXPECT_EQ(log.events, (Lines{"changing", "cleared", "inserted(0,3)", "change"}));
}

TEST(TextBufferNotify, FailuresAndDestructionNotifyNobody)
{
    auto events = std::make_unique<std::vector<std::string>>();
    {
        TOstEditStringList list;
        list.AddLine("a");
        NotificationLog log(list);
        EXPECT_THROW(list.RemoveLine(5), EOstEditStringList);
        EXPECT_TRUE(log.events.empty());
        list.OnCleared = [&] { events->push_back("cleared"); };
        list.OnDeleted = [&](int, int) { events->push_back("deleted"); };
    }
    EXPECT_TRUE(events->empty());
}

TEST(TextBufferNotify, ABracketClosesWhenACallbackThrows)
{
    TOstEditStringList list;
    list.OnInserted = [](int, int) { throw std::runtime_error("owner failed"); };
    EXPECT_THROW(list.AddLine("a"), std::runtime_error);
    EXPECT_EQ(list.UpdateCount(), 0);
}

// --- tabs and widths ---------------------------------------------------------

TEST(TextBufferTabs, ExpansionForEachKindOfWidth)
{
    TOstEditStringList fresh;
    fresh.AddLine("a\tb");
    EXPECT_EQ(fresh.TabWidth(), 8);
    EXPECT_EQ(fresh.ExpandedLine(0), "a" + std::string(7, '\t') + "b");

    TOstEditStringList list;
    list.AddAll({"\tx", "ab\tc", "ab\t\tc", "plain", ""});
    list.SetTabWidth(4);
    EXPECT_EQ(list.ExpandedLine(0), "\t\t\t\tx");
    EXPECT_EQ(list.ExpandedWidth(0), 5);
    EXPECT_EQ(list.ExpandedLine(2), "ab\t\t\t\t\t\tc");
    EXPECT_EQ(list.ExpandedLine(3), "plain");
    EXPECT_EQ(list.ExpandedLine(4), "");
    EXPECT_EQ(list.ExpandedWidth(4), 0);
    list.SetTabWidth(1);
    EXPECT_EQ(list.ExpandedLine(0), " x");
    EXPECT_EQ(list.ExpandedLine(2), "ab  c");
    list.SetTabWidth(3);
    EXPECT_EQ(list.ExpandedWidth(1), 4);
    EXPECT_EQ(list.ExpandedLine(1), "ab\tc");
    EXPECT_EQ(list.ExpandedLine(2), "ab\t\t\t\tc");
    list.SetTabWidth(8);
    EXPECT_EQ(list.ExpandedLine(1), "ab" + std::string(6, '\t') + "c");
    EXPECT_EQ(list.ExpandedWidth(2), 17);
    list.SetTabWidth(0);
    EXPECT_EQ(list.ExpandedLine(0), " x");
    list.SetTabWidth(-3);
    EXPECT_EQ(list.ExpandedLine(2), "ab  c");
}

TEST(TextBufferTabs, WidthsFollowTabWidthAndEdits)
{
    TOstEditStringList list;
    list.AddAll({"abcdef", "\t\t", "abc"});
    EXPECT_EQ(list.LongestLineWidth(), 16);
    EXPECT_EQ(list.LongestLineIndex(), 1);
    list.SetTabWidth(3);
    EXPECT_EQ(list.LongestLineWidth(), 6);
    EXPECT_EQ(list.LongestLineIndex(), 0) << "of equal widths the first line counts";
    EXPECT_EQ(list.ExpandedWidth(1), 6);
    list.SetLine(2, "abcdefgh");
    EXPECT_EQ(list.LongestLineWidth(), 8);
    list.InsertLine(0, std::string(20, 'w'));
    EXPECT_EQ(list.LongestLineWidth(), 20);
    list.ExchangeLines(0, 3);
    EXPECT_EQ(list.LongestLineIndex(), 3);
    list.RemoveLine(3);
    EXPECT_EQ(list.LongestLineWidth(), 8);
    EXPECT_EQ(list.LongestLineIndex(), 0);
    list.ClearLines();
    EXPECT_EQ(list.LongestLineWidth(), 0);
}

TEST(TextBufferTabs, LoadedLinesAreMeasuredOnRequest)
{
    TOstEditStringList list;
    list.SetTabWidth(4);
    list.LoadFromBytes("a\tb\r\n\t\t\r\nxyz\r\n");
    EXPECT_EQ(list.ExpandedWidth(0), 5);
    EXPECT_EQ(list.LongestLineWidth(), 8);
    EXPECT_EQ(list.ExpandedLine(0), "a\t\t\tb");
}
