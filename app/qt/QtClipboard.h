#pragma once
// The engine's clipboard on the desktop clipboard: plain text in Unicode,
// and a private block carrying the selection mode byte and the text in
// Windows-1250, so a copy between editors keeps its mode.

#include <QString>

#include "platform/Clipboard.h"

class QClipboard;

namespace ostrel {

class QtClipboard final : public Clipboard {
public:
    static constexpr const char* kBlockMimeType = "application/x-ostedit-block";

    // Null: the application's clipboard.
    explicit QtClipboard(QClipboard* clipboard = nullptr);

    // Text for other programs: Unicode with LF between lines.
    static QString PlainText(std::string_view ansi);

    bool put(std::string_view text, uint8_t mode) override;
    bool hasText() const override;
    std::optional<ClipboardData> get() override;

private:
    QClipboard* clipboard() const;
    QClipboard* clipboard_;  // not owned
};

}  // namespace ostrel
