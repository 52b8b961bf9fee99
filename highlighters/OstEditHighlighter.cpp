#include "highlighters/OstEditHighlighter.h"

#include <algorithm>
#include <cstring>
#include <typeinfo>

#include "platform/CodePage.h"

namespace ostrel {

TOstCharSet CharSetOf(std::string_view chars)
{
    TOstCharSet set;
    for (const char c : chars)
        set.set(static_cast<unsigned char>(c));
    return set;
}

TOstCharSet CharRange(unsigned char first, unsigned char last)
{
    TOstCharSet set;
    for (int c = first; c <= last; ++c)
        set.set(static_cast<size_t>(c));
    return set;
}

// ---- TOstHighlighterAttributes ------------------------------------------

void TOstHighlighterAttributes::changed()
{
    if (OnChange)
        OnChange(*this);
}

void TOstHighlighterAttributes::SetBackground(TColor c)
{
    if (background_ != c) {
        background_ = c;
        changed();
    }
}

void TOstHighlighterAttributes::SetForeground(TColor c)
{
    if (foreground_ != c) {
        foreground_ = c;
        changed();
    }
}

void TOstHighlighterAttributes::SetStyle(TFontStyles s)
{
    if (style_ != s) {
        style_ = s;
        changed();
    }
}

void TOstHighlighterAttributes::SaveDefaults()
{
    defaultBackground_ = background_;
    defaultForeground_ = foreground_;
    defaultStyle_ = style_;
}

void TOstHighlighterAttributes::AssignColorsAndStyle(const TOstHighlighterAttributes& other)
{
    const bool differs = background_ != other.background_ || foreground_ != other.foreground_ ||
                         style_ != other.style_;
    background_ = other.background_;
    foreground_ = other.foreground_;
    style_ = other.style_;
    if (differs)
        changed();
}

void TOstHighlighterAttributes::Assign(const TOstHighlighterAttributes& other)
{
    if (&other == this)
        return;
    name_ = other.name_;
    AssignColorsAndStyle(other);
}

bool TOstHighlighterAttributes::LoadFromRegistry(TRegistry& reg)
{
    bool ok = true;
    auto load = [&](const char* valueName, auto setter) {
        try {
            if (reg.ValueExists(valueName))
                setter(static_cast<uint32_t>(reg.ReadInteger(valueName)));
        } catch (const ERegistryException&) {
            ok = false;
        }
    };
    load("Background", [this](uint32_t v) { SetBackground(v); });
    load("Foreground", [this](uint32_t v) { SetForeground(v); });
    load("Style", [this](uint32_t v) { SetStyle(static_cast<TFontStyles>(v & kFontStyleMask)); });
    return ok;
}

bool TOstHighlighterAttributes::SaveToRegistry(TRegistry& reg) const
{
    reg.WriteInteger("Background", static_cast<int32_t>(background_));
    reg.WriteInteger("Foreground", static_cast<int32_t>(foreground_));
    reg.WriteInteger("Style", style_ & kFontStyleMask);
    return true;
}

// ---- TOstCustomHighlighter -----------------------------------------------

namespace {

// The attribute list's order: names compared through the code page's
// upper-case table.
bool NameLess(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return codepage::ToUpper(static_cast<unsigned char>(x)) <
               codepage::ToUpper(static_cast<unsigned char>(y));
    });
}

bool NameEqualIgnoringCase(std::string_view a, std::string_view b)
{
    return !NameLess(a, b) && !NameLess(b, a);
}

// Restores the store's write mode and closes its key however the scope ends.
class StoreSession {
public:
    StoreSession(TRegistry& store, THKey root) : store_(store), lazy_(store.LazyWrite())
    {
        store_.SetRootKey(root);
        store_.SetLazyWrite(true);
    }
    ~StoreSession()
    {
        store_.SetLazyWrite(lazy_);
        try {
            store_.CloseKey();
        } catch (const ERegistryException&) {
            // Reported through Flush in the session already.
        }
    }
    StoreSession(const StoreSession&) = delete;
    StoreSession& operator=(const StoreSession&) = delete;

private:
    TRegistry& store_;
    bool lazy_;
};

}  // namespace

TOstCustomHighlighter::TOstCustomHighlighter() : wordSeparators_(DefaultWordSeparators()) {}

TOstCustomHighlighter::~TOstCustomHighlighter() = default;

TOstCharSet TOstCustomHighlighter::DefaultWordSeparators()
{
    return CharSetOf("!\"'()*+,-./:;=?[\\]^{|}");
}

TOstCharSet TOstCustomHighlighter::IdentifierChars() const { return CharRange(33, 255); }

TOstHighlighterAttributes* TOstCustomHighlighter::AttributeAt(int index) const
{
    if (index < 0 || index >= static_cast<int>(attributes_.size()))
        return nullptr;
    return attributes_[static_cast<size_t>(index)].get();
}

TOstHighlighterAttributes* TOstCustomHighlighter::AttributeByName(std::string_view name) const
{
    const auto it = std::lower_bound(attributes_.begin(), attributes_.end(), name,
                                     [](const auto& a, std::string_view n) { return NameLess(a->Name(), n); });
    if (it != attributes_.end() && NameEqualIgnoringCase((*it)->Name(), name))
        return it->get();
    return nullptr;
}

TOstHighlighterAttributes* TOstCustomHighlighter::RegisterAttribute(
    std::unique_ptr<TOstHighlighterAttributes> attr)
{
    if (AttributeByName(attr->Name()))
        throw EOstHighlighterError("Attribute list does not allow duplicates ('" + attr->Name() + "')");
    const auto at = std::upper_bound(attributes_.begin(), attributes_.end(), attr->Name(),
                                     [](const std::string& n, const auto& a) { return NameLess(n, a->Name()); });
    return attributes_.insert(at, std::move(attr))->get();
}

TOstHighlighterAttributes* TOstCustomHighlighter::AddAttribute(const char* name, TColor foreground,
                                                               TFontStyles style, TColor background)
{
    auto attr = std::make_unique<TOstHighlighterAttributes>(name);
    attr->SetForeground(foreground);
    attr->SetBackground(background);
    attr->SetStyle(style);
    return RegisterAttribute(std::move(attr));
}

void TOstCustomHighlighter::BindAttributeChanges()
{
    for (const auto& attr : attributes_) {
        attr->OnChange = [this](TOstHighlighterAttributes& sender) { NotifyChanged(&sender); };
        attr->SaveDefaults();
    }
}

void TOstCustomHighlighter::SetEnabled(bool on)
{
    if (enabled_ != on) {
        enabled_ = on;
        NotifyChanged(nullptr);
    }
}

void TOstCustomHighlighter::AddChangeListener(const void* owner, TOstHighlighterChangeEvent callback)
{
    for (auto& [who, fn] : listeners_)
        if (who == owner) {
            fn = std::move(callback);
            return;
        }
    listeners_.emplace_back(owner, std::move(callback));
}

void TOstCustomHighlighter::RemoveChangeListener(const void* owner)
{
    std::erase_if(listeners_, [owner](const auto& l) { return l.first == owner; });
}

void TOstCustomHighlighter::NotifyChanged(TOstHighlighterAttributes* sender)
{
    if (loading_)
        return;
    // A listener may remove itself (or others) while being called.
    const auto listeners = listeners_;
    for (const auto& [owner, callback] : listeners)
        if (callback)
            callback(sender);
}

void TOstCustomHighlighter::EndLoading()
{
    loading_ = false;
    NotifyChanged(nullptr);
}

void TOstCustomHighlighter::StartLine(std::string_view line, int lineIndex)
{
    lineCopy_.assign(line);
    lineCopy_ += '\0';
    lineText_ = std::string_view(lineCopy_.data(), line.size());
    const char* scan = lineCopy_.data();
    // The scanners stop at a zero; one inside the line is scanned as a
    // control character instead, so that the tokens still cover the line.
    if (std::memchr(line.data(), 0, line.size())) {
        scanCopy_ = lineCopy_;
        std::replace(scanCopy_.begin(), scanCopy_.end() - 1, '\0', '\x01');
        scan = scanCopy_.data();
    }
    line_ = reinterpret_cast<const unsigned char*>(scan);
    lineIndex_ = lineIndex;
    run_ = 0;
    tokenPos_ = 0;
    NextToken();
}

std::string TOstCustomHighlighter::TokenText() const
{
    return std::string(lineText_.substr(static_cast<size_t>(tokenPos_),
                                        static_cast<size_t>(run_ - tokenPos_)));
}

void TOstCustomHighlighter::SkipToLineEnd()
{
    while (!AtLineEnd())
        NextToken();
}

bool TOstCustomHighlighter::SaveAttributesToRegistry(TRegistry& store, THKey root, std::string_view keyPath)
{
    StoreSession session(store, root);
    try {
        if (!store.OpenKey(keyPath, true))
            return false;
        bool ok = true;
        for (const auto& attr : attributes_) {
            const std::string remembered = store.CurrentPath();
            if (store.OpenKey(attr->Name(), true))
                ok = attr->SaveToRegistry(store) && ok;
            else
                ok = false;
            store.OpenKey("\\" + remembered, false);
        }
        store.Flush();
        return ok;
    } catch (const ERegistryException&) {
        return false;
    }
}

bool TOstCustomHighlighter::LoadAttributesFromRegistry(TRegistry& store, THKey root, std::string_view keyPath)
{
    StoreSession session(store, root);
    try {
        if (!store.OpenKeyReadOnly(keyPath))
            return false;
        bool ok = true;
        for (const auto& attr : attributes_) {
            const std::string remembered = store.CurrentPath();
            if (store.OpenKeyReadOnly(attr->Name()))
                ok = attr->LoadFromRegistry(store) && ok;
            else
                ok = false;
            store.OpenKeyReadOnly("\\" + remembered);
        }
        return ok;
    } catch (const ERegistryException&) {
        return false;
    }
}

bool TOstCustomHighlighter::LoadAttributesFromRegistry(THKey root, std::string_view keyPath)
{
    TRegistry store;
    return LoadAttributesFromRegistry(store, root, keyPath);
}

bool TOstCustomHighlighter::SaveAttributesToRegistry(THKey root, std::string_view keyPath)
{
    TRegistry store;
    return SaveAttributesToRegistry(store, root, keyPath);
}

void TOstCustomHighlighter::Assign(const TOstCustomHighlighter& source)
{
    if (&source == this)
        return;
    for (const auto& mine : attributes_)
        for (int i = 0; i < source.AttributeCount(); ++i)
            if (const auto* theirs = source.AttributeAt(i); theirs && theirs->Name() == mine->Name())
                mine->Assign(*theirs);
    if (typeid(source) == typeid(*this))
        SetSampleText(source.SampleText());
    SetWordSeparators(source.WordSeparators());
    SetDefaultFilter(source.DefaultFilter());
    SetEnabled(source.Enabled());
}

// ---- TOstHighlighterList -------------------------------------------------

void TOstHighlighterList::Register(const TOstHighlighterClass& cls)
{
    if (std::find(classes_.begin(), classes_.end(), &cls) == classes_.end())
        classes_.push_back(&cls);
}

const TOstHighlighterClass* TOstHighlighterList::Find(std::string_view language) const
{
    for (const TOstHighlighterClass* cls : classes_)
        if (language == cls->language)
            return cls;
    return nullptr;
}

void RegisterHighlighterClass(const TOstHighlighterClass& cls) { TOstHighlighterList::Instance().Register(cls); }

}  // namespace ostrel
