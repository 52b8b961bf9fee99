#pragma once
// What a crash must not take: a document's text as the buffer holds it, with
// everything needed to give it back exactly (file path, caption, encoding,
// line breaks, the trailing-break rule, the modified state and the caret).
// The text is copied in slices, so that a large document never holds up
// the keys typed meanwhile.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/OstEditTextBuffer.h"

namespace ostrel {

struct TOstRecoveryRecord {
    std::string path;   // empty for an untitled document
    std::string title;  // the tab's caption, UTF-8
    TOstEncoding encoding = TOstEncoding::Utf8;
    TOstEditFileFormat lineBreaks = CrLf;
    bool trailingBreak = true;
    bool modified = true;
    int caretX = 1;
    int caretY = 1;
    // Every line followed by LF, in the buffer's own bytes.
    std::vector<std::string> textBlocks;

    size_t TextSize() const;
};

// The record's fields before its text; the text follows it on disk.
std::string RecoveryHeader(const TOstRecoveryRecord& record);
// Reads a whole record back; false for anything damaged or cut short.
bool ParseRecoveryRecord(std::string_view bytes, TOstRecoveryRecord& record);
// Gives the lines the record's text, encoding and line breaks.
void RestoreRecoveredLines(const TOstRecoveryRecord& record, TOstEditStringList& lines);

// A copy of the lines taken a slice at a time.
class TOstTextSnapshot {
public:
    explicit TOstTextSnapshot(const TOstEditStringList& lines);
    // Copies lines until the deadline; true once every line is in.
    bool Continue(std::chrono::steady_clock::time_point deadline);
    // The text changed after the copy began: what it holds is of no use.
    bool Stale() const { return lines_.Revision() != revision_; }
    std::vector<std::string> TakeBlocks() { return std::move(blocks_); }

private:
    const TOstEditStringList& lines_;
    uint64_t revision_;
    int next_ = 0;
    std::vector<std::string> blocks_;
};

}  // namespace ostrel
