// Long random sessions of keys, typed text and commands, run through the
// script the command-line tool runs: undoing everything must give back the
// original bytes and redoing everything the final bytes, exactly.

#include <gtest/gtest.h>

#include "editor/OstEditCmdScript.h"
#include "support/RandomKeyScript.h"

using namespace ostrel;

namespace {

void CheckUndoRedo(unsigned seed, bool trimming)
{
    const test::RandomKeyScript s(seed, trimming);
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
