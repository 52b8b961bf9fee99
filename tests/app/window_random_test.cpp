// Seeded random sessions in the main window: keys and typed text, pastes in
// every selection mode, the window's line, case and recoding commands, block
// indentation, replace and replace all, on documents with lines of up to
// 10,000 characters, with trimming on and off. Undoing everything must give
// back the original bytes, redoing everything the final ones.

#include <random>

#include "AppTestSupport.h"

namespace ostrel::test {
namespace {

class WindowRandomTest : public MainWindowTest {
protected:
    TOstEdit& Editor() const { return Current().Editor(); }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    std::string Word()
    {
        static const char* const kWords[] = {"ala", "kot", "\xbf\xf3\xb3w", "\xb9\x9c", "Zg\xb3oska", "x.y",
                                             "ab",  "AB",  "\x9f\xea",        "(1)",   "needle",         "__"};
        return kWords[Pick(static_cast<int>(std::size(kWords)))];
    }
    std::string Blanks()
    {
        std::string s;
        for (int n = Pick(3); n > 0; --n)
            s += Pick(3) ? ' ' : '\t';
        return s;
    }
    // Mostly short lines; now and then a minified one of thousands.
    std::string Line()
    {
        const size_t target = Pick(8) == 0 ? 2000 + static_cast<size_t>(Pick(8001)) : static_cast<size_t>(Pick(60));
        std::string line;
        while (line.size() < target)
            line += Word() + (Pick(4) ? " " : Blanks());
        line.resize(std::min(line.size(), size_t{10000}));
        if (Pick(4) == 0)
            line += Blanks();
        return line;
    }
    std::string Document()
    {
        std::string doc;
        for (int n = 1 + Pick(12); n > 0; --n)
            doc += (Pick(10) ? Line() : std::string()) + "\r\n";
        return doc;
    }
    TBufferCoord RandomPlace()
    {
        const int line = 1 + Pick(std::max(Editor().Lines().Count(), 1) + 1);
        const int length = line <= Editor().Lines().Count() ? static_cast<int>(Editor().Lines().Get(line - 1).size()) : 0;
        return {1 + Pick(length + 12), line};
    }
    void Select()
    {
        TOstEdit& editor = Editor();
        const TBufferCoord a = RandomPlace();
        const TBufferCoord b = Pick(2) ? RandomPlace() : TBufferCoord{a.Char + Pick(30), a.Line};
        editor.SetCaretXY(b);
        editor.SetBlockBegin(a);
        editor.SetBlockEnd(b);
    }
    void Command(TOstEditorCommand command, char c = 0) { Editor().CommandProcessor(command, c); }

    // One random step; the log says what it was.
    void Step(std::string& log)
    {
        TOstEdit& editor = Editor();
        static const TOstSelectionMode kModes[] = {smNormal, smLine, smColumn};
        switch (Pick(22)) {
        case 0: editor.SetCaretXY(RandomPlace()); log += "caret "; break;
        case 1: Select(); log += "select "; break;
        case 2: editor.SetSelectionMode(kModes[Pick(3)]); log += "mode "; break;
        case 3:
            for (const char c : Word() + (Pick(2) ? " " : ""))
                Command(ecChar, c);
            log += "type ";
            break;
        case 4: Command(ecLineBreak); log += "enter "; break;
        case 5: Command(ecDeleteChar); log += "delete "; break;
        case 6: Command(ecDeleteLastChar); log += "backspace "; break;
        case 7: Command(Pick(2) ? ecDeleteLine : ecDeleteWord); log += "ctrl+y/t "; break;
        case 8:
            Select();
            Click("miKopiuj1");
            editor.SetSelectionMode(kModes[Pick(3)]);
            editor.SetCaretXY(RandomPlace());
            Click("miWklej2");
            log += "copy+paste ";
            break;
        case 9: Select(); Click("miWytnij1"); log += "cut "; break;
        case 10: Click("miDuplikujWiersz1"); log += "duplicate "; break;
        case 11: Click("miUsunWiersz1"); log += "deleteline "; break;
        case 12:
            Select();
            Click(Pick(2) ? "miDuzeZnaki1" : Pick(2) ? "miMaleZnaki1" : "miPierwszeDuze1");
            log += "case ";
            break;
        case 13: Select(); Command(Pick(2) ? ecUpperCaseBlock : ecToggleCase); log += "caseblock "; break;
        case 14:
            Click(Pick(3) == 0 ? "miPrzekodujNaBezPolskich1" : Pick(2) ? "miPrzekodujNaISO1" : "miPrzekodujNaWindows1");
            log += "recode ";
            break;
        case 15: Select(); Command(Pick(2) ? ecBlockIndent : ecBlockUnindent); log += "indent "; break;
        case 16: Command(ecTab); log += "tab "; break;
        case 17:
            editor.SearchReplace(Word(), Pick(2) ? Word() : std::string(), ssoReplace | ssoEntireScope);
            log += "replace ";
            break;
        case 18:
            editor.SearchReplace(Word(), Pick(3) ? Word() : std::string(" \t"), ssoReplaceAll | ssoEntireScope);
            log += "replaceall ";
            break;
        case 19: Click("miCofnij1"); log += "undo "; break;
        case 20: Click("miPowtorz1"); log += "redo "; break;
        default: Command(ecPaste); log += "paste ";
        }
    }

    void Session(unsigned seed, bool trimming)
    {
        rng_.seed(seed);
        TOstEdit& editor = Editor();
        editor.SetOption(eoTrimTrailingSpaces, trimming);
        editor.SetMaxUndo(1 << 20);
        editor.Lines().LoadFromBytes(Document());
        editor.Lines().SetEncoding(TOstEncoding::Windows1250);
        const std::string original = editor.Lines().Text();
        std::string log;
        for (int i = 0; i < 60; ++i)
            Step(log);
        while (editor.CanRedo())
            Click("miPowtorz1");
        const std::string final = editor.Lines().Text();
        const TOstEncoding finalEncoding = editor.Lines().Encoding();
        while (editor.CanUndo())
            Click("miCofnij1");
        ASSERT_EQ(editor.Lines().Text(), original) << "seed " << seed << " trimming " << trimming << "\n" << log;
        EXPECT_EQ(editor.Lines().Encoding(), TOstEncoding::Windows1250);
        while (editor.CanRedo())
            Click("miPowtorz1");
        ASSERT_EQ(editor.Lines().Text(), final) << "seed " << seed << " trimming " << trimming << "\n" << log;
        EXPECT_EQ(editor.Lines().Encoding(), finalEncoding);
    }

    std::mt19937 rng_;
};

TEST_F(WindowRandomTest, UndoAllGivesTheOriginalAndRedoAllTheFinalBytes)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        Session(seed, seed % 2 == 0);
        if (HasFatalFailure())
            return;
    }
}

}  // namespace
}  // namespace ostrel::test
