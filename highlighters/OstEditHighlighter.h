#pragma once
// The highlighter framework: token attributes, the base class of every lexer,
// and the list of lexer classes.
//
// A consumer lexes one line at a time:
//   hl.RestoreLineState(stateOfLineAbove);   // or ClearLineState() for line 0
//   hl.StartLine(text, lineIndex);
//   while (!hl.AtLineEnd()) {
//       ... hl.TokenStart(), hl.TokenLength(), hl.TokenKind(), hl.TokenAttribute() ...
//       hl.NextToken();
//   }
//   stored = hl.LineState();
// The tokens of a line are contiguous, start at 0 and cover it exactly; some
// are empty. A line state is a comparable value that carries everything the
// lexer needs from one line to the next.

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/OstColors.h"
#include "platform/OstRegistry.h"

namespace ostrel {

// A set of byte values.
using TOstCharSet = std::bitset<256>;
TOstCharSet CharSetOf(std::string_view chars);
TOstCharSet CharRange(unsigned char first, unsigned char last);

// Errors of the framework: duplicate attribute names, duplicate keywords.
class EOstHighlighterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TOstHighlighterAttributes {
public:
    explicit TOstHighlighterAttributes(std::string name) : name_(std::move(name)) {}
    TOstHighlighterAttributes(const TOstHighlighterAttributes&) = delete;
    TOstHighlighterAttributes& operator=(const TOstHighlighterAttributes&) = delete;

    const std::string& Name() const { return name_; }
    TColor Background() const { return background_; }
    TColor Foreground() const { return foreground_; }
    TFontStyles Style() const { return style_; }
    // The setters fire OnChange only when the value really changes.
    void SetBackground(TColor c);
    void SetForeground(TColor c);
    void SetStyle(TFontStyles s);

    TColor DefaultBackground() const { return defaultBackground_; }
    TColor DefaultForeground() const { return defaultForeground_; }
    TFontStyles DefaultStyle() const { return defaultStyle_; }
    void SaveDefaults();
    // Whether a value differs from its default and so is worth storing.
    bool IsBackgroundStored() const { return background_ != defaultBackground_; }
    bool IsForegroundStored() const { return foreground_ != defaultForeground_; }
    bool IsStyleStored() const { return style_ != defaultStyle_; }

    // Copies colours and style, firing OnChange once if any of them changed.
    void AssignColorsAndStyle(const TOstHighlighterAttributes& other);
    // Copies the name too.
    void Assign(const TOstHighlighterAttributes& other);

    // The key's "Background", "Foreground" and "Style" values; on loading,
    // absent values leave their property as it is.
    bool LoadFromRegistry(TRegistry& reg);
    bool SaveToRegistry(TRegistry& reg) const;

    std::function<void(TOstHighlighterAttributes& sender)> OnChange;

private:
    void changed();

    std::string name_;
    TColor background_ = clNone;
    TColor foreground_ = clNone;
    TColor defaultBackground_ = clNone;
    TColor defaultForeground_ = clNone;
    TFontStyles style_ = 0;
    TFontStyles defaultStyle_ = 0;
};

// Roles for DefaultAttribute.
enum TOstDefaultAttributeRole : int {
    daComment = 0, daIdentifier = 1, daKeyword = 2, daString = 3, daWhitespace = 4, daSymbol = 5,
};

// What a lexer class supports; every lexer stores its attributes in the registry.
enum TOstHighlighterFeature : uint8_t { hfRegistry = 1 };
using TOstHighlighterFeatures = uint8_t;

// Called with the attribute that changed, or with none.
using TOstHighlighterChangeEvent = std::function<void(TOstHighlighterAttributes* sender)>;

class TOstCustomHighlighter {
public:
    TOstCustomHighlighter();
    virtual ~TOstCustomHighlighter();
    TOstCustomHighlighter(const TOstCustomHighlighter&) = delete;
    TOstCustomHighlighter& operator=(const TOstCustomHighlighter&) = delete;

    // Attributes, sorted by name without regard to case.
    virtual int AttributeCount() const { return static_cast<int>(attributes_.size()); }
    // None for an index outside the list.
    virtual TOstHighlighterAttributes* AttributeAt(int index) const;
    virtual TOstHighlighterAttributes* DefaultAttribute(int role) const = 0;
    // The attribute of that exact name, or none.
    TOstHighlighterAttributes* AttributeByName(std::string_view name) const;

    virtual std::string DefaultFilter() const { return defaultFilter_; }
    virtual void SetDefaultFilter(std::string filter) { defaultFilter_ = std::move(filter); }
    virtual bool IsFilterStored() const { return true; }

    // Characters that make up a word. Base: every character from 33 to 255.
    virtual TOstCharSet IdentifierChars() const;
    const TOstCharSet& WordSeparators() const { return wordSeparators_; }
    virtual void SetWordSeparators(const TOstCharSet& separators) { wordSeparators_ = separators; }
    static TOstCharSet DefaultWordSeparators();

    virtual std::string SampleText() const { return {}; }
    virtual void SetSampleText(std::string_view) {}

    static TOstHighlighterFeatures Features() { return hfRegistry; }
    static const char* LanguageTitle() { return "<Unknown>"; }
    // The language title of this object's class.
    virtual std::string GetLanguageTitle() const { return LanguageTitle(); }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);

    // The form of the lines to scan: a single-byte code page (off), or UTF-8,
    // where every byte from 0x80 up is a letter of an identifier, so that no
    // token splits a character and no keyword takes one. The instances are
    // shared by documents of both forms: whoever scans sets it first.
    void SetUtf8Text(bool on) { utf8Text_ = on; }
    bool Utf8Text() const { return utf8Text_; }

    // Scanning. StartLine keeps its own copy of the text and scans the first
    // token at once.
    virtual void StartLine(std::string_view line, int lineIndex);
    virtual bool AtLineEnd() const = 0;
    virtual void NextToken() = 0;
    virtual int TokenStart() const { return tokenPos_; }
    int TokenLength() const { return run_ - tokenPos_; }
    virtual std::string TokenText() const;
    virtual int TokenKind() const { return tokenKind_; }
    virtual TOstHighlighterAttributes* TokenAttribute() const = 0;
    virtual intptr_t LineState() const { return 0; }
    virtual void RestoreLineState(intptr_t) {}
    virtual void ClearLineState() {}
    // Scans to the end of the line.
    void SkipToLineEnd();

    virtual bool IsReservedWord(std::string_view) const { return false; }
    // Whether < and > pair up as brackets in the language (markup).
    virtual bool PairsAngleBrackets() const { return false; }
    virtual bool ApplyHostSettings(int) { return false; }
    virtual void ListHostSettings(std::vector<std::string>& list) const { list.clear(); }

    // One subkey per attribute below the key path under the root; false when
    // the key or a subkey cannot be opened or the store cannot be written.
    virtual bool LoadAttributesFromRegistry(TRegistry& store, THKey root, std::string_view keyPath);
    virtual bool SaveAttributesToRegistry(TRegistry& store, THKey root, std::string_view keyPath);
    bool LoadAttributesFromRegistry(THKey root, std::string_view keyPath);
    bool SaveAttributesToRegistry(THKey root, std::string_view keyPath);

    // The listener chain. A listener is known by its owner; adding an owner
    // again replaces its callback.
    void AddChangeListener(const void* owner, TOstHighlighterChangeEvent callback);
    void RemoveChangeListener(const void* owner);
    // Fires the listeners, unless the highlighter is still being loaded.
    void NotifyChanged(TOstHighlighterAttributes* sender);
    // While loading (the owner applying its stored overrides) nothing is
    // fired; EndLoading fires once with no sender.
    void BeginLoading() { loading_ = true; }
    void EndLoading();
    bool Loading() const { return loading_; }

    // Attributes of the same name, then (for the same class) the sample text,
    // word separators, filter and Enabled.
    virtual void Assign(const TOstCustomHighlighter& source);

protected:
    // Adds the attribute to the sorted list; a duplicate name fails.
    TOstHighlighterAttributes* RegisterAttribute(std::unique_ptr<TOstHighlighterAttributes> attr);
    TOstHighlighterAttributes* AddAttribute(const char* name, TColor foreground, TFontStyles style,
                                            TColor background = clNone);
    // Routes every attribute's changes to NotifyChanged and snapshots the
    // defaults; called by each lexer once its attributes exist.
    void BindAttributeChanges();

    // Scanning state shared by the lexers. line_ is the current line followed
    // by a terminating zero, so scanners may look one character ahead freely.
    const unsigned char* line_ = nullptr;
    std::string_view lineText_;
    int lineIndex_ = 0;
    int run_ = 0;
    int tokenPos_ = 0;
    int tokenKind_ = 0;
    bool utf8Text_ = false;

private:
    std::string lineCopy_;
    std::string scanCopy_;
    std::vector<std::unique_ptr<TOstHighlighterAttributes>> attributes_;
    std::vector<std::pair<const void*, TOstHighlighterChangeEvent>> listeners_;
    std::string defaultFilter_;
    TOstCharSet wordSeparators_;
    bool enabled_ = true;
    bool loading_ = false;
};

// A lexer class: what the program needs to know before making one.
struct TOstHighlighterClass {
    const char* language;  // short name: "html", "css", ...
    const char* (*LanguageTitle)();
    std::unique_ptr<TOstCustomHighlighter> (*Create)();
};

// The global list of lexer classes, in registration order. Instance() fills
// it on first use from the table in OstHighlighterFactory.cpp.
class TOstHighlighterList {
public:
    static TOstHighlighterList& Instance();
    // Adds the class unless it is already listed.
    void Register(const TOstHighlighterClass& cls);
    int Count() const { return static_cast<int>(classes_.size()); }
    const TOstHighlighterClass& operator[](int i) const { return *classes_.at(static_cast<size_t>(i)); }
    // The class of a short language name, or none.
    const TOstHighlighterClass* Find(std::string_view language) const;

private:
    std::vector<const TOstHighlighterClass*> classes_;
};

void RegisterHighlighterClass(const TOstHighlighterClass& cls);

}  // namespace ostrel
