// Key bindings, key translation with two-key sequences, the handler chains
// and the command processor's events and hooks.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "editor/OstEdit.h"

using namespace ostrel;

namespace {

struct Fixture {
    TOstEdit ed;
    explicit Fixture(std::string_view bytes = "alpha beta\r\ngamma\r\n") { ed.Lines().LoadFromBytes(bytes); }
    std::string bytes() const { return ed.Lines().Text(); }
    // A key as the keyboard gives it: down, then its character if it has one.
    void press(uint16_t key, TOstShiftState shift = 0, char produced = 0)
    {
        ed.KeyDown(key, shift);
        if (produced != 0)
            ed.KeyPress(produced);
    }
};

constexpr TOstEditorCommand kUserCommand = 1005;

}  // namespace

// ---- the tables ---------------------------------------------------------------------------

TEST(DefaultKeyTable, SingleKeysWithTheirShortcutCodes)
{
    const TOstEditKeyStrokes keys = TOstEditKeyStrokes::Defaults();
    ASSERT_EQ(keys.Count(), 82);
    EXPECT_EQ(keys.Items(0).Command, ecUp);
    EXPECT_EQ(keys.Items(81).Command, ecMatchBracket);
    std::set<std::pair<TShortCut, TShortCut>> seen;
    for (const TOstEditKeyStroke& k : keys.All()) {
        EXPECT_EQ(k.Key2, 0);
        EXPECT_TRUE(seen.insert({k.ShortCut(), k.ShortCut2()}).second) << k.DisplayName();
    }
    auto shortcutOf = [&](TOstEditorCommand c) { return keys.Items(keys.FindCommand(c)).ShortCut(); };
    EXPECT_EQ(shortcutOf(ecSelWordLeft), 24613);
    EXPECT_EQ(shortcutOf(ecRedo), 40968);
    EXPECT_EQ(shortcutOf(ecUndo), 32776);
    EXPECT_EQ(shortcutOf(ecSelPageBottom), 24610);
    EXPECT_EQ(shortcutOf(ecSetMarker9), 24633);
    EXPECT_EQ(shortcutOf(ecContextHelp), 112);
    EXPECT_EQ(keys.Items(keys.FindKeycode(VK_RETURN, ssShift)).Command, ecLineBreak);
}

TEST(ShortcutText, NamesAndParsingAgree)
{
    const TOstEditKeyStrokes keys = TOstEditKeyStrokes::Defaults();
    for (const TOstEditKeyStroke& k : keys.All())
        EXPECT_EQ(TextToShortCut(ShortCutToText(k.ShortCut())), k.ShortCut()) << ShortCutToText(k.ShortCut());
    EXPECT_EQ(ShortCutToText(24613), "Shift+Ctrl+Left");
    EXPECT_EQ(ShortCutToText(40968), "Shift+Alt+Backspace");
    EXPECT_EQ(TextToShortCut("ctrl+shift+page down"), ShortCut(VK_NEXT, ssShift | ssCtrl));
    EXPECT_EQ(TextToShortCut("F12"), VK_F12);
    EXPECT_EQ(TextToShortCut("Ctrl+F13"), 0);
    EXPECT_EQ(TextToShortCut("Hyper+A"), 0);
    EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
    TOstEditKeyStroke k{ecSelWordLeft, VK_LEFT, ssShift | ssCtrl};
    EXPECT_EQ(k.DisplayName(), "Shift+Ctrl+Left - ecSelWordLeft");
}

TEST(CommandNames, NinetyNineNamesAndNumbersForTheRest)
{
    const std::vector<TOstEditorCommand> named = NamedEditorCommands();
    EXPECT_EQ(named.size(), 99u);
    for (TOstEditorCommand c : named) {
        const std::string text = EditorCommandToCodeString(c);
        EXPECT_EQ(text.substr(0, 2), "ec");
        TOstEditorCommand back = ecNone;
        ASSERT_TRUE(CodeStringToEditorCommand(text, back));
        EXPECT_EQ(back, c);
    }
    EXPECT_EQ(EditorCommandToCodeString(ecSetMarker4), "ecSetMarker4");
    EXPECT_EQ(EditorCommandToCodeString(kUserCommand), "1005");
    TOstEditorCommand c = ecNone;
    EXPECT_TRUE(CodeStringToEditorCommand("1005", c));
    EXPECT_EQ(c, kUserCommand);
    EXPECT_FALSE(CodeStringToEditorCommand("ecNoSuchThing", c));
    EXPECT_FALSE(CodeStringToEditorCommand("70000", c));
}

TEST(KeyStrokes, DuplicateShortcutsAreRefused)
{
    TOstEditKeyStrokes keys = TOstEditKeyStrokes::Defaults();
    const int right = keys.FindCommand(ecRight);
    try {
        keys.SetShortCut(right, ShortCut(VK_LEFT, 0));
        FAIL() << "no exception";
    } catch (const EOstKeyError& e) {
        EXPECT_STREQ(e.what(), "Shortcut already exists");
    }
    EXPECT_EQ(keys.Items(right).Key, VK_RIGHT);
    keys.SetShortCut(right, ShortCut(VK_RIGHT, 0));  // its own shortcut
    // A second key makes the pair different.
    keys.SetShortCut2(right, ShortCut('K', ssCtrl));
    keys.SetShortCut(right, ShortCut(VK_LEFT, 0));
    EXPECT_THROW(keys.AddShortCut(ecRedo, ShortCut('Z', ssCtrl)), EOstKeyError);
    EXPECT_EQ(keys.Count(), 82);
    keys.SetShortCut(right, 0);
    keys.SetShortCut2(right, 0);
    keys.AddShortCut(ecRedo, 0);  // bindings without a key may repeat
}

TEST(StoredKeystrokes, TemplateTableMovesContextHelp)
{
    const TOstEditKeyStrokes keys = TemplateKeystrokes();
    EXPECT_EQ(keys.RemovedKeystrokes(), (std::vector<TOstStoredKeystroke>{{"ecContextHelp", 112, 0}}));
    EXPECT_EQ(keys.AddedKeystrokes(), (std::vector<TOstStoredKeystroke>{{"ecContextHelp", 16496, 0}}));
    EXPECT_EQ(keys.FindKeycode(VK_F1, 0), -1);
}

TEST(StoredKeystrokes, LoadingTheDifferencesRebuildsTheTable)
{
    TOstEditKeyStrokes changed = TOstEditKeyStrokes::Defaults();
    changed.Delete(changed.FindCommand(ecDeleteLine));
    changed.Delete(changed.FindCommand(ecCut));
    changed.Add(kUserCommand, 'K', ssCtrl, 'B', ssCtrl);
    changed.Add(ecDeleteLine, 'D', ssCtrl);
    const auto removed = changed.RemovedKeystrokes();
    const auto added = changed.AddedKeystrokes();
    ASSERT_EQ(removed.size(), 2u);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0], (TOstStoredKeystroke{"1005", ShortCut('K', ssCtrl), ShortCut('B', ssCtrl)}));

    TOstEditKeyStrokes loaded = TOstEditKeyStrokes::Defaults();
    loaded.LoadChanges(removed, added);
    EXPECT_EQ(loaded, changed);

    // A removed item deletes only the binding of its own command.
    TOstEditKeyStrokes other = TOstEditKeyStrokes::Defaults();
    other.LoadChanges({{"ecRedo", ShortCut('Z', ssCtrl), 0}}, {});
    EXPECT_EQ(other.Count(), 82);
    EXPECT_THROW(other.LoadChanges({}, {{"ecNoSuchThing", 1, 0}}), EOstKeyError);
}

// ---- key translation ------------------------------------------------------------------------

TEST(KeyTranslation, BoundKeysRunTheirCommandAndSwallowTheirCharacter)
{
    Fixture f;
    uint16_t key = VK_RIGHT;
    f.ed.KeyDown(key, 0);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(f.ed.CaretX(), 2);
    f.press(VK_RETURN, 0, '\r');
    EXPECT_EQ(f.bytes(), "a\r\nlpha beta\r\ngamma\r\n");
    f.press(VK_BACK, ssCtrl, '\x7F');
    EXPECT_EQ(f.bytes(), "alpha beta\r\ngamma\r\n");
    f.press(VK_BACK, 0, '\b');
    EXPECT_EQ(f.bytes(), "lpha beta\r\ngamma\r\n");
}

TEST(KeyTranslation, UnboundLetterTypesAndAnIncompleteSequenceActsAsTwoKeys)
{
    Fixture f;
    f.ed.SetCaretXY({1, 2});
    f.press('A', 0, 'a');
    f.press(VK_LEFT);
    f.press('A', ssShift, 'A');
    EXPECT_EQ(f.bytes(), "alpha beta\r\nAagamma\r\n");
}

TEST(KeyTranslation, TwoKeySequencesRunTheirCommand)
{
    Fixture f;
    std::vector<TOstEditorCommand> userCommands;
    f.ed.OnProcessUserCommand = [&](TOstEditorCommand& c, char&, const void*) { userCommands.push_back(c); };
    f.ed.Keystrokes().Add(kUserCommand, 'K', ssCtrl, 'B', ssCtrl);
    f.press('K', ssCtrl, '\x0B');
    f.press('B', ssCtrl, '\x02');
    EXPECT_EQ(userCommands, std::vector<TOstEditorCommand>{kUserCommand});
    // A modifier key in between breaks the sequence; so does a bound key.
    f.press('K', ssCtrl);
    f.press(VK_SHIFT, ssShift);
    f.press('B', ssCtrl);
    f.press('K', ssCtrl);
    f.press(VK_RIGHT);
    f.press('B', ssCtrl);
    EXPECT_EQ(userCommands.size(), 1u);
    EXPECT_EQ(f.bytes(), "alpha beta\r\ngamma\r\n");
}

TEST(KeyTranslation, TemplateTableLeavesF1ToTheMainWindow)
{
    Fixture f;
    f.ed.SetKeystrokes(TemplateKeystrokes());
    std::vector<std::string> words;
    f.ed.OnContextHelp = [&](const std::string& word) { words.push_back(word); };
    f.ed.SetCaretXY({8, 1});
    uint16_t key = VK_F1;
    f.ed.KeyDown(key, 0);
    EXPECT_EQ(key, VK_F1);
    f.press(VK_F1, ssCtrl);
    EXPECT_EQ(words, std::vector<std::string>{"beta"});
}

TEST(KbdHandler, ChainRunsInOrderUntilAHandlerTakesTheKey)
{
    Fixture f;
    std::string calls;
    int first = 0;
    int second = 0;
    f.ed.KbdHandler().AddKeyDownHandler(&first, [&](TCustomOstEdit&, uint16_t& key, uint8_t) {
        calls += "1";
        if (key == VK_DOWN)
            key = 0;
    });
    f.ed.KbdHandler().AddKeyDownHandler(&second, [&](TCustomOstEdit&, uint16_t&, uint8_t) { calls += "2"; });
    f.press(VK_RIGHT);
    f.press(VK_DOWN);
    EXPECT_EQ(calls, "121");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{2, 1}));
    f.ed.KbdHandler().RemoveKeyDownHandler(&first);
    f.press(VK_DOWN);
    EXPECT_EQ(calls, "1212");
    EXPECT_EQ(f.ed.CaretY(), 2);

    f.ed.KbdHandler().AddKeyPressHandler(&first, [](TCustomOstEdit&, char& c) { c = 'Z'; });
    f.press('Q', ssShift, 'Q');
    EXPECT_EQ(f.ed.LineText(), "gZamma");
}

// ---- the command processor ------------------------------------------------------------------

TEST(CommandProcessor, EventsAndHooksRunInOrderAndMayStopTheCommand)
{
    Fixture f;
    std::vector<std::string> log;
    f.ed.OnProcessCommand = [&](TOstEditorCommand& c, char&, const void*) {
        log.push_back("event " + EditorCommandToCodeString(c));
        if (c == ecLeft)
            c = ecRight;
        if (c == ecDown)
            c = ecNone;
    };
    int hook = 0;
    f.ed.RegisterCommandHandler(&hook, [&](bool after, bool& handled, TOstEditorCommand& c, char&, const void*) {
        log.push_back(std::string(after ? "after " : "before ") + std::to_string(f.ed.CaretX()));
        if (c == ecLineEnd && !after)
            handled = true;
    });
    f.ed.OnCommandProcessed = [&](TOstEditorCommand& c, char&, const void*) {
        log.push_back("done " + EditorCommandToCodeString(c));
    };
    f.ed.CommandProcessor(ecLeft, '\0');
    EXPECT_EQ(log, (std::vector<std::string>{"event ecLeft", "before 1", "after 2", "done ecRight"}));
    log.clear();
    f.ed.CommandProcessor(ecDown, '\0');
    EXPECT_EQ(log, (std::vector<std::string>{"event ecDown", "done ecNone"}));
    log.clear();
    f.ed.CommandProcessor(ecLineEnd, '\0');
    EXPECT_EQ(log, (std::vector<std::string>{"event ecLineEnd", "before 2", "done ecNone"}));
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{2, 1}));
    f.ed.UnregisterCommandHandler(&hook);
    log.clear();
    f.ed.CommandProcessor(ecLineEnd, '\0');
    EXPECT_EQ(f.ed.CaretX(), 11);
}

TEST(CommandProcessor, UserCommandsAndMarkersLeaveTheTextAlone)
{
    Fixture f;
    int userEvents = 0;
    f.ed.OnProcessUserCommand = [&](TOstEditorCommand&, char&, const void*) { ++userEvents; };
    f.ed.CommandProcessor(ecUserFirst, 'x');
    f.ed.CommandProcessor(ecGotoMarker0 + 5, '\0');
    f.ed.CommandProcessor(ecSetMarker0 + 5, '\0');
    f.ed.CommandProcessor(ecString, '\0');
    EXPECT_EQ(userEvents, 1);
    EXPECT_EQ(f.bytes(), "alpha beta\r\ngamma\r\n");
    EXPECT_EQ(f.ed.CaretXY(), (TBufferCoord{1, 1}));
}

TEST(CommandProcessor, ModesAndDialogCodes)
{
    Fixture f;
    f.ed.CommandProcessor(ecColumnSelect, '\0');
    EXPECT_EQ(f.ed.SelectionMode(), smColumn);
    f.ed.CommandProcessor(ecLineSelect, '\0');
    EXPECT_EQ(f.ed.SelectionMode(), smLine);
    f.ed.CommandProcessor(ecOverwriteMode, '\0');
    EXPECT_FALSE(f.ed.InsertMode());
    f.ed.CommandProcessor(ecInsertMode, '\0');
    EXPECT_TRUE(f.ed.InsertMode());
    EXPECT_EQ(f.ed.DlgCode(), 133);
    f.ed.SetWantTabs(true);
    f.ed.SetWantReturns(false);
    EXPECT_EQ(f.ed.DlgCode(), 131);
}
