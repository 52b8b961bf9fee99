#pragma once
// The --encoding option of the subcommands that read a text file.

#include <string>

#include "cli/CliCommand.h"
#include "editor/OstEditTextBuffer.h"

namespace ostrel::cli {

// The names after --encoding, for usage lines.
inline constexpr const char* kEncodingNames =
    "auto|utf-8|utf-8-bom|utf-16le|utf-16be|windows-1250|iso-8859-2";

// Takes "--encoding NAME" or "--encoding=NAME" at args[i] (moving i past its
// value): true when args[i] was the option. A bad name leaves a message in
// error. "auto" detects, a file of plain ASCII counting as UTF-8.
bool TakeEncodingOption(const Args& args, size_t& i, TOstEncodingChoice& choice, std::string& error);

}  // namespace ostrel::cli
