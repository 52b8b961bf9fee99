#include "app/qt/OstEditPrintPreviewWidget.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "app/qt/OstEditScrollBar.h"

namespace ostrel {

namespace {

void ShowBar(QScrollBar& bar, const TOstScrollBarInfo& shown)
{
    bar.setRange(shown.Min, std::max(shown.Min, shown.Max));
    bar.setPageStep(shown.Page);
    bar.setValue(shown.Pos);
    bar.setEnabled(shown.Enabled);
}

}  // namespace

TOstEditPrintPreviewWidget::TOstEditPrintPreviewWidget(QWidget* parent)
    : QAbstractScrollArea(parent), canvas_(nullptr, viewport())
{
    setObjectName(QStringLiteral("seppPreview1"));
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    SetSingleBorder(true);
    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("hint"));
    hint_->setForegroundRole(QPalette::ToolTipText);
    hint_->setBackgroundRole(QPalette::ToolTipBase);
    hint_->setAutoFillBackground(true);
    hint_->setFrameShape(QFrame::Box);
    hint_->hide();

    for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
        connect(bar, &QScrollBar::actionTriggered, this,
                [this, orientation](int action) { BarAction(orientation, action); });
        connect(bar, &QScrollBar::sliderReleased, this, [this, orientation] { BarReleased(orientation); });
    }

    preview_.SetHost(this);
    preview_.SetLayoutCanvas(&canvas_);
    preview_.SetScreenDpi(logicalDpiX(), logicalDpiY());
    preview_.SetClientSize(viewport()->width(), viewport()->height());
}

TOstEditPrintPreviewWidget::~TOstEditPrintPreviewWidget()
{
    preview_.SetHost(nullptr);
}

void TOstEditPrintPreviewWidget::SetSingleBorder(bool single)
{
    setFrameStyle(single ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
}

bool TOstEditPrintPreviewWidget::SingleBorder() const
{
    return frameShape() != QFrame::NoFrame;
}

QString TOstEditPrintPreviewWidget::HintText() const
{
    return hint_->isVisible() ? hint_->text() : QString();
}

// ---- host -----------------------------------------------------------------------------

void TOstEditPrintPreviewWidget::InvalidateAll()
{
    viewport()->update();
}

void TOstEditPrintPreviewWidget::ScrollContent(int dx, int dy)
{
    viewport()->scroll(dx, dy);
}

void TOstEditPrintPreviewWidget::UpdateScrollBars()
{
    updatingBars_ = true;
    const TOstScrollBarInfo& horizontal = preview_.HorizontalBar();
    const TOstScrollBarInfo& vertical = preview_.VerticalBar();
    // Setting a policy lays the area out again, even an unchanged one.
    const auto policy = [](bool visible) { return visible ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff; };
    if (horizontalScrollBarPolicy() != policy(horizontal.Shown))
        setHorizontalScrollBarPolicy(policy(horizontal.Shown));
    if (verticalScrollBarPolicy() != policy(vertical.Shown))
        setVerticalScrollBarPolicy(policy(vertical.Shown));
    ShowBar(*horizontalScrollBar(), horizontal);
    ShowBar(*verticalScrollBar(), vertical);
    updatingBars_ = false;
}

void TOstEditPrintPreviewWidget::ShowHint(const std::string& text, int right, int top, int maxWidth)
{
    hint_->setText(QString::fromStdString(text));
    hint_->setMaximumWidth(maxWidth);
    hint_->adjustSize();
    const QPoint corner = viewport()->geometry().topLeft();
    hint_->move(corner.x() + right - hint_->width(), corner.y() + top);
    hint_->show();
    hint_->raise();
}

void TOstEditPrintPreviewWidget::HideHint()
{
    hint_->hide();
}

// ---- scroll bars ------------------------------------------------------------------

void TOstEditPrintPreviewWidget::BarAction(Qt::Orientation orientation, int action)
{
    if (updatingBars_)
        return;
    const QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    Scroll(orientation, ScrollCodeOf(action).value_or(scrEndScroll), bar->sliderPosition());
}

void TOstEditPrintPreviewWidget::BarReleased(Qt::Orientation orientation)
{
    const QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    Scroll(orientation, scrThumbPosition, bar->sliderPosition());
    Scroll(orientation, scrEndScroll, 0);
}

void TOstEditPrintPreviewWidget::Scroll(Qt::Orientation orientation, TOstScrollCode request, int thumb)
{
    if (orientation == Qt::Horizontal)
        preview_.ScrollHorizontal(request, thumb);
    else
        preview_.ScrollVertical(request, thumb);
    // The bar shows what the control decided, not where Qt moved it.
    UpdateScrollBars();
}

// ---- events -------------------------------------------------------------------------

void TOstEditPrintPreviewWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    canvas_.SetPainter(&painter);
    const QRect r = event->rect();
    preview_.Paint(canvas_, TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    canvas_.SetPainter(nullptr);
}

void TOstEditPrintPreviewWidget::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    preview_.SetClientSize(viewport()->width(), viewport()->height());
}

void TOstEditPrintPreviewWidget::wheelEvent(QWheelEvent* event)
{
    preview_.MouseWheel(event->angleDelta().y());
    event->accept();
}

void TOstEditPrintPreviewWidget::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown)
        OnMouseDown(event->button());
    event->accept();
}

}  // namespace ostrel
