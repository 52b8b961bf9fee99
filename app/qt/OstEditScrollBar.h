#pragma once
// A scroll bar of the editor's window whose arrows can show disabled one by
// one: with eoDisableScrollArrows the arrow pointing at an end the view
// already stands at is greyed out.

#include <QScrollBar>
#include <QStyle>
#include <optional>

#include "editor/OstEditScrollTypes.h"

class QPainter;

namespace ostrel {

// The scroll request of a bar action; none for an action the views ignore.
std::optional<TOstScrollCode> ScrollCodeOf(int action);

class TOstEditScrollBar final : public QScrollBar {
public:
    TOstEditScrollBar(Qt::Orientation orientation, QWidget* parent);

    void SetArrowsEnabled(bool back, bool forward);
    bool BackArrowEnabled() const { return backArrow_; }
    bool ForwardArrowEnabled() const { return forwardArrow_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DimArrow(QPainter& painter, QStyle::SubControl arrow) const;

    bool backArrow_ = true;
    bool forwardArrow_ = true;
};

}  // namespace ostrel
