#pragma once
// The window of an editor control: a scroll area that owns a TOstEdit, shows
// it through the engine's painter and hands it keys, input-method text,
// focus, size, mouse and scroll bars. Everything the control decides stays
// in the engine; this class only translates.

#include <QAbstractScrollArea>
#include <QLabel>
#include <QString>
#include <QTimer>
#include <memory>

#include "app/qt/QtCanvas.h"
#include "app/qt/QtClipboard.h"
#include "app/qt/QtTimer.h"
#include "editor/OstEdit.h"

class QMimeData;

namespace ostrel {

class TOstEditWidget : public QAbstractScrollArea, public TOstEditHost {
    Q_OBJECT

public:
    explicit TOstEditWidget(QWidget* parent = nullptr);
    ~TOstEditWidget() override;

    TOstEdit& Editor() { return editor_; }
    const TOstEdit& Editor() const { return editor_; }

    // TOstEditHost
    void InvalidateRows(int firstRow, int lastRow, bool withGutter) override;
    void InvalidateAll() override;
    void ScrollView(int deltaColumns, int deltaRows) override;
    void UpdateScrollBars() override;
    void UpdateCaret() override;

    QSize sizeHint() const override { return {200, 150}; }
    // What a drag of the selection carries: the text for any program, and a
    // tag by which the editors of this program know its source.
    std::unique_ptr<QMimeData> TextDragData() const;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    // Makes the text a point larger (step 1) or smaller (-1), or gives it
    // back its size before zooming (0). Only the view changes.
    void Zoom(int step);
    static constexpr int kSmallestZoom = 5;
    static constexpr int kLargestZoom = 72;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void scrollContentsBy(int, int) override {}

private:
    void VerticalBarMoved(int value);
    void HorizontalBarMoved(int value);
    void ApplyScrollBar(TOstScrollBarKind kind);
    void BarActionTriggered(TOstScrollBarKind kind, int action);
    // The hint beside the vertical bar while its scroll box is dragged.
    void ShowScrollHint();
    void HideScrollHint();
    // Runs a drag of the selection; the editor asks for it.
    void StartTextDrag();
    // The editor whose selection a drag carries, when it is one of ours.
    static TOstEditWidget* TextDragSource(const QDropEvent& event);
    bool AcceptDragEvent(QDropEvent& event);
    bool ZoomKey(const QKeyEvent& event);
    void BlinkCaret();
    void RestartCaretBlink();
    QRect CaretRect() const;
    // Text an input method is still composing, drawn over the text at the
    // caret until it is committed.
    QRect PreeditRect() const;
    void PaintPreedit(QPainter& painter);

    QtCanvas canvas_;
    QtClipboard clipboard_;
    QtTimer scrollTimer_;
    QTimer caretBlink_;
    bool caretShown_ = true;    // the blink phase
    QRect paintedCaret_;        // where the caret was last drawn
    bool updatingBars_ = false; // the bars are being set from the editor
    QLabel* scrollHint_ = nullptr;  // a child, made on first use
    quint64 dragId_ = 0;            // names this editor as a drag's source
    QString preedit_;
    int zoomedFrom_ = 0;  // the size before zooming, while the font is the zoomed one
    TOstFont zoomedFont_;
    // Last, so it goes first: it holds pointers to the members above.
    TOstEdit editor_;
};

}  // namespace ostrel
