#include "support/RandomKeyScript.h"

namespace ostrel::test {

namespace {

const char* const kKeys[] = {
    "Up",
    "Down",
    "Left",
    "Right",
    "Home",
    "End",
    "Page Up",
    "Page Down",
    "Shift+Up",
    "Shift+Down",
    "Shift+Left",
    "Shift+Right",
    "Shift+Home",
    "Shift+End",
    "Ctrl+Left",
    "Ctrl+Right",
    "Shift+Ctrl+Left",
    "Shift+Ctrl+Right",
    "Ctrl+Home",
    "Ctrl+End",
    "Shift+Page Down",
    "Ctrl+Page Down",
    "Ctrl+Up",
    "Ctrl+Down",
    "Backspace",
    "Backspace",
    "Delete",
    "Delete",
    "Enter",
    "Enter",
    "Tab",
    "Tab",
    "Shift+Tab",
    "Ctrl+Y",
    "Shift+Ctrl+Y",
    "Ctrl+T",
    "Ctrl+Backspace",
    "Ctrl+N",
    "Shift+Ctrl+I",
    "Shift+Ctrl+U",
    "Insert",
    "Ctrl+C",
    "Ctrl+X",
    "Ctrl+V",
    "Shift+Ctrl+B",
    "Shift+Ctrl+N",
    "Shift+Ctrl+C",
    "Shift+Ctrl+L",
    "Ctrl+Z",
    "Shift+Ctrl+Z",
    "A",
    "Shift+B",
    "7",
    "Space",
    "Space",
};

const char* const kCommands[] = {
    "ecUpperCase",      "ecLowerCase",       "ecToggleCase",    "ecTitleCase",      "ecUpperCaseBlock",
    "ecLowerCaseBlock", "ecToggleCaseBlock", "ecDeleteBOL",     "ecDeleteLastWord", "ecInsertLine",
    "ecPageLeft",       "ecSelPageRight",    "ecImeStr \\xB1x", "ecSelectAll",      "ecSelPageTop",
};

const TOstEditorOption kTried[] = {
    eoAutoIndent,    eoEnhanceHomeKey, eoGroupUndo, eoHalfPageScroll, eoKeepCaretX,   eoScrollByOneLess,
    eoScrollPastEol, eoSmartTabDelete, eoSmartTabs, eoTabIndent,      eoTabsToSpaces,
};

}  // namespace

RandomKeyScript::RandomKeyScript(unsigned seed, bool trimming) : rng_(seed)
{
    for (TOstEditorOption o : kTried)
        if (pick(2))
            options_.include(o);
    // Trimming records the blanks it takes, tabs as tabs, so the
    // documents hold both, also at line ends.
    if (trimming)
        options_.include(eoTrimTrailingSpaces);
    tabWidth_ = 1 + pick(8);
    document_ = randomDocument();
    for (int i = 0; i < 150; ++i)
        lines_.push_back(randomLine());
}

std::string RandomKeyScript::optionList() const
{
    std::string list;
    for (int i = 0; i < kEditorOptionCount; ++i)
        if (options_.has(static_cast<TOstEditorOption>(i)))
            list += std::string(list.empty() ? "" : ",") + EditorOptionName(static_cast<TOstEditorOption>(i));
    return list;
}

int RandomKeyScript::pick(int n)
{
    return std::uniform_int_distribution<int>(0, n - 1)(rng_);
}

std::string RandomKeyScript::randomDocument()
{
    std::string doc;
    // One line-break style: the buffer keeps one per file.
    const char* lineBreak = pick(3) ? "\r\n" : "\n";
    const int lines = 1 + pick(10);
    for (int i = 0; i < lines; ++i) {
        std::string line;
        for (int w = pick(5); w > 0; --w)
            line += std::string(static_cast<size_t>(pick(3)), pick(2) ? ' ' : '\t') + (pick(3) ? "word" : "(x.y)") +
                    std::to_string(pick(100));
        if (pick(4) == 0)
            line += pick(2) ? "  " : "\t";
        doc += line + lineBreak;
    }
    return doc;
}

std::string RandomKeyScript::randomLine()
{
    switch (pick(12)) {
    case 0: return "type " + std::string(pick(2) ? "ab" : "\\xB3 x") + (pick(2) ? " " : "");
    case 1: return "caret " + std::to_string(1 + pick(12)) + " " + std::to_string(1 + pick(12));
    case 2:
        return "select " + std::to_string(1 + pick(10)) + " " + std::to_string(1 + pick(10)) + " " +
               std::to_string(1 + pick(10)) + " " + std::to_string(1 + pick(10));
    case 3: return std::string("cmd ") + kCommands[pick(static_cast<int>(std::size(kCommands)))];
    default: return std::string("key ") + kKeys[pick(static_cast<int>(std::size(kKeys)))];
    }
}

}  // namespace ostrel::test
