#include "app/qt/OstEditWidget.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/qt/KeyTranslation.h"
#include "app/qt/OstEditScrollBar.h"

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

// A drag of selected text names its source editor by the process and a
// number, never by an address another program could forge.
constexpr const char* kTextDragMimeType = "application/x-ostedit-drag";

quint64 NextDragId()
{
    static quint64 next = 0;
    return ++next;
}

QByteArray DragTag(quint64 id)
{
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' + QByteArray::number(id);
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
    setVerticalScrollBar(new TOstEditScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new TOstEditScrollBar(Qt::Horizontal, this));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TOstEditWidget::VerticalBarMoved);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &TOstEditWidget::HorizontalBarMoved);
    connect(&caretBlink_, &QTimer::timeout, this, &TOstEditWidget::BlinkCaret);
    connect(&scrollTimer_.Qt(), &QTimer::timeout, this, [this] { editor_.ScrollTimerTick(); });
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { BarActionTriggered(sbVertical, action); });
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { BarActionTriggered(sbHorizontal, action); });
    connect(verticalScrollBar(), &QAbstractSlider::sliderPressed, this, &TOstEditWidget::ShowScrollHint);
    connect(verticalScrollBar(), &QAbstractSlider::sliderReleased, this, &TOstEditWidget::HideScrollHint);
    viewport()->setAcceptDrops(true);

    editor_.SetHost(this);
    editor_.SetClipboard(&clipboard_);
    editor_.SetScrollTimer(&scrollTimer_);
    editor_.SetMeasuringCanvas(&canvas_);
    editor_.SetWheelScrollLines(QApplication::wheelScrollLines());
    editor_.SetDragDistance(QApplication::startDragDistance());
    editor_.OnStartDrag = [this] { StartTextDrag(); };
    dragId_ = NextDragId();
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
    // Showing or hiding a bar resizes the view, which comes back here.
    const bool wasUpdating = std::exchange(updatingBars_, true);
    ApplyScrollBar(sbVertical);
    ApplyScrollBar(sbHorizontal);
    updatingBars_ = wasUpdating;
}

void TOstEditWidget::ApplyScrollBar(TOstScrollBarKind kind)
{
    const bool vertical = kind == sbVertical;
    Qt::ScrollBarPolicy policy = Qt::ScrollBarAlwaysOff;
    if (editor_.ScrollBarInfo(kind).Exists)
        policy = editor_.HasOption(eoHideShowScrollbars) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    // Setting a policy lays the area out again, even an unchanged one.
    if (vertical && verticalScrollBarPolicy() != policy)
        setVerticalScrollBarPolicy(policy);
    else if (!vertical && horizontalScrollBarPolicy() != policy)
        setHorizontalScrollBarPolicy(policy);

    const TOstScrollBarInfo info = editor_.ScrollBarInfo(kind);
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    bar->setRange(info.Min, info.Max);
    bar->setPageStep(info.Page);
    bar->setValue(info.Pos);
    bar->setEnabled(info.Enabled);
    static_cast<TOstEditScrollBar*>(bar)->SetArrowsEnabled(info.BackArrowEnabled, info.ForwardArrowEnabled);
}

void TOstEditWidget::BarActionTriggered(TOstScrollBarKind kind, int action)
{
    const std::optional<TOstScrollCode> code = ScrollCodeOf(action);
    if (!code)
        return;
    QScrollBar* bar = kind == sbVertical ? verticalScrollBar() : horizontalScrollBar();
    editor_.ScrollBarAction(kind, *code, bar->sliderPosition());
    // The bar shows where the editor went, which page steps of its own decide.
    bar->setSliderPosition(kind == sbVertical ? editor_.TopLine() : editor_.LeftChar());
    if (scrollHint_ && scrollHint_->isVisible())
        ShowScrollHint();
}

void TOstEditWidget::ShowScrollHint()
{
    const std::string text = editor_.ScrollHintText();
    if (text.empty())
        return;
    if (!scrollHint_) {
        scrollHint_ = new QLabel(this, Qt::ToolTip);
        scrollHint_->setObjectName(QStringLiteral("scrollHint"));
        scrollHint_->setMargin(2);
        scrollHint_->setAutoFillBackground(true);
    }
    QPalette palette = scrollHint_->palette();
    palette.setColor(QPalette::Window, QtCanvas::ToQColor(editor_.ScrollHintColor()));
    palette.setColor(QPalette::WindowText, QtCanvas::ToQColor(clInfoText));
    scrollHint_->setPalette(palette);
    scrollHint_->setText(QString::fromStdString(text));
    scrollHint_->adjustSize();

    int y = 10;
    const QScrollBar* bar = verticalScrollBar();
    if (editor_.HasOption(eoScrollHintFollows) && bar->maximum() > bar->minimum()) {
        // Beside the scroll box, which travels the bar's height.
        const int travel = std::max(bar->height() - scrollHint_->height(), 0);
        const int barTop = bar->mapTo(this, QPoint(0, 0)).y();
        const qint64 along = qint64{travel} * (bar->sliderPosition() - bar->minimum());
        y = barTop + static_cast<int>(along / (bar->maximum() - bar->minimum()));
    }
    const int right = viewport()->geometry().right();
    scrollHint_->move(mapToGlobal(QPoint(right - scrollHint_->width(), y)));
    scrollHint_->show();
}

void TOstEditWidget::HideScrollHint()
{
    if (scrollHint_)
        scrollHint_->hide();
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
    if (ZoomKey(*event)) {
        event->accept();
        return;
    }
    const TOstShiftState shift = ShiftStateOf(event->modifiers());
    // Characters arrive as they would with the key: none while Alt alone is
    // held (that is a menu key), and Delete produces none. AltGr gives
    // letters of the layout (Polish ones among them), often on keys without
    // a code of their own.
    std::string chars = ((shift & ssAlt) && !(shift & ssCtrl)) ? std::string() : event->text().toStdString();
    std::erase(chars, '\x7f');
    // A key the editor has no use for goes on to the windows around it.
    if (editor_.KeyStroke(VirtualKeyOf(*event), shift, chars))
        event->accept();
    else
        event->ignore();
}

// Ctrl with plus or minus zooms the text, Ctrl+0 takes it back to its size.
bool TOstEditWidget::ZoomKey(const QKeyEvent& event)
{
    if ((event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != Qt::ControlModifier)
        return false;
    switch (event.key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        Zoom(1);
        return true;
    case Qt::Key_Minus:
        Zoom(-1);
        return true;
    case Qt::Key_0:
        Zoom(0);
        return true;
    default:
        return false;
    }
}

void TOstEditWidget::Zoom(int step)
{
    TOstFont font = editor_.Font();
    if (zoomedFrom_ <= 0 || zoomedFont_ != font)
        zoomedFrom_ = font.Size();
    const int size = step == 0 ? zoomedFrom_ : std::clamp(font.Size() + step, kSmallestZoom, kLargestZoom);
    if (size == font.Size())
        return;
    font.SetSize(size);
    editor_.SetFont(font);
    zoomedFont_ = font;
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
    std::string committed;
    if (!event->commitString().isEmpty() &&
        editor_.TextForDocument(event->commitString().toStdString(), TOstEncoding::Utf8, committed))
        editor_.ImeString(committed);
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
    // A release may never come back (another window took over): the
    // selection must not go on scrolling by itself.
    editor_.MouseCaptureLost();
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
    if (event->modifiers() & Qt::ControlModifier) {
        const int delta = event->angleDelta().y();
        if (delta != 0)
            Zoom(delta > 0 ? 1 : -1);
        event->accept();
        return;
    }
    editor_.MouseWheel(ShiftStateOf(event->modifiers()), event->angleDelta().y());
    event->accept();
}

// ---- dragging text and dropping files ------------------------------------------------------

std::unique_ptr<QMimeData> TOstEditWidget::TextDragData() const
{
    auto data = std::make_unique<QMimeData>();
    data->setText(QtClipboard::PlainText(editor_.SelText(), editor_.Encoding()));
    data->setData(QString::fromLatin1(kTextDragMimeType), DragTag(dragId_));
    return data;
}

void TOstEditWidget::StartTextDrag()
{
    if (!editor_.SelAvail())
        return;
    auto* drag = new QDrag(this);  // Qt deletes it when the drag is over
    drag->setMimeData(TextDragData().release());
    // Moves happen only where an editor of ours takes the drop; other
    // programs get a copy, so the text here never goes missing.
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

TOstEditWidget* TOstEditWidget::TextDragSource(const QDropEvent& event)
{
    const QMimeData* data = event.mimeData();
    if (!data || !data->hasFormat(QString::fromLatin1(kTextDragMimeType)))
        return nullptr;
    const QByteArray tag = data->data(QString::fromLatin1(kTextDragMimeType));
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* edit = qobject_cast<TOstEditWidget*>(widget); edit && DragTag(edit->dragId_) == tag)
            return edit;
    return nullptr;
}

// Entering and moving: text from an editor of ours, or files when the editor
// takes them; anything else goes on to the windows around (the main window
// opens dropped files).
bool TOstEditWidget::AcceptDragEvent(QDropEvent& event)
{
    const QPoint p = event.position().toPoint();
    if (TOstEditWidget* source = TextDragSource(event); source && editor_.AcceptsDragFrom(&source->Editor())) {
        editor_.DragOver(&source->Editor(), p.x(), p.y());
        const Qt::KeyboardModifiers mods = event.modifiers();
        const bool copy = source == this ? (mods & Qt::ControlModifier) != 0 : !(mods & Qt::ShiftModifier);
        event.setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
        event.accept();
        return true;
    }
    if (event.mimeData() && event.mimeData()->hasUrls() && editor_.AcceptsDroppedFiles()) {
        event.acceptProposedAction();
        return true;
    }
    event.ignore();
    return false;
}

void TOstEditWidget::dragEnterEvent(QDragEnterEvent* event)
{
    AcceptDragEvent(*event);
}

void TOstEditWidget::dragMoveEvent(QDragMoveEvent* event)
{
    AcceptDragEvent(*event);
}

void TOstEditWidget::dragLeaveEvent(QDragLeaveEvent* event)
{
    editor_.DragLeave();
    event->accept();
}

void TOstEditWidget::dropEvent(QDropEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (TOstEditWidget* source = TextDragSource(*event)) {
        if (editor_.DragDrop(source->Editor(), ShiftStateOf(event->modifiers()), p.x(), p.y())) {
            event->accept();
            setFocus(Qt::MouseFocusReason);
        } else {
            event->ignore();
        }
        return;
    }
    if (event->mimeData() && event->mimeData()->hasUrls() && editor_.AcceptsDroppedFiles()) {
        std::vector<std::string> paths;
        for (const QUrl& url : event->mimeData()->urls())
            if (url.isLocalFile())
                paths.push_back(url.toLocalFile().toStdString());
        event->acceptProposedAction();
        editor_.DropFiles(paths, p.x(), p.y());
        return;
    }
    event->ignore();
}

}  // namespace ostrel
