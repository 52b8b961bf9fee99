#include "app/qt/QtClipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>

#include "app/qt/KeyTranslation.h"

namespace ostrel {

QtClipboard::QtClipboard(QClipboard* clipboard) : clipboard_(clipboard) {}

QClipboard* QtClipboard::clipboard() const
{
    return clipboard_ ? clipboard_ : QGuiApplication::clipboard();
}

QString QtClipboard::PlainText(std::string_view ansi)
{
    // Other programs here expect LF between lines.
    QString plain = FromAnsi(ansi);
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return plain;
}

bool QtClipboard::put(std::string_view text, uint8_t mode)
{
    QClipboard* cb = clipboard();
    if (!cb)
        return false;
    auto data = std::make_unique<QMimeData>();
    // The private block keeps the engine's CR LF.
    data->setText(PlainText(text));
    // The mode byte, then the text up to its terminating zero.
    QByteArray block;
    block.reserve(static_cast<qsizetype>(text.size()) + 2);
    block.append(static_cast<char>(mode));
    block.append(text.data(), static_cast<qsizetype>(text.size()));
    block.append('\0');
    data->setData(QString::fromLatin1(kBlockMimeType), block);
    cb->setMimeData(data.release());  // the clipboard owns it now
    return true;
}

bool QtClipboard::hasText() const
{
    QClipboard* cb = clipboard();
    const QMimeData* data = cb ? cb->mimeData() : nullptr;
    return data && (data->hasFormat(QString::fromLatin1(kBlockMimeType)) || data->hasText());
}

std::optional<ClipboardData> QtClipboard::get()
{
    QClipboard* cb = clipboard();
    if (!cb)
        return std::nullopt;
    const QMimeData* data = cb->mimeData();
    if (!data)
        return ClipboardData{};
    const QByteArray block = data->data(QString::fromLatin1(kBlockMimeType));
    if (!block.isEmpty()) {
        const qsizetype end = block.indexOf('\0', 1);
        const qsizetype length = (end < 0 ? block.size() : end) - 1;
        return ClipboardData{std::string(block.constData() + 1, static_cast<size_t>(length)),
                             static_cast<uint8_t>(block[0])};
    }
    if (data->hasText())
        return ClipboardData{ToAnsi(data->text()), std::nullopt};
    return ClipboardData{};
}

}  // namespace ostrel
