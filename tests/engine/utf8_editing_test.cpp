// Editing UTF-8 text: every command that moves by a character moves by a
// whole one (a code point with its combining marks, or one invalid byte),
// columns are screen cells, and undo gives back exactly the bytes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "editor/OstEdit.h"
#include "editor/OstEditKeyCmds.h"
#include "platform/Utf8.h"

using namespace ostrel;

namespace {

// a, ż (2 bytes), e with a combining acute (3), 日 (3, two cells), an
// invalid byte, b.
const std::string kMixed = "a\xC5\xBC" "e\xCC\x81" "\xE6\x97\xA5" "\xFF" "b";

struct Fixture {
    MemoryClipboard clipboard;
    TOstEdit ed;
    explicit Fixture(std::string_view bytes, TOstEncoding encoding = TOstEncoding::Utf8)
    {
        ed.SetClipboard(&clipboard);
        ed.SetMaxUndo(100000);
        ed.Lines().LoadFromBytes(bytes, TOstEncodingChoice{encoding});
    }
    std::string bytes() const { return ed.Lines().Text(); }
    void run(TOstEditorCommand command) { ed.CommandProcessor(command, '\0'); }
    void at(int c, int l) { ed.SetCaretXY({c, l}); }
    std::vector<int> stops(TOstEditorCommand command, int count)
    {
        std::vector<int> seen;
        for (int i = 0; i < count; ++i) {
            run(command);
            seen.push_back(ed.CaretX());
        }
        return seen;
    }
    void undoAll()
    {
        while (ed.CanUndo())
            ed.Undo();
    }
    void redoAll()
    {
        while (ed.CanRedo())
            ed.Redo();
    }
};

}  // namespace

// ---- moving and deleting by characters ----------------------------------------------

TEST(Utf8Editing, LeftAndRightStepOverWholeCharacters)
{
    Fixture f(kMixed + "\r\n");
    f.at(1, 1);
    EXPECT_EQ(f.stops(ecRight, 6), (std::vector<int>{2, 4, 7, 10, 11, 12}));
    EXPECT_EQ(f.stops(ecLeft, 6), (std::vector<int>{11, 10, 7, 4, 2, 1}));
    // A position inside a character is never taken: it falls back to the start.
    f.at(3, 1);
    EXPECT_EQ(f.ed.CaretX(), 2);
    f.at(6, 1);
    EXPECT_EQ(f.ed.CaretX(), 4);
}

TEST(Utf8Editing, ColumnsAreCells)
{
    Fixture f(kMixed + "\r\n");
    EXPECT_EQ(f.ed.Lines().ExpandedWidth(0), 7);
    const int columns[] = {1, 2, 3, 4, 6, 7, 8};
    const int chars[] = {1, 2, 4, 7, 10, 11, 12};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(f.ed.LineColumn({chars[i], 1}), columns[i]) << i;
        EXPECT_EQ(f.ed.CharAtLineColumn(1, columns[i]), chars[i]) << i;
    }
    // The second cell of the wide character belongs to it.
    EXPECT_EQ(f.ed.CharAtLineColumn(1, 5), 7);
    // Virtual space counts cells beyond the last.
    EXPECT_EQ(f.ed.LineColumn({14, 1}), 10);
}

TEST(Utf8Editing, BackspaceAndDeleteTakeOneWholeCharacterAndUndoGivesItBack)
{
    Fixture f(kMixed + "\r\n");
    f.at(12, 1);
    std::vector<std::string> left;
    for (int i = 0; i < 6; ++i) {
        f.run(ecDeleteLastChar);
        left.push_back(f.bytes());
    }
    EXPECT_EQ(left[0], kMixed.substr(0, 10) + "\r\n");
    EXPECT_EQ(left[1], kMixed.substr(0, 9) + "\r\n");
    EXPECT_EQ(left[2], kMixed.substr(0, 6) + "\r\n");
    EXPECT_EQ(left[3], kMixed.substr(0, 3) + "\r\n");
    EXPECT_EQ(left[5], "\r\n");
    f.undoAll();
    EXPECT_EQ(f.bytes(), kMixed + "\r\n");

    f.at(1, 1);
    f.run(ecDeleteChar);
    f.run(ecDeleteChar);
    EXPECT_EQ(f.bytes(), kMixed.substr(3) + "\r\n");
    f.run(ecDeleteChar);
    EXPECT_EQ(f.bytes(), kMixed.substr(6) + "\r\n") << "the mark goes with its letter";
}

TEST(Utf8Editing, WordsHoldPolishLettersInEveryEncoding)
{
    Fixture utf8("zażółć gęślą-jaźń\r\n");
    utf8.at(1, 1);
    EXPECT_EQ(utf8.stops(ecWordRight, 2), (std::vector<int>{12, 21}));
    utf8.at(30, 1);
    EXPECT_EQ(utf8.stops(ecWordLeft, 2), (std::vector<int>{21, 12}));
    EXPECT_EQ(utf8.ed.GetWordAtRowCol({14, 1}), "gęślą");
    utf8.at(3, 1);
    utf8.run(ecDeleteWord);
    EXPECT_EQ(utf8.bytes(), "zagęślą-jaźń\r\n");

    Fixture win("za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9\r\n", TOstEncoding::Windows1250);
    win.at(1, 1);
    EXPECT_EQ(win.stops(ecWordRight, 1), (std::vector<int>{8}));
}

TEST(Utf8Editing, UpAndDownKeepTheCellColumn)
{
    Fixture f("日本語x\r\nabcdefg\r\n");
    f.at(7, 1);  // after 日本: column 5
    f.run(ecDown);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{5, 2}));
    f.at(4, 2);  // column 4, the second cell of 本
    f.run(ecUp);
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{4, 1}));
}

TEST(Utf8Editing, OverwriteReplacesOneWholeCharacter)
{
    Fixture f("żółw\r\n");
    f.ed.SetInsertMode(false);
    f.at(1, 1);
    f.ed.CommandProcessor(ecChar, 'a');
    EXPECT_EQ(f.bytes(), "aółw\r\n");
    const std::string ez = "ź";
    f.ed.CommandProcessor(ecChar, ez[0], ez.c_str());
    EXPECT_EQ(f.bytes(), "aźłw\r\n");
    f.undoAll();
    EXPECT_EQ(f.bytes(), "żółw\r\n");
}

TEST(Utf8Editing, ColumnBlocksSpanScreenColumns)
{
    Fixture f("a日b\r\nabcd\r\nżółw\r\n");
    f.ed.SetSelectionMode(smColumn);
    f.ed.SetActiveSelectionMode(smColumn);
    f.ed.SetCaretAndSelection({7, 3}, {2, 1}, {7, 3});  // columns 2..3 of every line
    EXPECT_EQ(f.ed.SelText(), "日\r\nbc\r\nół");
    f.ed.CopyToClipboard();
    f.run(ecDeleteChar);
    EXPECT_EQ(f.bytes(), "ab\r\nad\r\nżw\r\n");
    f.at(2, 1);  // column 2 of every line again
    f.ed.PasteFromClipboard();
    EXPECT_EQ(f.bytes(), "a日b\r\nabcd\r\nżółw\r\n");
    f.undoAll();
    EXPECT_EQ(f.bytes(), "a日b\r\nabcd\r\nżółw\r\n");
    f.redoAll();
    EXPECT_EQ(f.bytes(), "a日b\r\nabcd\r\nżółw\r\n");
}

// ---- keys and text from outside ---------------------------------------------------------

TEST(Utf8Editing, ALetterWithoutAKeyCodeAfterACommandKeyArrives)
{
    Fixture f("ab\r\n");
    f.at(1, 1);
    f.ed.KeyStroke(VK_RIGHT, 0, "");
    f.ed.KeyStroke(0, 0, "ż");
    f.ed.KeyStroke(0, 0, "ą");
    EXPECT_EQ(f.bytes(), "ażąb\r\n");
    // The same through separate key-down and character calls, as a window
    // system delivers them: a bound key without a character drops nothing.
    uint16_t right = VK_RIGHT;
    f.ed.KeyDown(right, 0);
    f.ed.KeyUp(right, 0);
    f.ed.KeyPressText("ś");
    EXPECT_EQ(f.bytes(), "ażąbś\r\n");

    Fixture win("ab\r\n", TOstEncoding::Windows1250);
    win.at(1, 1);
    win.ed.KeyStroke(VK_RIGHT, 0, "");
    win.ed.KeyStroke(0, 0, "ż");
    EXPECT_EQ(win.bytes(), "a\xBF" "b\r\n");
}

TEST(Utf8Editing, TextTheEncodingCannotHoldIsNeverReplaced)
{
    Fixture f("ab\r\n", TOstEncoding::Windows1250);
    f.at(2, 1);
    f.ed.KeyStroke(0, 0, "я");
    EXPECT_EQ(f.bytes(), "ab\r\n") << "without an answer nothing goes in, and no '?'";

    std::string asked;
    f.ed.OnTextNotEncodable = [&](std::string_view utf8) {
        asked = utf8;
        return f.ed.ConvertEncoding(TOstEncoding::Utf8);
    };
    f.ed.KeyStroke(0, 0, "я");
    EXPECT_EQ(asked, "я");
    EXPECT_EQ(f.ed.Encoding(), TOstEncoding::Utf8);
    EXPECT_EQ(f.bytes(), "aяb\r\n");
    f.ed.Undo();
    f.ed.Undo();
    EXPECT_EQ(f.ed.Encoding(), TOstEncoding::Windows1250);
    EXPECT_EQ(f.bytes(), "ab\r\n");
    f.redoAll();
    EXPECT_EQ(f.ed.Encoding(), TOstEncoding::Utf8);
    EXPECT_EQ(f.bytes(), "aяb\r\n");
}

TEST(Utf8Editing, ClipboardTextIsConvertedBetweenEncodings)
{
    Fixture utf8("Łódź\r\n");
    utf8.ed.SelectAll();
    utf8.ed.CopyToClipboard();
    Fixture win("\r\n", TOstEncoding::Windows1250);
    win.ed.SetClipboard(&utf8.clipboard);
    win.ed.PasteFromClipboard();
    EXPECT_EQ(win.bytes(), "\xA3\xF3" "d\x9F\r\n");

    // Plain text from another program is UTF-8.
    utf8.clipboard.putPlain("żółw 日本");
    win.ed.PasteFromClipboard();
    EXPECT_EQ(win.bytes(), "\xA3\xF3" "d\x9F\r\n") << "日本 has no place in Windows-1250";
    utf8.clipboard.putPlain("żółw");
    win.ed.PasteFromClipboard();
    EXPECT_EQ(win.bytes(), "\xA3\xF3" "d\x9F\xBF\xF3\xB3w\r\n");
}

// ---- files: their own bytes back ----------------------------------------------------

TEST(Utf8Files, UnchangedDocumentsSaveTheirOwnBytesInEveryEncoding)
{
    const std::string nul("\0", 1);
    const std::vector<std::pair<TOstEncoding, std::string>> files = {
        {TOstEncoding::Utf8, "Zażółć\r\n" + nul + "\xFF\xC5 日本\r\n"},
        {TOstEncoding::Utf8Bom, "\xEF\xBB\xBFgęś\nlą\n"},
        {TOstEncoding::Utf16Le, std::string("\xFF\xFE" "a\0\x7C\x01\n\0", 8)},
        {TOstEncoding::Utf16Be, std::string("\xFE\xFF\0a\x01\x7C\0\n", 8)},
        {TOstEncoding::Windows1250, "Za\xBF\xF3\xB3\xE6 " + nul + "\x81\r\n"},
        {TOstEncoding::Iso88592, "Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1\n"},
    };
    for (const auto& [encoding, content] : files) {
        SCOPED_TRACE(std::string(EncodingName(encoding)));
        TOstEditStringList lines;
        lines.LoadFromBytes(content, TOstEncodingChoice{encoding});
        EXPECT_EQ(lines.Encoding(), encoding);
        EXPECT_EQ(lines.FileBytes(), content);
    }
    // Detection finds the marks by itself.
    for (const auto& [encoding, content] : files) {
        if (!HoldsUtf8(encoding) || encoding == TOstEncoding::Utf8)
            continue;
        TOstEditStringList lines;
        lines.LoadFromBytes(content);
        EXPECT_EQ(lines.Encoding(), encoding);
        EXPECT_EQ(lines.FileBytes(), content);
    }
}

TEST(Utf8Files, ASavedDocumentWritesItsEncoding)
{
    TOstEditStringList lines;
    const std::string file("\xFF\xFE\x7C\x01\r\0\n\0", 8);
    lines.LoadFromBytes(file);
    EXPECT_EQ(lines.Text(), "ż\r\n") << "held as UTF-8";
    lines.SetLine(0, "żą");
    EXPECT_EQ(lines.FileBytes(), std::string("\xFF\xFE\x7C\x01\x05\x01\r\0\n\0", 10));
}

// ---- a long random session ---------------------------------------------------------------

namespace {

class RandomUtf8Session {
public:
    RandomUtf8Session(unsigned seed, bool withInvalid) : rng_(seed), withInvalid_(withInvalid)
    {
        ed_.SetClipboard(&clipboard_);
        TOstEditorOptions options = TCustomOstEdit::DefaultOptions();
        options.set(eoTrimTrailingSpaces, false);
        options.set(eoScrollPastEol, pick(2) == 0);
        ed_.SetOptions(options);
        ed_.SetMaxUndo(1 << 20);
        ed_.SetTabWidth(1 + pick(8));
        std::string document;
        for (int i = 0, n = 1 + pick(8); i < n; ++i)
            document += text(12) + "\r\n";
        ed_.Lines().LoadFromBytes(document, TOstEncodingChoice{TOstEncoding::Utf8});
    }

    std::string bytes() const { return ed_.Lines().Text(); }
    const std::string& log() const { return log_; }

    void step()
    {
        static const TOstEditorCommand moves[] = {ecLeft, ecRight, ecUp, ecDown, ecWordLeft, ecWordRight,
                                                  ecLineStart, ecLineEnd, ecSelLeft, ecSelRight, ecSelUp,
                                                  ecSelDown, ecSelWordRight, ecSelLineEnd};
        switch (pick(12)) {
        case 0: case 1: run(moves[pick(std::size(moves))]); break;
        case 2: case 3: type(); break;
        case 4: run(ecDeleteLastChar); break;
        case 5: run(ecDeleteChar); break;
        case 6: run(pick(2) ? ecLineBreak : ecDeleteLastWord); break;
        case 7: select(); break;
        case 8: note("cut"); ed_.CutToClipboard(); break;
        case 9: note("paste"); ed_.PasteFromClipboard(); break;
        case 10: note("copy"); ed_.CopyToClipboard(); break;
        case 11: note("insert mode"); ed_.SetInsertMode(!ed_.InsertMode()); break;
        }
    }

    // The caret and both selection ends stand between characters.
    void expectOnBoundaries() const
    {
        const auto onBoundary = [this](TBufferCoord p) {
            const std::string_view line = ed_.Lines().Get(p.Line - 1);
            const size_t at = static_cast<size_t>(p.Char - 1);
            return at >= line.size() || ed_.Lines().Chars().IsBoundary(line, at);
        };
        EXPECT_TRUE(onBoundary(ed_.CaretXY())) << log_;
        EXPECT_TRUE(onBoundary(ed_.RawBlockBegin())) << log_;
        EXPECT_TRUE(onBoundary(ed_.RawBlockEnd())) << log_;
        if (!withInvalid_) {
            EXPECT_TRUE(utf8::IsValid(bytes())) << log_;
        }
    }

    TOstEdit& editor() { return ed_; }

private:
    int pick(size_t n) { return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(rng_); }
    void note(const std::string& what) { log_ += what + "\n"; }

    std::string text(int most)
    {
        static const char* const pieces[] = {"a", "z", " ", "\t", "ą", "ż", "Ł", "ó", "日本", "界",
                                             "e\xCC\x81", "\xCC\x88", "😀", ".", "-"};
        std::string out;
        for (int i = 0, n = pick(static_cast<size_t>(most)); i < n; ++i) {
            if (withInvalid_ && pick(8) == 0)
                out += "\xFF\xC5\x80\xE6\x97"[pick(5)];
            else
                out += pieces[pick(std::size(pieces))];
        }
        return out;
    }

    void run(TOstEditorCommand command)
    {
        note("command " + std::to_string(command));
        ed_.CommandProcessor(command, '\0');
    }

    void type()
    {
        // One character as the keyboard gives it: a code point at a time.
        const std::string piece = text(2);
        note("type '" + piece + "'");
        for (size_t i = 0; i < piece.size();) {
            const utf8::TDecoded d = utf8::Decode(piece, i);
            const std::string one = piece.substr(i, d.length);
            ed_.CommandProcessor(ecChar, one[0], one.size() > 1 ? one.c_str() : nullptr);
            i += d.length;
        }
    }

    void select()
    {
        const TOstSelectionMode mode = static_cast<TOstSelectionMode>(pick(3));
        const int lines = std::max(ed_.Lines().Count(), 1);
        const TBufferCoord a{1 + pick(14), 1 + pick(static_cast<size_t>(lines))};
        const TBufferCoord b{1 + pick(14), 1 + pick(static_cast<size_t>(lines))};
        note("select mode " + std::to_string(mode));
        ed_.SetSelectionMode(mode);
        ed_.SetActiveSelectionMode(mode);
        ed_.SetCaretXY(a);
        ed_.SetBlockBegin(a);
        ed_.SetBlockEnd(b);
        ed_.SetCaretXYEx(true, b);
    }

    std::mt19937 rng_;
    bool withInvalid_;
    MemoryClipboard clipboard_;
    TOstEdit ed_;
    std::string log_;
};

}  // namespace

TEST(Utf8Editing, RandomSessionsKeepCharactersWholeAndUndoExactly)
{
    const unsigned kSeeds = getenv("OSTREL_RANDOM_SEEDS") ? static_cast<unsigned>(atoi(getenv("OSTREL_RANDOM_SEEDS"))) : 60;
    for (unsigned seed = 1; seed <= kSeeds; ++seed) {
        for (bool withInvalid : {false, true}) {
            RandomUtf8Session session(seed, withInvalid);
            const std::string original = session.bytes();
            for (int i = 0; i < 150; ++i) {
                session.step();
                session.expectOnBoundaries();
                if (::testing::Test::HasFailure())
                    return;
            }
            const std::string final = session.bytes();
            TOstEdit& ed = session.editor();
            while (ed.CanUndo())
                ed.Undo();
            ASSERT_EQ(session.bytes(), original) << "seed " << seed << "\n" << session.log();
            while (ed.CanRedo())
                ed.Redo();
            ASSERT_EQ(session.bytes(), final) << "seed " << seed << "\n" << session.log();
        }
    }
}

