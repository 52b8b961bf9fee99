#pragma once
// Polish text between its two single-byte code pages, Windows-1250 (the
// editor's own) and ISO-8859-2, and down to ASCII letters without
// diacritics; and the document's text as one string, the form these
// commands and the exports work on.
//
// The code pages differ in six letters (ą Ą ś Ś ź Ź); ć ę ł ń ó ż and
// their capitals have the same byte in both.

#include <span>
#include <string>
#include <string_view>

namespace ostrel {

class TCustomOstEdit;
class TOstEditStringList;

enum class TOstPolishRecoding {
    ToIso,            // Windows-1250 to ISO-8859-2
    ToWindows,        // ISO-8859-2 to Windows-1250
    StripDiacritics,  // to Windows-1250 first, then Polish letters to ASCII
};

// One step of a table: every From byte becomes the To byte.
struct TOstRecodeStep {
    unsigned char From;
    unsigned char To;
};

// The table of a recoding, in the order its steps apply. StripDiacritics
// lists only its own 18 steps; the recoding to Windows-1250 runs before them.
std::span<const TOstRecodeStep> RecodeSteps(TOstPolishRecoding recoding);

// Recodes the bytes in place.
void RecodeText(std::string& text, TOstPolishRecoding recoding);

// The lines joined with CR LF, without a break after the last line; empty
// for an empty buffer.
std::string JoinedText(const TOstEditStringList& lines);

// Replaces all lines with the text split at CR LF, a lone CR and a lone LF.
// The piece after the last break becomes the last line even when it is
// empty, so JoinedText and SetJoinedText give each other back; an empty
// text leaves no lines. The buffer keeps its line-break style for saving.
void SetJoinedText(TOstEditStringList& lines, std::string_view text);

// Recodes the buffer's text and writes it back.
void RecodeLines(TOstEditStringList& lines, TOstPolishRecoding recoding);

// The menu command on an editor: recodes its text through the buffer's
// write-back (undo and selection are gone, as after loading), keeps the
// caret where it was, marks the editor modified, and lets its highlighter
// scan every line anew, also when the recoding fails. Does nothing on a
// read-only editor (false). Freezing the window's repainting around it is
// the window's part.
bool RecodeEditor(TCustomOstEdit& editor, TOstPolishRecoding recoding);

}  // namespace ostrel
