#include "app/qt/QtClipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>


namespace ostrel {

QtClipboard::QtClipboard(QClipboard* clipboard) : clipboard_(clipboard) {}

QClipboard* QtClipboard::clipboard() const
{
    return clipboard_ ? clipboard_ : QGuiApplication::clipboard();
}

QString QtClipboard::PlainText(std::string_view text, TOstEncoding encoding)
{
    // Other programs here expect LF between lines.
    QString plain = QString::fromStdString(ToUtf8(text, encoding));
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return plain;
}

bool QtClipboard::put(std::string_view text, uint8_t mode, TOstEncoding encoding)
{
    QClipboard* cb = clipboard();
    if (!cb)
        return false;
    auto data = std::make_unique<QMimeData>();
    // The private block keeps the engine's CR LF.
    data->setText(PlainText(text, encoding));
    // The mode byte, the encoding's byte, then the text.
    QByteArray block;
    block.reserve(static_cast<qsizetype>(text.size()) + 2);
    block.append(static_cast<char>(mode));
    block.append(static_cast<char>(encoding));
    block.append(text.data(), static_cast<qsizetype>(text.size()));
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
    const auto encoding = block.size() >= 2 ? static_cast<uint8_t>(block[1]) : kEncodingCount;
    if (encoding < kEncodingCount) {
        return ClipboardData{std::string(block.constData() + 2, static_cast<size_t>(block.size() - 2)),
                             static_cast<uint8_t>(block[0]), static_cast<TOstEncoding>(encoding)};
    }
    if (data->hasText())
        return ClipboardData{data->text().toStdString(), std::nullopt, TOstEncoding::Utf8};
    return ClipboardData{};
}

}  // namespace ostrel
