#include "app/HighlighterSet.h"

namespace ostrel {

THighlighterSet::THighlighterSet()
{
    for (const TOstLanguage& language : Languages()) {
        std::unique_ptr<TOstCustomHighlighter> instance = language.cls.Create();
        if (instance)
            language.ApplyDefaults(*instance);
        instances_[static_cast<size_t>(language.id - 1)] = std::move(instance);
    }
}

THighlighterSet::~THighlighterSet() = default;

TOstCustomHighlighter* THighlighterSet::Get(THighlighterId id) const
{
    if (id < hlHtml || id > kHighlighterCount)
        return nullptr;
    return instances_[static_cast<size_t>(id - 1)].get();
}

THighlighterId THighlighterSet::IdOf(const TOstCustomHighlighter* highlighter) const
{
    if (!highlighter)
        return hlNone;
    for (const TOstLanguage& language : Languages())
        if (Get(language.id) == highlighter)
            return language.id;
    return hlNone;
}

THighlighterId THighlighterSet::IdForFile(const QString& path) { return LanguageForFile(path.toStdString()); }

}  // namespace ostrel
