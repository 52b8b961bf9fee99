#pragma once
// The engine's clipboard on the desktop clipboard: plain text in Unicode,
// and a private block carrying the selection mode, the encoding and the
// text as the document holds it, so a copy between editors keeps its mode
// and every byte.

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
    static QString PlainText(std::string_view text, TOstEncoding encoding);

    bool put(std::string_view text, uint8_t mode, TOstEncoding encoding) override;
    bool hasText() const override;
    std::optional<ClipboardData> get() override;

private:
    QClipboard* clipboard() const;
    QClipboard* clipboard_;  // not owned
};

}  // namespace ostrel
