#include "editor/OstPolishRecode.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

#include "editor/OstEdit.h"
#include "editor/OstEditTextBuffer.h"
#include "platform/CodePage.h"

namespace ostrel {

namespace {

constexpr TOstRecodeStep kToIso[] = {
    {0xB9, 0xB1},  // ą
    {0xA5, 0xA1},  // Ą
    {0x9C, 0xB6},  // ś
    {0x8C, 0xA6},  // Ś
    {0x9F, 0xBC},  // ź
    {0x8F, 0xAC},  // Ź
};

constexpr TOstRecodeStep kToWindows[] = {
    {0xB1, 0xB9}, {0xA1, 0xA5}, {0xB6, 0x9C}, {0xA6, 0x8C}, {0xBC, 0x9F}, {0xAC, 0x8F},
};

constexpr TOstRecodeStep kStrip[] = {
    {0xCA, 'E'}, {0xEA, 'e'}, {0xD3, 'O'}, {0xF3, 'o'}, {0xB9, 'a'}, {0xA5, 'A'},
    {0x9C, 's'}, {0x8C, 'S'}, {0xA3, 'L'}, {0xB3, 'l'}, {0x9F, 'z'}, {0x8F, 'Z'},
    {0xBF, 'z'}, {0xAF, 'Z'}, {0xC6, 'C'}, {0xE6, 'c'}, {0xD1, 'N'}, {0xF1, 'n'},
};

using TByteMap = std::array<unsigned char, 256>;

// Applying the steps one after another to every byte value gives one map,
// so the text is read once whatever the number of steps.
void ApplySteps(TByteMap& map, std::span<const TOstRecodeStep> steps)
{
    for (const TOstRecodeStep& step : steps)
        for (unsigned char& b : map)
            if (b == step.From)
                b = step.To;
}

TByteMap BuildMap(TOstPolishRecoding recoding)
{
    TByteMap map;
    for (int b = 0; b < 256; ++b)
        map[b] = static_cast<unsigned char>(b);
    if (recoding == TOstPolishRecoding::StripDiacritics)
        ApplySteps(map, kToWindows);
    ApplySteps(map, RecodeSteps(recoding));
    return map;
}

const TByteMap& MapOf(TOstPolishRecoding recoding)
{
    static const std::array<TByteMap, 3> maps = {BuildMap(TOstPolishRecoding::ToIso),
                                                 BuildMap(TOstPolishRecoding::ToWindows),
                                                 BuildMap(TOstPolishRecoding::StripDiacritics)};
    return maps[static_cast<size_t>(recoding)];
}

// Gives the editor its highlighter back at the end, whatever happens, so
// that it scans every line anew.
class THighlighterDetached {
public:
    explicit THighlighterDetached(TCustomOstEdit& editor) : editor_(editor), highlighter_(editor.Highlighter())
    {
        editor_.SetHighlighter(nullptr);
    }
    ~THighlighterDetached() { editor_.SetHighlighter(highlighter_); }
    THighlighterDetached(const THighlighterDetached&) = delete;
    THighlighterDetached& operator=(const THighlighterDetached&) = delete;

private:
    TCustomOstEdit& editor_;
    TOstCustomHighlighter* highlighter_;
};

}  // namespace

std::span<const TOstRecodeStep> RecodeSteps(TOstPolishRecoding recoding)
{
    switch (recoding) {
    case TOstPolishRecoding::ToIso:
        return kToIso;
    case TOstPolishRecoding::ToWindows:
        return kToWindows;
    case TOstPolishRecoding::StripDiacritics:
        return kStrip;
    }
    return {};
}

void RecodeText(std::string& text, TOstPolishRecoding recoding)
{
    const TByteMap& map = MapOf(recoding);
    for (char& c : text)
        c = static_cast<char>(map[static_cast<unsigned char>(c)]);
}

std::string JoinedText(const TOstEditStringList& lines)
{
    const int count = lines.Count();
    size_t total = 0;
    for (int i = 0; i < count; ++i)
        total += lines.Get(i).size() + 2;
    std::string text;
    text.reserve(total);
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines.Get(i);
    }
    return text;
}

// Loading without a trailing line break is exactly this split: a final
// break leaves an empty last line.
void SetJoinedText(TOstEditStringList& lines, std::string_view text)
{
    const TOstEditFileFormat style = lines.LineBreakStyle();
    const bool trailing = lines.TrailingLineBreak();
    lines.SetTrailingLineBreak(false);
    try {
        lines.LoadFromBytes(text, TOstEncodingChoice{lines.Encoding(), lines.Encoding()});
    } catch (...) {
        lines.SetTrailingLineBreak(trailing);
        throw;
    }
    lines.SetTrailingLineBreak(trailing);
    lines.SetLineBreakStyle(style);
}

void StripDiacriticsUtf8(std::string& text)
{
    // The Polish letters of Windows-1250 as UTF-8 sequences, each followed by
    // the letter it becomes.
    static const std::array<std::pair<std::string, char>, std::size(kStrip)> letters = [] {
        std::array<std::pair<std::string, char>, std::size(kStrip)> table;
        for (size_t i = 0; i < std::size(kStrip); ++i)
            table[i] = {codepage::ToUtf8(std::string(1, static_cast<char>(kStrip[i].From))),
                        static_cast<char>(kStrip[i].To)};
        return table;
    }();
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto found = std::find_if(letters.begin(), letters.end(), [&](const auto& letter) {
            return static_cast<unsigned char>(text[i]) >= 0x80 && text.compare(i, letter.first.size(), letter.first) == 0;
        });
        if (found == letters.end()) {
            out += text[i++];
        } else {
            out += found->second;
            i += found->first.size();
        }
    }
    text = std::move(out);
}

bool CanRecode(TOstEncoding encoding, TOstPolishRecoding recoding)
{
    return recoding == TOstPolishRecoding::StripDiacritics || !HoldsUtf8(encoding);
}

TOstEncoding EncodingAfterRecoding(TOstEncoding encoding, TOstPolishRecoding recoding)
{
    switch (recoding) {
    case TOstPolishRecoding::ToIso: return TOstEncoding::Iso88592;
    case TOstPolishRecoding::ToWindows: return TOstEncoding::Windows1250;
    case TOstPolishRecoding::StripDiacritics: break;
    }
    return HoldsUtf8(encoding) ? encoding : TOstEncoding::Windows1250;
}

void RecodeLines(TOstEditStringList& lines, TOstPolishRecoding recoding)
{
    if (!CanRecode(lines.Encoding(), recoding))
        return;
    std::string text = JoinedText(lines);
    if (HoldsUtf8(lines.Encoding()))
        StripDiacriticsUtf8(text);
    else
        RecodeText(text, recoding);
    lines.SetEncoding(EncodingAfterRecoding(lines.Encoding(), recoding));
    SetJoinedText(lines, text);
}

bool RecodeEditor(TCustomOstEdit& editor, TOstPolishRecoding recoding)
{
    if (editor.ReadOnly() || !CanRecode(editor.Lines().Encoding(), recoding))
        return false;
    THighlighterDetached detached(editor);
    std::string text = editor.Text();
    if (HoldsUtf8(editor.Lines().Encoding()))
        StripDiacriticsUtf8(text);
    else
        RecodeText(text, recoding);
    editor.ReplaceWholeText(text, EncodingAfterRecoding(editor.Lines().Encoding(), recoding));
    editor.SetCaretXY(editor.CaretXY());
    editor.SetModified(true);
    return true;
}

}  // namespace ostrel
