#include "cli/CliEncoding.h"

namespace ostrel::cli {

bool TakeEncodingOption(const Args& args, size_t& i, TOstEncodingChoice& choice, std::string& error)
{
    const std::string& a = args[i];
    std::string name;
    if (a == "--encoding" && i + 1 < args.size())
        name = args[++i];
    else if (a.starts_with("--encoding="))
        name = a.substr(11);
    else
        return false;
    choice.plainDefault = TOstEncoding::Utf8;
    if (name == "auto") {
        choice.chosen.reset();
    } else if (const auto encoding = EncodingFromName(name)) {
        choice.chosen = *encoding;
    } else {
        error = "unknown encoding '" + name + "' (" + kEncodingNames + ")";
    }
    return true;
}

}  // namespace ostrel::cli
