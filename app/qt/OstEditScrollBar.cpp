#include "app/qt/OstEditScrollBar.h"

#include <QPainter>
#include <QStyleOptionSlider>

namespace ostrel {

std::optional<TOstScrollCode> ScrollCodeOf(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return scrLineForward;
    case QAbstractSlider::SliderSingleStepSub: return scrLineBack;
    case QAbstractSlider::SliderPageStepAdd: return scrPageForward;
    case QAbstractSlider::SliderPageStepSub: return scrPageBack;
    case QAbstractSlider::SliderToMinimum: return scrFirst;
    case QAbstractSlider::SliderToMaximum: return scrLast;
    case QAbstractSlider::SliderMove: return scrThumbTrack;
    default: return std::nullopt;
    }
}

TOstEditScrollBar::TOstEditScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent)
{
}

void TOstEditScrollBar::SetArrowsEnabled(bool back, bool forward)
{
    if (back == backArrow_ && forward == forwardArrow_)
        return;
    backArrow_ = back;
    forwardArrow_ = forward;
    update();
}

void TOstEditScrollBar::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);
    if (backArrow_ && forwardArrow_)
        return;
    // Qt's styles know no arrow disabled on its own: the arrow is veiled in
    // the bar's background, as a disabled bar would draw it.
    QPainter painter(this);
    if (!backArrow_)
        DimArrow(painter, QStyle::SC_ScrollBarSubLine);
    if (!forwardArrow_)
        DimArrow(painter, QStyle::SC_ScrollBarAddLine);
}

void TOstEditScrollBar::DimArrow(QPainter& painter, QStyle::SubControl arrow) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    QColor veil = palette().color(QPalette::Window);
    veil.setAlpha(160);
    painter.fillRect(style()->subControlRect(QStyle::CC_ScrollBar, &option, arrow, this), veil);
}

}  // namespace ostrel
