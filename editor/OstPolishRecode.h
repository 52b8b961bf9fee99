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

#include "platform/TextEncoding.h"

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

// The code-page recodings read the bytes as their source page, whatever the
// document's encoding says, and leave the document in their target page;
// they do not apply to documents that hold UTF-8. Stripping diacritics works
// on the characters of every encoding.
bool CanRecode(TOstEncoding encoding, TOstPolishRecoding recoding);
TOstEncoding EncodingAfterRecoding(TOstEncoding encoding, TOstPolishRecoding recoding);
// The Polish letters of UTF-8 text down to ASCII.
void StripDiacriticsUtf8(std::string& text);

// Recodes the buffer's text and writes it back, in the encoding the
// recoding leaves; nothing where the recoding does not apply.
void RecodeLines(TOstEditStringList& lines, TOstPolishRecoding recoding);

// The menu command on an editor: recodes its text as one undoable step,
// keeps the caret where it was, marks the editor modified, and lets its
// highlighter scan every line anew, also when the recoding fails. Does
// nothing on a read-only editor or where the recoding does not apply
// (false). Freezing the window's repainting around it is the window's part.
bool RecodeEditor(TCustomOstEdit& editor, TOstPolishRecoding recoding);

}  // namespace ostrel
