#pragma once
// The window of the print preview control: a scroll area that owns a
// TOstEditPrintPreview, paints it through the engine and hands it its size,
// scroll bars, wheel and clicks. The geometry and the page shown are the
// engine's; this class only translates.

#include <QAbstractScrollArea>
#include <functional>

#include "app/qt/QtCanvas.h"
#include "print/OstEditPrintPreview.h"

class QLabel;

namespace ostrel {

class TOstEditPrintPreviewWidget : public QAbstractScrollArea, public TOstPreviewHost {
public:
    explicit TOstEditPrintPreviewWidget(QWidget* parent = nullptr);
    ~TOstEditPrintPreviewWidget() override;

    TOstEditPrintPreview& Preview() { return preview_; }
    const TOstEditPrintPreview& Preview() const { return preview_; }
    // A sunken edge around the control, or none.
    void SetSingleBorder(bool single);
    bool SingleBorder() const;
    // What the page-selector hint shows; empty while it is hidden.
    QString HintText() const;

    // A mouse button went down on the page.
    std::function<void(Qt::MouseButton button)> OnMouseDown;

    // TOstPreviewHost
    void InvalidateAll() override;
    void ScrollContent(int dx, int dy) override;
    void UpdateScrollBars() override;
    void ShowHint(const std::string& text, int right, int top, int maxWidth) override;
    void HideHint() override;

    QSize sizeHint() const override { return {200, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void scrollContentsBy(int, int) override {}

private:
    void BarAction(Qt::Orientation orientation, int action);
    void BarReleased(Qt::Orientation orientation);
    void Scroll(Qt::Orientation orientation, TOstScrollCode request, int thumb);

    QtCanvas canvas_;
    QLabel* hint_ = nullptr;
    bool updatingBars_ = false;
    // Last, so it goes first: it points at the canvas and at this host.
    TOstEditPrintPreview preview_;
};

}  // namespace ostrel
