// Long random sessions of keys, typed text and commands, run through the
// script the command-line tool runs: undoing everything must give back the
// original bytes and redoing everything the final bytes, exactly.

#include <gtest/gtest.h>

#include <random>

#include "editor/OstEditCmdScript.h"
#include "support/TestSupport.h"

using namespace ostrel;

namespace {

const char* const kKeys[] = {
    "Up", "Down", "Left", "Right", "Home", "End", "Page Up", "Page Down", "Shift+Up", "Shift+Down",
    "Shift+Left", "Shift+Right", "Shift+Home", "Shift+End", "Ctrl+Left", "Ctrl+Right", "Shift+Ctrl+Left",
    "Shift+Ctrl+Right", "Ctrl+Home", "Ctrl+End", "Shift+Page Down", "Ctrl+Page Down", "Ctrl+Up", "Ctrl+Down",
    "Backspace", "Backspace", "Delete", "Delete", "Enter", "Enter", "Tab", "Tab", "Shift+Tab", "Ctrl+Y",
    "Shift+Ctrl+Y", "Ctrl+T", "Ctrl+Backspace", "Ctrl+N", "Shift+Ctrl+I", "Shift+Ctrl+U", "Insert", "Ctrl+C",
    "Ctrl+X", "Ctrl+V", "Shift+Ctrl+B", "Shift+Ctrl+N", "Shift+Ctrl+C", "Shift+Ctrl+L", "Ctrl+Z",
    "Shift+Ctrl+Z", "A", "Shift+B", "7", "Space", "Space",
};

const char* const kCommands[] = {
    "ecUpperCase", "ecLowerCase", "ecToggleCase", "ecTitleCase", "ecUpperCaseBlock", "ecLowerCaseBlock",
    "ecToggleCaseBlock", "ecDeleteBOL", "ecDeleteLastWord", "ecInsertLine", "ecPageLeft", "ecSelPageRight",
    "ecImeStr \\xB1x", "ecSelectAll", "ecSelPageTop",
};

const TOstEditorOption kTried[] = {
    eoAutoIndent, eoEnhanceHomeKey, eoGroupUndo, eoHalfPageScroll, eoKeepCaretX, eoScrollByOneLess,
    eoScrollPastEol, eoSmartTabDelete, eoSmartTabs, eoTabIndent, eoTabsToSpaces,
};

class RandomScript {
public:
    RandomScript(unsigned seed, bool trimming) : rng_(seed)
    {
        for (TOstEditorOption o : kTried)
            if (pick(2))
                options_.include(o);
        // Trimming records the blanks it takes, tabs as tabs, so the
        // documents hold both, also at line ends.
        if (trimming)
            options_.include(eoTrimTrailingSpaces);
        tabWidth_ = 1 + pick(8);
        document_ = randomDocument();
        for (int i = 0; i < 150; ++i)
            lines_.push_back(randomLine());
    }

    std::string optionList() const
    {
        std::string list;
        for (int i = 0; i < kEditorOptionCount; ++i)
            if (options_.has(static_cast<TOstEditorOption>(i)))
                list += std::string(list.empty() ? "" : ",") + EditorOptionName(static_cast<TOstEditorOption>(i));
        return list;
    }
    TOstEditorOptions options() const { return options_; }
    int tabWidth() const { return tabWidth_; }
    const std::string& document() const { return document_; }
    const std::vector<std::string>& lines() const { return lines_; }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    std::string randomDocument()
    {
        std::string doc;
        // One line-break style: the buffer keeps one per file.
        const char* lineBreak = pick(3) ? "\r\n" : "\n";
        const int lines = 1 + pick(10);
        for (int i = 0; i < lines; ++i) {
            std::string line;
            for (int w = pick(5); w > 0; --w)
                line += std::string(static_cast<size_t>(pick(3)), pick(2) ? ' ' : '\t') +
                        (pick(3) ? "word" : "(x.y)") + std::to_string(pick(100));
            if (pick(4) == 0)
                line += pick(2) ? "  " : "\t";
            doc += line + lineBreak;
        }
        return doc;
    }

    std::string randomLine()
    {
        switch (pick(12)) {
        case 0: return "type " + std::string(pick(2) ? "ab" : "\\xB3 x") + (pick(2) ? " " : "");
        case 1: return "caret " + std::to_string(1 + pick(12)) + " " + std::to_string(1 + pick(12));
        case 2:
            return "select " + std::to_string(1 + pick(10)) + " " + std::to_string(1 + pick(10)) + " " +
                   std::to_string(1 + pick(10)) + " " + std::to_string(1 + pick(10));
        case 3: return std::string("cmd ") + kCommands[pick(static_cast<int>(std::size(kCommands)))];
        default: return std::string("key ") + kKeys[pick(static_cast<int>(std::size(kKeys)))];
        }
    }

    std::mt19937 rng_;
    TOstEditorOptions options_;
    int tabWidth_ = 8;
    std::string document_;
    std::vector<std::string> lines_;
};

void CheckUndoRedo(unsigned seed, bool trimming)
{
    const RandomScript s(seed, trimming);
    MemoryClipboard clipboard;
    TOstEdit ed;
    ed.SetClipboard(&clipboard);
    TOstEditCmdScript::SetUpAsTemplate(ed);
    ed.SetMaxUndo(1 << 20);
    ed.SetTabWidth(s.tabWidth());
    ed.SetWindowSize(20, 5);
    ed.Lines().LoadFromBytes(s.document());
    ed.SetOptions(s.options());
    TOstEditCmdScript script(ed);
    std::string log;
    for (const std::string& line : s.lines()) {
        std::string out;
        std::string error;
        ASSERT_TRUE(script.RunLine(line, out, error)) << line << ": " << error;
        log += line + "\n";
    }
    // Steps the script undid are redone first: redoing everything below
    // then has one end to reach.
    while (ed.CanRedo())
        ed.Redo();
    const std::string final = ed.Lines().Text();
    while (ed.CanUndo())
        ed.Undo();
    ASSERT_EQ(ed.Lines().Text(), s.document()) << "seed " << seed << " options " << s.optionList() << "\n" << log;
    while (ed.CanRedo())
        ed.Redo();
    ASSERT_EQ(ed.Lines().Text(), final) << "seed " << seed << " options " << s.optionList() << "\n" << log;
}

}  // namespace

TEST(RandomCommands, UndoAndRedoEverythingWithoutTrimming)
{
    for (unsigned seed = 1; seed <= 300; ++seed)
        CheckUndoRedo(seed, false);
}

TEST(RandomCommands, UndoAndRedoEverythingWithTrimming)
{
    for (unsigned seed = 1; seed <= 300; ++seed)
        CheckUndoRedo(seed, true);
}

// Every command, from a few carets and selections on small documents (the
// empty one included), keeps undo exact and leaves the text alone when there
// is nothing to act on.
TEST(CommandSweep, EveryCommandAtTheEdgesUndoesExactly)
{
    // TABs only where trimming is off (see above).
    const char* const documents[] = {"", "\r\n", "x\r\n", "  a(b)\r\n  c\r\n\r\n", "\ta(b)\r\n\tc\r\n", "last line"};
    const TBufferCoord carets[] = {{1, 1}, {3, 1}, {9, 2}, {1, 3}, {2, 9}};
    for (const char* doc : documents) {
        TOstEditorOptions options = TCustomOstEdit::DefaultOptions();
        options.set(eoTrimTrailingSpaces, std::string_view(doc).find('\t') == std::string_view::npos);
        for (TOstEditorCommand command : NamedEditorCommands()) {
            for (const TBufferCoord caret : carets) {
                for (int selecting = 0; selecting < 2; ++selecting) {
                    MemoryClipboard clipboard;
                    clipboard.put("p\r\nq", smNormal);
                    TOstEdit ed;
                    ed.SetClipboard(&clipboard);
                    ed.SetOptions(options);
                    ed.Lines().LoadFromBytes(doc);
                    ed.SetCaretXY(caret);
                    if (selecting)
                        ed.MoveCaretAndSelection(caret, {1, 1}, true);
                    const std::string before = ed.Lines().Text();
                    const TBufferCoord target{2, 1};
                    ed.CommandProcessor(command, 'z', command == ecImeStr ? static_cast<const void*>("ab")
                                                                          : static_cast<const void*>(&target));
                    const std::string what = EditorCommandToCodeString(command) + " on '" + doc + "'";
                    if (!ed.UndoList().CanUndo() && command != ecClearAll) {
                        EXPECT_EQ(ed.Lines().Text(), before) << what;
                    }
                    while (ed.CanUndo())
                        ed.Undo();
                    // An empty buffer may keep the first line an edit gave it.
                    if (*doc != '\0' && command != ecClearAll) {
                        EXPECT_EQ(ed.Lines().Text(), before) << what;
                    }
                }
            }
        }
    }
}

// The command-line tool runs the same script: a few sessions through it,
// ending with Ctrl+Z pressed until nothing is left, give back the input.
TEST(RandomCommands, CommandLineSessionsUndoToTheInput)
{
    for (unsigned seed = 1000; seed < 1004; ++seed) {
        const RandomScript s(seed, seed % 2 == 0);
        test::TempDir dir;
        test::writeFile(dir / "in.txt", s.document());
        std::string script;
        for (size_t i = 0; i < 60; ++i)
            script += s.lines()[i] + "\n";
        const test::RunResult edited = test::runCli({"keys", "--options", s.optionList(), "--tab-width",
                                                     std::to_string(s.tabWidth()), "--window", "20x5",
                                                     (dir / "in.txt").string(), (dir / "mid.txt").string()},
                                                    script);
        ASSERT_EQ(edited.status, 0) << edited.err;
        // Group undo may take several steps each; 600 presses are plenty.
        std::string undoAll;
        for (int i = 0; i < 600; ++i)
            undoAll += "cmd ecUndo\n";
        const test::RunResult undone =
            test::runCli({"keys", "--options", s.optionList(), "--tab-width", std::to_string(s.tabWidth()),
                          "--window", "20x5", (dir / "in.txt").string(), (dir / "out.txt").string()},
                         script + undoAll);
        ASSERT_EQ(undone.status, 0) << undone.err;
        EXPECT_EQ(test::readFile(dir / "out.txt"), s.document()) << "seed " << seed;
        EXPECT_NE(undone.out.find(" undo 0 "), std::string::npos) << undone.out;
    }
}
