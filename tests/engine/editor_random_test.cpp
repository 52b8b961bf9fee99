// Long random editing sessions: undoing everything must give back the
// original bytes, and redoing everything the final bytes, exactly.

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "editor/OstEdit.h"

using namespace ostrel;

namespace {

class RandomSession {
public:
    RandomSession(unsigned seed, bool trimming) : rng_(seed), trimming_(trimming)
    {
        ed_.SetClipboard(&clipboard_);
        TOstEditorOptions options = TCustomOstEdit::DefaultOptions();
        options.set(eoTrimTrailingSpaces, trimming);
        options.set(eoGroupUndo, pick(2) == 0);
        ed_.SetOptions(options);
        ed_.SetMaxUndo(1 << 20);
        ed_.SetTabWidth(1 + pick(8));
        ed_.Lines().LoadFromBytes(randomDocument(), TOstEncodingChoice{TOstEncoding::Windows1250});
    }

    std::string bytes() const { return ed_.Lines().Text(); }
    TOstEdit& editor() { return ed_; }
    const std::string& log() const { return log_; }

    void step()
    {
        switch (pick(10)) {
        case 0: moveCaret(); break;
        case 1: case 2: selectRange(); break;
        case 3: case 4: insertText(); break;
        case 5: note("clear"); ed_.ClearSelection(); break;
        case 6: note("copy+paste"); ed_.CopyToClipboard(); ed_.PasteFromClipboard(); break;
        case 7: pasteForeign(); break;
        case 8: note("cut"); ed_.CutToClipboard(); break;
        case 9: note("enter"); ed_.InsertLineBreak(pick(3) != 0); break;
        }
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    TBufferCoord randomPoint()
    {
        const int line = 1 + pick(std::max(ed_.Lines().Count(), 1) + 1);
        const int len = static_cast<int>(ed_.Lines().Get(line - 1).size());
        return {1 + pick(len + 4), line};
    }

    std::string randomText(int maxLen)
    {
        static const char* pieces[] = {"a", "b", "xy", " ", "  ", "\r\n", "\r", "\n", "\xB1\xEA", "{", "_", "\t"};
        // Trimming takes blanks off line ends, and undo can only give them
        // back as spaces: with trimming on, documents hold no tabs.
        const int kinds = static_cast<int>(std::size(pieces)) - (trimming_ ? 1 : 0);
        std::string s;
        const int n = pick(maxLen + 1);
        for (int i = 0; i < n; ++i)
            s += pieces[pick(kinds)];
        return s;
    }

    std::string randomDocument()
    {
        std::string doc;
        const int lines = 1 + pick(12);
        for (int i = 0; i < lines; ++i) {
            std::string line;
            const int words = pick(5);
            for (int w = 0; w < words; ++w)
                line += std::string(static_cast<size_t>(pick(3)), pick(2) || trimming_ ? ' ' : '\t') + "word" +
                        std::to_string(pick(100));
            if (!trimming_ && pick(3) == 0)
                line += "  ";
            doc += line + "\r\n";
        }
        return doc;
    }

    void note(const std::string& what)
    {
        std::ostringstream s;
        s << what << " @" << ed_.CaretX() << ',' << ed_.CaretY() << " sel " << ed_.RawBlockBegin().Char << ','
          << ed_.RawBlockBegin().Line << '-' << ed_.RawBlockEnd().Char << ',' << ed_.RawBlockEnd().Line
          << " mode " << int(ed_.ActiveSelectionMode()) << '\n';
        log_ += s.str();
    }

    void moveCaret()
    {
        const TBufferCoord p = randomPoint();
        note("caret " + std::to_string(p.Char) + "," + std::to_string(p.Line));
        if (pick(2))
            ed_.SetCaretXY(p);
        else
            ed_.MoveCaretAndSelection(ed_.CaretXY(), p, pick(2) == 0);
    }

    void selectRange()
    {
        ed_.SetSelectionMode(static_cast<TOstSelectionMode>(pick(3)));
        const TBufferCoord a = randomPoint();
        const TBufferCoord b = randomPoint();
        note("select");
        ed_.SetCaretXY(a);
        ed_.MoveCaretAndSelection(a, b, true);
    }

    void insertText()
    {
        const std::string text = randomText(6);
        note("insert '" + text + "'");
        ed_.SetSelText(text);
    }

    void pasteForeign()
    {
        const std::string text = randomText(5);
        const int mode = pick(4);
        if (mode == 3)
            clipboard_.putPlain(ToUtf8(text, ed_.Encoding()));
        else
            clipboard_.put(text, static_cast<uint8_t>(mode));
        note("paste mode " + std::to_string(mode) + " '" + text + "'");
        ed_.PasteFromClipboard();
    }

    std::mt19937 rng_;
    bool trimming_;
    MemoryClipboard clipboard_;
    TOstEdit ed_;
    std::string log_;
};

void RunSessions(bool trimming)
{
    for (unsigned seed = 1; seed <= 200; ++seed) {
        RandomSession session(seed, trimming);
        const std::string original = session.bytes();
        for (int i = 0; i < 200; ++i)
            session.step();
        const std::string final = session.bytes();
        while (session.editor().CanUndo())
            session.editor().Undo();
        ASSERT_EQ(session.bytes(), original) << "seed " << seed << "\n" << session.log();
        while (session.editor().CanRedo())
            session.editor().Redo();
        ASSERT_EQ(session.bytes(), final) << "seed " << seed << "\n" << session.log();
    }
}

}  // namespace

TEST(RandomEditing, UndoAndRedoEverythingWithoutTrimming)
{
    RunSessions(false);
}

TEST(RandomEditing, UndoAndRedoEverythingWithTrimming)
{
    RunSessions(true);
}
