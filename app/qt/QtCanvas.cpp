#include "app/qt/QtCanvas.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QGlyphRun>
#include <QPainter>
#include <QPaintDevice>
#include <QPalette>
#include <algorithm>
#include <cmath>

#include "app/qt/QtPictures.h"

namespace ostrel {

namespace {

std::string FontKey(const TOstFont& font, TFontStyles style, const QPaintDevice* device)
{
    return font.Name + '|' + std::to_string(font.Height) + '|' + std::to_string(font.PixelsPerInch) + '|' +
           std::to_string(style) + '|' + std::to_string(device ? device->logicalDpiY() : 0);
}

QRect ToQRect(const TRect& r)
{
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

QString ToUnicode(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString OfCodePoint(char32_t cp)
{
    return QString::fromUcs4(&cp, 1);
}

}  // namespace

QtCanvas::QtCanvas(QPainter* painter, QPaintDevice* device) : painter_(painter), device_(device) {}

// A family the system has. A monospaced one it lacks ("Courier New" of
// another system) becomes the first of ours that is installed, rather than
// whatever fontconfig offers for it; a proportional one keeps fontconfig's
// choice.
QString QtCanvas::InstalledFamily(const std::string& name)
{
    static std::map<std::string, QString> resolved;
    const auto known = resolved.find(name);
    if (known != resolved.end())
        return known->second;
    const QString wanted = QString::fromStdString(name);
    QString family = wanted;
    if (!QFontDatabase::hasFamily(wanted) && QFontInfo(QFont(wanted)).fixedPitch()) {
        family = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
        for (const QString& candidate : {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")}) {
            if (QFontDatabase::hasFamily(candidate)) {
                family = candidate;
                break;
            }
        }
    }
    return resolved.emplace(name, family).first->second;
}

QFont QtCanvas::ToQFont(const TOstFont& font, TFontStyles style)
{
    QFont f(InstalledFamily(font.Name));
    f.setStyleHint(QFont::TypeWriter, QFont::PreferDefault);
    f.setFixedPitch(true);
    f.setKerning(false);
    if (font.Height < 0) {
        f.setPixelSize(-font.Height);
    } else if (font.Height > 0) {
        // A positive height is the whole cell: take the leading off.
        f.setPixelSize(font.Height);
        const int cell = QFontMetrics(f).height();
        if (cell > font.Height)
            f.setPixelSize(std::max(1, font.Height * font.Height / cell));
    }
    f.setBold(style & fsBold);
    f.setItalic(style & fsItalic);
    f.setUnderline(style & fsUnderline);
    f.setStrikeOut(style & fsStrikeOut);
    return f;
}

QColor QtCanvas::ToQColor(TColor color)
{
    if (IsSystemColor(color) && qApp) {
        const QPalette pal = QGuiApplication::palette();
        switch (color) {
        case clWindow: return pal.color(QPalette::Active, QPalette::Base);
        case clWindowText: return pal.color(QPalette::Active, QPalette::Text);
        case clHighlight: return pal.color(QPalette::Active, QPalette::Highlight);
        case clHighlightText: return pal.color(QPalette::Active, QPalette::HighlightedText);
        case clBtnFace: return pal.color(QPalette::Active, QPalette::Button);
        case clBtnText: return pal.color(QPalette::Active, QPalette::ButtonText);
        case clInfoBk: return pal.color(QPalette::Active, QPalette::ToolTipBase);
        case clInfoText: return pal.color(QPalette::Active, QPalette::ToolTipText);
        case clGrayText: return pal.color(QPalette::Disabled, QPalette::Text);
        default: break;
        }
    }
    const TColor rgb = DefaultColorToRGB(color);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

TColor QtCanvas::ColorToRGB(TColor color)
{
    const QColor c = ToQColor(color);
    return RGBColor(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                    static_cast<uint8_t>(c.blue()));
}

// ---- fonts -----------------------------------------------------------------------

std::map<std::string, QtCanvas::Realised>& QtCanvas::SharedFonts()
{
    static std::map<std::string, Realised> fonts;
    // Fonts must go while the application that made them still exists.
    static const bool clearedWithApplication = [] {
        qAddPostRoutine([] { SharedFonts().clear(); });
        return true;
    }();
    (void)clearedWithApplication;
    return fonts;
}

void QtCanvas::SelectFont(const TOstFont& base, TFontStyles style)
{
    style &= kFontStyleMask;
    std::string key = FontKey(base, style, device_);
    auto [it, added] = SharedFonts().try_emplace(key);
    if (added) {
        Realised& r = it->second;
        r.font = ToQFont(base, style);
        r.raw = QRawFont::fromFont(r.font);
        r.ascent = QFontMetrics(r.font, device_).ascent();
        if (r.raw.isValid()) {
            QString all(kCachedGlyphs, Qt::Uninitialized);
            for (int c = 0; c < kCachedGlyphs; ++c)
                all[c] = QChar(static_cast<char16_t>(c));
            const QList<quint32> found = r.raw.glyphIndexesForString(all);
            for (qsizetype c = 0; c < std::min<qsizetype>(found.size(), kCachedGlyphs); ++c)
                r.glyphs[static_cast<size_t>(c)] = found[c];
        }
    }
    current_ = &it->second;
    state_.fontKey = std::move(key);
}

const QtCanvas::Realised& QtCanvas::Current()
{
    if (!current_)
        SelectFont(TOstFont{}, 0);
    return *current_;
}

TFontMetrics QtCanvas::MeasureFont()
{
    const Realised& r = Current();
    const QFontMetrics fm(r.font, device_);
    TFontMetrics m;
    // Cells are whole pixels; a glyph advancing a fraction more than the
    // rounded width would run into the next cell.
    const QFontMetricsF fmf(r.font, device_);
    m.CharWidth = static_cast<int>(std::ceil(fmf.horizontalAdvance(QLatin1Char('M')) - 0.01));
    m.Height = fm.height();
    m.Ascent = fm.ascent();
    m.Overhang = 0;
    return m;
}

int QtCanvas::GlyphExtent(char32_t c)
{
    const QFontMetrics fm(Current().font, device_);
    const QString text = OfCodePoint(c);
    const QRect ink = fm.boundingRect(text);
    return std::max(ink.right() + 1, fm.horizontalAdvance(text));
}

quint32 QtCanvas::GlyphOf(const Realised& r, char32_t cp)
{
    if (cp < static_cast<char32_t>(kCachedGlyphs))
        return r.glyphs[cp];
    if (!r.raw.isValid())
        return 0;
    const auto known = r.moreGlyphs.find(cp);
    if (known != r.moreGlyphs.end())
        return known->second;
    const QList<quint32> found = r.raw.glyphIndexesForString(OfCodePoint(cp));
    const quint32 glyph = found.size() == 1 ? found[0] : 0;
    r.moreGlyphs.emplace(cp, glyph);
    return glyph;
}

// ---- drawing ---------------------------------------------------------------------

void QtCanvas::TextOutCells(int x, int y, const TRect& opaque, std::string_view text,
                            std::span<const int> advances)
{
    if (!painter_)
        return;
    if (!opaque.IsEmpty())
        painter_->fillRect(ToQRect(opaque), ToQColor(state_.backColor));
    if (text.empty())
        return;
    const Realised& r = Current();
    painter_->setPen(ToQColor(state_.textColor));
    const QPointF origin(x, y + r.ascent);
    const QList<uint> codePoints = ToUnicode(text).toUcs4();
    const qsizetype count = std::min<qsizetype>(codePoints.size(), static_cast<qsizetype>(advances.size()));
    QList<quint32> glyphs(count);
    QList<QPointF> positions(count);
    bool complete = !r.font.underline() && !r.font.strikeOut();
    qreal pos = 0;
    for (qsizetype i = 0; i < count && complete; ++i) {
        const quint32 glyph = GlyphOf(r, codePoints[i]);
        // Marks that join a character are shaped with it by the text engine.
        complete = glyph != 0 && advances[static_cast<size_t>(i)] > 0;
        glyphs[i] = glyph;
        positions[i] = QPointF(pos, 0);
        pos += advances[static_cast<size_t>(i)];
    }
    if (!complete) {
        painter_->setFont(r.font);
        DrawCellsOneByOne(origin, codePoints.first(count), advances);
        return;
    }
    QGlyphRun run;
    run.setRawFont(r.raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter_->drawGlyphRun(origin, run);
}

// Glyphs the font lacks come from a fallback font, marks are shaped with the
// character they join, and underline and strike-out are drawn by the text
// engine: one character at a time.
void QtCanvas::DrawCellsOneByOne(QPointF origin, const QList<uint>& codePoints, std::span<const int> advances)
{
    qreal pos = origin.x();
    for (qsizetype i = 0; i < codePoints.size();) {
        qsizetype end = i + 1;
        while (end < codePoints.size() && advances[static_cast<size_t>(end)] == 0)
            ++end;
        const QList<uint> cluster = codePoints.mid(i, end - i);
        QString text = QString::fromUcs4(reinterpret_cast<const char32_t*>(cluster.constData()), cluster.size());
        // A letter with its marks as one character where one exists: a font
        // without the lone mark would otherwise draw it from a fallback font
        // beside the letter instead of on it.
        if (cluster.size() > 1)
            text = text.normalized(QString::NormalizationForm_C);
        painter_->drawText(QPointF(pos, origin.y()), text);
        for (qsizetype k = i; k < end; ++k)
            pos += advances[static_cast<size_t>(k)];
        i = end;
    }
}

int QtCanvas::TextWidth(std::string_view text)
{
    const QFontMetrics fm(Current().font, device_);
    return fm.horizontalAdvance(ToUnicode(text));
}

void QtCanvas::TextOutBaseline(int x, int y, std::string_view text)
{
    if (!painter_ || text.empty())
        return;
    painter_->setFont(Current().font);
    painter_->setPen(ToQColor(state_.textColor));
    painter_->drawText(QPointF(x, y), ToUnicode(text));
}

void QtCanvas::FillRect(const TRect& rect, TColor color)
{
    if (painter_ && !rect.IsEmpty())
        painter_->fillRect(ToQRect(rect), ToQColor(color));
}

void QtCanvas::DrawLine(int x1, int y1, int x2, int y2, TColor color)
{
    if (!painter_)
        return;
    // The end point is not part of the line.
    if (x1 == x2)
        y2 += y2 > y1 ? -1 : 1;
    else if (y1 == y2)
        x2 += x2 > x1 ? -1 : 1;
    QPen pen(ToQColor(color));
    pen.setWidth(0);
    painter_->setPen(pen);
    painter_->drawLine(x1, y1, x2, y2);
}

void QtCanvas::DrawImage(std::string_view list, int index, int x, int y, TColor maskColor)
{
    if (!painter_)
        return;
    QPixmap picture = PictureOf(list, index);
    if (picture.isNull())
        return;
    if (maskColor != clNone)
        picture.setMask(picture.createMaskFromColor(ToQColor(maskColor)));
    painter_->drawPixmap(x, y, picture);
}

void QtCanvas::Save()
{
    saved_.push_back(state_);
    if (painter_)
        painter_->save();
}

void QtCanvas::Restore()
{
    if (saved_.empty())
        return;
    state_ = saved_.back();
    saved_.pop_back();
    current_ = state_.fontKey.empty() ? nullptr : &SharedFonts()[state_.fontKey];
    if (painter_)
        painter_->restore();
}

void QtCanvas::IntersectClip(const TRect& rect)
{
    if (painter_)
        painter_->setClipRect(ToQRect(rect), painter_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void QtCanvas::SetMapping(const TMapping& mapping)
{
    if (!painter_)
        return;
    QTransform transform;
    transform.translate(mapping.OriginX, mapping.OriginY);
    if (mapping.WindowWidth != 0 && mapping.WindowHeight != 0)
        transform.scale(static_cast<qreal>(mapping.ViewportWidth) / mapping.WindowWidth,
                        static_cast<qreal>(mapping.ViewportHeight) / mapping.WindowHeight);
    painter_->setTransform(transform);
}

}  // namespace ostrel
