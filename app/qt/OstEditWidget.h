#pragma once
// The window of an editor control: a scroll area that owns a TOstEdit, shows
// it through the engine's painter and hands it keys, input-method text,
// focus, size, mouse and scroll bars. Everything the control decides stays
// in the engine; this class only translates.

#include <QAbstractScrollArea>
#include <QString>
#include <QTimer>

#include "app/qt/QtCanvas.h"
#include "app/qt/QtClipboard.h"
#include "app/qt/QtTimer.h"
#include "editor/OstEdit.h"

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
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

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
    void scrollContentsBy(int, int) override {}

private:
    void VerticalBarMoved(int value);
    void HorizontalBarMoved(int value);
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
    QString preedit_;
    // Last, so it goes first: it holds pointers to the members above.
    TOstEdit editor_;
};

}  // namespace ostrel
