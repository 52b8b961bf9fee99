#pragma once
// A script of keys, typed text and commands run on an editor control, one
// line at a time: what `ostrel-cli keys` runs and the tests drive.
//
//   key SHORTCUT            one key through the key table ("Shift+Ctrl+Left")
//   type TEXT               each character (TEXT is UTF-8) through the
//                           character command, in the document's encoding
//   cmd NAME [CHAR]         one command by its name or number
//   caret CHAR LINE         put the caret there
//   select C1 L1 C2 L2      block begin, then block end with the caret there
//   mode normal|line|column the selection mode
//   option +NAME | -NAME    switch an editor option
//   show                    the state line (see StatusLine)
// Blank lines and lines starting with '#' are ignored. In TEXT and CHAR,
// \t, \\ and \xHH are escapes.

#include <string>
#include <string_view>

#include "editor/OstEdit.h"

namespace ostrel {

class TOstEditCmdScript {
public:
    explicit TOstEditCmdScript(TCustomOstEdit& editor) : editor_(editor) {}

    // Sets an editor up as the main window's template editor is: its
    // options, key table, maximum line width, and tabs taken as text.
    static void SetUpAsTemplate(TCustomOstEdit& editor);

    // Runs one line; "show" appends its state line to output. False with a
    // message for a malformed line or an unknown key, command or option.
    bool RunLine(std::string_view line, std::string& output, std::string& error);

    // "caret C L sel C1 L1 C2 L2 mode M modified 0|1 undo N redo N".
    std::string StatusLine() const;

    // One key as a keyboard delivers it: down, then the character it makes
    // (if any), which the control drops when the key ran a command.
    void PressKey(uint16_t key, TOstShiftState shift);
    // The character a key makes on a US keyboard, or 0 for none.
    static char CharOfKey(uint16_t key, TOstShiftState shift);
    // Resolves \t, \\ and \xHH; false for a malformed escape.
    static bool Unescape(std::string_view text, std::string& out);

private:
    bool RunType(std::string_view args, std::string& error);
    bool TypeCharacter(std::string_view character, bool rawByte, std::string& error);
    bool RunCommand(std::string_view args, std::string& error);
    bool RunNumbers(std::string_view verb, std::string_view args, std::string& error);

    TCustomOstEdit& editor_;
};

}  // namespace ostrel
