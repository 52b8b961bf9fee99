// The editor's host widget, offscreen: keys reach the buffer, the widget
// paints and follows its size, and the clipboard keeps blocks and Polish text.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <memory>

#include "app/qt/KeyTranslation.h"
#include "app/qt/OstEditWidget.h"
#include "app/qt/QtCanvas.h"
#include "app/qt/QtClipboard.h"
#include "app/qt/QtPictures.h"
#include "editor/OstEditMiscClasses.h"
#include "highlighters/OstHighlighterHtml.h"
#include "platform/CodePage.h"

using namespace ostrel;

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "edit_widget_test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Sends a key as the keyboard would: press with its text, then release.
void Type(QWidget& w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(&w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(&w, &release);
}

void TypeText(QWidget& w, const QString& text)
{
    for (QChar c : text) {
        const int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode();
        Type(w, c.unicode() < 128 ? key : Qt::Key_unknown, Qt::NoModifier, QString(c));
    }
}

std::string Ansi(const char* utf8)
{
    return codepage::FromUtf8(utf8);
}

}  // namespace

// ---- keys ---------------------------------------------------------------------------

TEST(KeyTranslation, QtKeysBecomeVirtualKeyCodes)
{
    EXPECT_EQ(VirtualKeyOf(Qt::Key_A), 65);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_7), 55);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_F5), 116);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Left), 37);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Backtab), 9);
    // Punctuation is its key whichever character Shift made of it.
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Semicolon), 186);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Colon), 186);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_ParenLeft), '9');
    // The keypad has codes of its own.
    EXPECT_EQ(VirtualKeyOf(Qt::Key_5, true), 101);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Plus, true), 107);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_unknown), 0);
}

TEST(KeyTranslation, ModifiersBecomeShiftBits)
{
    EXPECT_EQ(ShiftStateOf(Qt::ShiftModifier), ssShift);
    EXPECT_EQ(ShiftStateOf(Qt::ControlModifier | Qt::AltModifier), ssCtrl | ssAlt);
    EXPECT_EQ(ShiftStateOf(Qt::KeypadModifier), 0);
}

TEST(KeyTranslation, TextBecomesWindows1250)
{
    EXPECT_EQ(ToAnsi(QString::fromUtf8("zażółć")), Ansi("zażółć"));
    EXPECT_EQ(ToAnsi(QString::fromUtf8("日本")), "??");
}

TEST(EditWidgetKeys, TypedKeysReachTheBuffer)
{
    TOstEditWidget w;
    TypeText(w, QStringLiteral("ab"));
    Type(w, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    TypeText(w, QString::fromUtf8("cą"));
    EXPECT_EQ(w.Editor().Text(), Ansi("ab\r\ncą"));

    Type(w, Qt::Key_Left);
    Type(w, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    EXPECT_EQ(w.Editor().Text(), Ansi("ab\r\ną"));
    // Delete brings a DEL character on X11; it must not be typed.
    Type(w, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    EXPECT_EQ(w.Editor().Text(), "ab\r\n");
}

TEST(EditWidgetKeys, CtrlShortcutsRunCommandsWithoutTyping)
{
    TOstEditWidget w;
    w.Editor().SetText("one two");
    w.Editor().SetCaretXY({1, 1});
    Type(w, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));  // select all
    EXPECT_EQ(w.Editor().SelText(), "one two");
}

TEST(EditWidgetKeys, UnusedKeysGoOnToTheParent)
{
    TOstEditWidget w;
    QKeyEvent unbound(QEvent::KeyPress, Qt::Key_F11, Qt::NoModifier);
    QApplication::sendEvent(&w, &unbound);
    EXPECT_FALSE(unbound.isAccepted());
    QKeyEvent bound(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
    QApplication::sendEvent(&w, &bound);
    EXPECT_TRUE(bound.isAccepted());

    // Without WantReturns Enter belongs to a dialog's default button.
    w.Editor().SetWantReturns(false);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(&w, &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_EQ(w.Editor().Lines().Count(), 0);
}

TEST(EditWidgetKeys, InputMethodTextIsInserted)
{
    TOstEditWidget w;
    QInputMethodEvent composing(QStringLiteral("z"), {});
    QApplication::sendEvent(&w, &composing);
    w.resize(300, 100);
    w.show();
    w.viewport()->grab();  // the text being composed is painted, not inserted
    EXPECT_EQ(w.Editor().Text(), "");
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("żółw"));
    QApplication::sendEvent(&w, &commit);
    EXPECT_EQ(w.Editor().Text(), Ansi("żółw"));
}

// ---- canvas ------------------------------------------------------------------------

namespace {

// The leftmost column in [from, to) holding a pixel other than white.
int FirstInkColumn(const QImage& image, int from, int to)
{
    for (int x = from; x < to; ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y) != QColor(Qt::white))
                return x;
    return -1;
}

}  // namespace

TEST(QtCanvasTest, EveryByteIsDrawnInItsOwnCell)
{
    QImage image(200, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtCanvas canvas(&painter, &image);
        canvas.SelectFont(TOstFont{}, 0);
        canvas.SetTextColor(clBlack);
        canvas.SetBackColor(clWhite);
        const int advances[] = {40, 40, 40};
        canvas.TextOutCells(0, 0, {0, 0, 120, 20}, "|||", advances);
    }
    // Three bars 40 pixels apart, whatever the font's own advance.
    const int first = FirstInkColumn(image, 0, 40);
    ASSERT_GE(first, 0);
    EXPECT_EQ(FirstInkColumn(image, 40, 80), first + 40);
    EXPECT_EQ(FirstInkColumn(image, 80, 120), first + 80);
}

TEST(QtCanvasTest, FillsLinesAndPolishGlyphs)
{
    QImage image(100, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtCanvas canvas(&painter, &image);
        canvas.FillRect({10, 10, 20, 20}, clRed);
        canvas.DrawLine(50, 0, 50, 10, clBlue);  // up to, not including, y 10
        canvas.SetTextColor(clBlack);
        canvas.SetBackColor(clYellow);
        const int advances[] = {10};
        canvas.TextOutCells(60, 20, {60, 20, 70, 40}, Ansi("ł"), advances);
    }
    EXPECT_EQ(image.pixelColor(15, 15), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(20, 15), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(50, 9), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(50, 10), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(60, 21), QColor(Qt::yellow));
    bool glyph = false;  // some dark pixels of the letter on the yellow cell
    for (int x = 60; x < 70; ++x)
        for (int y = 20; y < 40; ++y)
            glyph = glyph || image.pixelColor(x, y).lightness() < 100;
    EXPECT_TRUE(glyph);
}

TEST(QtCanvasTest, DrawsBuiltInAndRegisteredPictures)
{
    QImage image(60, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPixmap red(4, 4);
    red.fill(Qt::red);
    QPixmap masked(4, 4);
    masked.fill(Qt::green);  // wholly the mask colour: nothing shows
    RegisterImageList("test pictures", {red, masked});
    {
        QPainter painter(&image);
        QtCanvas canvas(&painter, &image);
        canvas.DrawImage(InternalBookmarkImages().Name, 3, 0, 0, clNone);
        canvas.DrawImage("test pictures", 0, 30, 0, clNone);
        canvas.DrawImage("test pictures", 1, 40, 0, clLime);
        canvas.DrawImage("test pictures", 2, 50, 0, clNone);  // no such picture
        canvas.DrawImage("no such list", 0, 50, 10, clNone);
    }
    bool bookmark = false;
    for (int x = 0; x < InternalBookmarkImages().Width; ++x)
        for (int y = 0; y < InternalBookmarkImages().Height; ++y)
            bookmark = bookmark || image.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_TRUE(bookmark);
    EXPECT_EQ(image.pixelColor(InternalBookmarkImages().Width + 1, 5), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(31, 1), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(41, 1), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(51, 1), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(51, 11), QColor(Qt::white));
}

// ---- painting and size ---------------------------------------------------------

TEST(EditWidgetView, WindowCountsFollowTheSize)
{
    TOstEditWidget w;
    w.resize(400, 300);
    w.show();
    const QSize view = w.viewport()->size();
    const TOstEdit& e = w.Editor();
    EXPECT_EQ(e.CharsInWindow(), (view.width() - e.GutterWidth() - 2) / e.CharWidth());
    EXPECT_EQ(e.LinesInWindow(), view.height() / e.LineHeight());

    w.resize(600, 500);
    const QSize bigger = w.viewport()->size();
    EXPECT_GT(bigger.width(), view.width());
    EXPECT_EQ(e.CharsInWindow(), (bigger.width() - e.GutterWidth() - 2) / e.CharWidth());
    EXPECT_EQ(e.LinesInWindow(), bigger.height() / e.LineHeight());
}

TEST(EditWidgetView, CellsAreMeasuredFromTheScreenFont)
{
    TOstEditWidget w;
    const QFont font = QtCanvas::ToQFont(w.Editor().Font(), 0);
    const QFontMetricsF fm(font);
    EXPECT_EQ(w.Editor().LineHeight(), QFontMetrics(font).height());
    EXPECT_GE(w.Editor().CharWidth(), fm.horizontalAdvance(QLatin1Char('M')) - 0.01);
    EXPECT_LT(w.Editor().CharWidth(), fm.horizontalAdvance(QLatin1Char('M')) + 1);
}

TEST(EditWidgetView, PaintsHighlightedTextAndSelection)
{
    TOstHTMLHighlighter html;
    TOstEditWidget w;
    w.resize(400, 200);
    w.Editor().SetHighlighter(&html);
    w.Editor().SetText("<b>bold</b> text\r\nsecond line");
    w.Editor().SetColor(clWhite);
    w.Editor().SetSelectedColor({clWhite, clNavy});
    w.Editor().SetBlockBegin({1, 2});
    w.Editor().SetBlockEnd({7, 2});
    w.show();
    const QImage image = w.viewport()->grab().toImage();
    const int cw = w.Editor().CharWidth();
    const int lh = w.Editor().LineHeight();
    const int left = w.Editor().TextOffset();

    // Past the text of line 1 the background shows; the selected cells of
    // line 2 are navy wherever no glyph covers them.
    EXPECT_EQ(image.pixelColor(left + 30 * cw, lh / 2), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(left + 3 * cw, lh + 1), QColor(0, 0, 0x80));
    EXPECT_EQ(image.pixelColor(left + 8 * cw, lh + 1), QColor(Qt::white));
    // Some glyph pixels of "<b>" are drawn in a colour other than the background.
    bool inked = false;
    for (int x = left; x < left + 3 * cw && !inked; ++x)
        for (int y = 0; y < lh && !inked; ++y)
            inked = image.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_TRUE(inked);
    w.Editor().SetHighlighter(nullptr);
}

TEST(EditWidgetView, ScrollBarsAndTopLineFollowEachOther)
{
    TOstEditWidget w;
    std::string text;
    for (int i = 1; i <= 100; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    w.Editor().SetText(text);
    w.resize(300, 200);
    w.show();
    QScrollBar* bar = w.verticalScrollBar();
    const int lines = w.Editor().LinesInWindow();
    EXPECT_EQ(bar->maximum(), 101 - lines + 1);
    EXPECT_EQ(bar->pageStep(), lines);

    bar->setValue(20);
    EXPECT_EQ(w.Editor().TopLine(), 20);
    w.Editor().SetTopLine(35);
    EXPECT_EQ(bar->value(), 35);
    w.horizontalScrollBar()->setValue(4);
    EXPECT_EQ(w.Editor().LeftChar(), 4);
}

TEST(EditWidgetView, WrappedRowsFollowTheWidthWithoutAHorizontalBar)
{
    TOstEditWidget w;
    w.resize(400, 300);
    w.show();
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += std::string(150, 'a' + i) + "\r\n";
    w.Editor().SetText(text);
    w.Editor().SetWordWrap(true);
    EXPECT_FALSE(w.horizontalScrollBar()->isVisible());
    const int rows = w.Editor().DisplayLineCount();
    EXPECT_GT(rows, 20);
    EXPECT_EQ(w.verticalScrollBar()->maximum(), rows - w.Editor().LinesInWindow() + 1);

    w.resize(250, 300);
    EXPECT_LT(w.Editor().WordWrapPlugin()->MaxRowLength(), 40);
    EXPECT_GT(w.Editor().DisplayLineCount(), rows);
    EXPECT_EQ(w.Editor().WordWrapPlugin()->MaxRowLength(), w.Editor().CharsInWindow());

    w.Editor().SetWordWrap(false);
    EXPECT_TRUE(w.horizontalScrollBar()->isVisible());
}

// ---- clipboard --------------------------------------------------------------------

TEST(QtClipboardTest, BlockKeepsModeAndBytes)
{
    QtClipboard cb;
    const std::string text = Ansi("Zażółć\r\ngęślą");
    ASSERT_TRUE(cb.put(text, 2, TOstEncoding::Windows1250));
    ASSERT_TRUE(cb.hasText());
    const auto data = cb.get();
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->text, text);
    EXPECT_EQ(data->encoding, TOstEncoding::Windows1250);
    ASSERT_TRUE(data->blockMode.has_value());
    EXPECT_EQ(*data->blockMode, 2);
    // Other programs get Unicode with their own line breaks.
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("Zażółć\ngęślą"));
}

TEST(QtClipboardTest, PlainTextFromOtherProgramsArrivesAsUnicode)
{
    QGuiApplication::clipboard()->setText(QString::fromUtf8("Łódź 日本"));
    QtClipboard cb;
    const auto data = cb.get();
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->text, "Łódź 日本");
    EXPECT_EQ(data->encoding, TOstEncoding::Utf8);
    EXPECT_FALSE(data->blockMode.has_value());
}

TEST(QtClipboardTest, CopyAndPasteBetweenWidgetsKeepsColumnMode)
{
    TOstEditWidget a, b;
    a.Editor().SetText(Ansi("ąbcd\r\nęfgh"));
    a.Editor().SetSelectionMode(smColumn);
    a.Editor().SetBlockBegin({2, 1});
    a.Editor().SetBlockEnd({4, 2});
    a.Editor().CopyToClipboard();
    b.Editor().SetText("12345\r\n12345");
    b.Editor().SetCaretXY({2, 1});
    b.Editor().PasteFromClipboard();
    EXPECT_EQ(b.Editor().Text(), "1bc2345\r\n1fg2345");
}
