#include "app/qt/OstEditWidget.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <string>

#include "app/qt/KeyTranslation.h"

namespace ostrel {

namespace {

TRect ToTRect(const QRect& r)
{
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

QRect ToQRect(const TRect& r)
{
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

TOstMouseButton ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
    }
}

}  // namespace

TOstEditWidget::TOstEditWidget(QWidget* parent)
    : QAbstractScrollArea(parent), canvas_(nullptr, viewport())
{
    setFocusPolicy(Qt::WheelFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::IBeamCursor);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TOstEditWidget::VerticalBarMoved);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &TOstEditWidget::HorizontalBarMoved);
    connect(&caretBlink_, &QTimer::timeout, this, &TOstEditWidget::BlinkCaret);
    connect(&scrollTimer_.Qt(), &QTimer::timeout, this, [this] { editor_.ScrollTimerTick(); });

    editor_.SetHost(this);
    editor_.SetClipboard(&clipboard_);
    editor_.SetScrollTimer(&scrollTimer_);
    editor_.SetMeasuringCanvas(&canvas_);
    UpdateScrollBars();
}

TOstEditWidget::~TOstEditWidget()
{
    editor_.SetHost(nullptr);
}

// ---- host ----------------------------------------------------------------------------

void TOstEditWidget::InvalidateRows(int firstRow, int lastRow, bool withGutter)
{
    const int lh = editor_.LineHeight();
    const int top = editor_.TopLine();
    const int x = withGutter ? 0 : editor_.GutterWidth();
    const int y1 = (std::min(firstRow, lastRow) - top) * lh;
    const int y2 = (std::max(firstRow, lastRow) - top + 1) * lh;
    viewport()->update(QRect(x, y1, viewport()->width() - x, y2 - y1));
}

void TOstEditWidget::InvalidateAll()
{
    viewport()->update();
}

void TOstEditWidget::ScrollView(int, int)
{
    // Repainting is cheaper to get right than moving pixels that hold the
    // caret; the whole view is one pass of the painter.
    viewport()->update();
    UpdateCaret();
}

void TOstEditWidget::UpdateScrollBars()
{
    updatingBars_ = true;
    const bool hideWhenFits = editor_.HasOption(eoHideShowScrollbars);
    const Qt::ScrollBarPolicy policy = hideWhenFits ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    // Setting a policy lays the area out again, even an unchanged one.
    if (verticalScrollBarPolicy() != policy)
        setVerticalScrollBarPolicy(policy);
    if (horizontalScrollBarPolicy() != policy)
        setHorizontalScrollBarPolicy(policy);

    const int lines = std::max(editor_.LinesInWindow(), 1);
    const int rows = editor_.DisplayLineCount();
    const int maxTop = editor_.HasOption(eoScrollPastEof) ? rows : rows - lines + 1;
    verticalScrollBar()->setRange(1, std::max(maxTop, 1));
    verticalScrollBar()->setPageStep(lines);
    verticalScrollBar()->setValue(editor_.TopLine());

    const int chars = std::max(editor_.CharsInWindow(), 1);
    const int width = editor_.HasOption(eoScrollPastEol) ? editor_.MaxLineWidth()
                                                         : editor_.Lines().LongestLineWidth();
    horizontalScrollBar()->setRange(1, std::max(width - chars + 1, 1));
    horizontalScrollBar()->setPageStep(chars);
    horizontalScrollBar()->setValue(editor_.LeftChar());
    updatingBars_ = false;
}

void TOstEditWidget::UpdateCaret()
{
    const QRect caret = CaretRect();
    if (caret != paintedCaret_) {
        viewport()->update(paintedCaret_);
        viewport()->update(caret);
    }
    RestartCaretBlink();
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

QRect TOstEditWidget::CaretRect() const
{
    const TOstCaretGeometry caret = editor_.CaretGeometry();
    return caret.Visible ? ToQRect(caret.Rect) : QRect();
}

void TOstEditWidget::RestartCaretBlink()
{
    caretShown_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0)
        caretBlink_.start(flash / 2);
    else
        caretBlink_.stop();
}

void TOstEditWidget::BlinkCaret()
{
    caretShown_ = !caretShown_;
    viewport()->update(CaretRect().united(paintedCaret_));
}

// ---- painting and size ----------------------------------------------------------------

void TOstEditWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    canvas_.SetPainter(&painter);
    for (const QRect& rect : event->region())
        editor_.Paint(canvas_, ToTRect(rect));
    canvas_.SetPainter(nullptr);

    PaintPreedit(painter);
    paintedCaret_ = CaretRect();
    if (caretShown_ && !paintedCaret_.isEmpty()) {
        // Inverting keeps the character under a block caret readable.
        painter.setClipRegion(event->region());
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.fillRect(paintedCaret_, Qt::white);
    }
}

void TOstEditWidget::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    editor_.SetClientSize(viewport()->width(), viewport()->height());
    UpdateScrollBars();
}

void TOstEditWidget::VerticalBarMoved(int value)
{
    if (!updatingBars_)
        editor_.SetTopLine(value);
}

void TOstEditWidget::HorizontalBarMoved(int value)
{
    if (!updatingBars_)
        editor_.SetLeftChar(value);
}

// ---- keys and text -------------------------------------------------------------------

bool TOstEditWidget::event(QEvent* event)
{
    // Tab belongs to the text, not to focus moving, when the editor wants it.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && editor_.WantTabs()) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TOstEditWidget::keyPressEvent(QKeyEvent* event)
{
    // Without WantReturns, Enter and Escape belong to the dialog around.
    const int qtKey = event->key();
    if (!editor_.WantReturns() &&
        (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter || qtKey == Qt::Key_Escape)) {
        event->ignore();
        return;
    }
    const TOstShiftState shift = ShiftStateOf(event->modifiers());
    uint16_t key = VirtualKeyOf(*event);
    bool bound = false;
    if (key != 0) {
        editor_.KeyDown(key, shift);
        bound = key == 0;  // the editor consumed it
    }
    // Characters arrive as they would with the key: none while Alt alone is
    // held (that is a menu key), and Delete produces none.
    std::string chars = ((shift & ssAlt) && !(shift & ssCtrl)) ? std::string() : ToAnsi(event->text());
    std::erase(chars, '\x7f');
    for (char c : chars)
        editor_.KeyPress(c);
    // A key the editor has no use for goes on to the windows around it.
    if (bound || !chars.empty())
        event->accept();
    else
        event->ignore();
}

void TOstEditWidget::keyReleaseEvent(QKeyEvent* event)
{
    uint16_t key = VirtualKeyOf(*event);
    if (key != 0)
        editor_.KeyUp(key, ShiftStateOf(event->modifiers()));
    event->accept();
}

void TOstEditWidget::inputMethodEvent(QInputMethodEvent* event)
{
    viewport()->update(PreeditRect());
    preedit_ = event->preeditString();
    if (!event->commitString().isEmpty())
        editor_.ImeString(ToAnsi(event->commitString()));
    viewport()->update(PreeditRect());
    event->accept();
}

QRect TOstEditWidget::PreeditRect() const
{
    if (preedit_.isEmpty())
        return {};
    int x = 0, y = 0;
    editor_.RowColumnToPixels(editor_.DisplayXY(), x, y);
    return QRect(x, y, static_cast<int>(preedit_.size()) * editor_.CharWidth(), editor_.LineHeight());
}

void TOstEditWidget::PaintPreedit(QPainter& painter)
{
    const QRect rect = PreeditRect();
    if (rect.isEmpty())
        return;
    painter.save();
    painter.fillRect(rect, QtCanvas::ToQColor(editor_.Color()));
    const QFont font = QtCanvas::ToQFont(editor_.Font(), fsUnderline);
    painter.setFont(font);
    painter.setPen(QtCanvas::ToQColor(editor_.Font().Color));
    const int baseline = rect.top() + QFontMetrics(font).ascent();
    for (qsizetype i = 0; i < preedit_.size(); ++i)
        painter.drawText(QPoint(rect.left() + static_cast<int>(i) * editor_.CharWidth(), baseline),
                         QString(preedit_[i]));
    painter.restore();
}

QVariant TOstEditWidget::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return !editor_.ReadOnly();
    case Qt::ImCursorRectangle: {
        const TOstCaretGeometry caret = editor_.CaretGeometry();
        int x = 0, y = 0;
        editor_.RowColumnToPixels(editor_.DisplayXY(), x, y);
        const QRect rect(x, y, caret.Rect.Width() > 0 ? caret.Rect.Width() : 1, editor_.LineHeight());
        return rect.translated(viewport()->pos());
    }
    case Qt::ImFont:
        return QtCanvas::ToQFont(editor_.Font(), 0);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// ---- focus -------------------------------------------------------------------------------

void TOstEditWidget::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    editor_.FocusIn();
    UpdateCaret();
}

void TOstEditWidget::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    editor_.FocusOut();
    caretBlink_.stop();
    viewport()->update(paintedCaret_);
}

// ---- mouse ---------------------------------------------------------------------------

void TOstEditWidget::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    const QPoint p = event->position().toPoint();
    editor_.MouseDown(ButtonOf(event->button()), ShiftStateOf(event->modifiers()), p.x(), p.y());
}

void TOstEditWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    editor_.MouseMove(ShiftStateOf(event->modifiers()), p.x(), p.y());
}

void TOstEditWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    editor_.MouseUp(ButtonOf(event->button()), ShiftStateOf(event->modifiers()), p.x(), p.y());
}

void TOstEditWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    editor_.DoubleClick(ShiftStateOf(event->modifiers()), p.x(), p.y());
}

void TOstEditWidget::wheelEvent(QWheelEvent* event)
{
    editor_.MouseWheel(ShiftStateOf(event->modifiers()), event->angleDelta().y());
    event->accept();
}

}  // namespace ostrel
