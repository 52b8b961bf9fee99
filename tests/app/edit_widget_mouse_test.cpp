// The mouse on the editor's host widget, offscreen: clicks, selecting, the
// wheel, the scroll bars with their hint, dragging text and dropping files.

#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QUrl>
#include <QWheelEvent>
#include <memory>

#include "AppTestSupport.h"
#include "app/qt/OstEditScrollBar.h"
#include "app/qt/OstEditWidget.h"
#include "platform/CodePage.h"

namespace ostrel::test {
namespace {

// A shown host widget and mouse events aimed at cell boundaries of its view.
class EditWidgetMouse : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp();
        w = std::make_unique<TOstEditWidget>();
        w->resize(500, 300);
        w->show();
    }
    TOstEdit& ed() { return w->Editor(); }
    QPoint At(int column, int row)
    {
        return {ed().TextOffset() + (column - 1) * ed().CharWidth(),
                (row - ed().TopLine()) * ed().LineHeight() + ed().LineHeight() / 2};
    }
    void Send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QMouseEvent event(type, p, w->viewport()->mapToGlobal(p), button, held, mods);
        QApplication::sendEvent(w->viewport(), &event);
    }
    void Press(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonPress, p, b, b, mods);
    }
    void Move(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton, mods);
    }
    void Release(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonRelease, p, b, Qt::NoButton, mods);
    }
    void Click(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Press(p, mods);
        Release(p, mods);
    }
    void DragSelect(QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Press(from, mods);
        Move(to, mods);
        Release(to, mods);
    }
    void Wheel(int delta, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const QPoint p = At(2, 2);
        QWheelEvent event(p, w->viewport()->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(w->viewport(), &event);
    }
    // A drag from a widget enters this one and is dropped at p.
    bool DropText(TOstEditWidget& source, QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const std::unique_ptr<QMimeData> data = source.TextDragData();
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(p, actions, data.get(), Qt::LeftButton, mods);
        QApplication::sendEvent(w->viewport(), &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(p, actions, data.get(), Qt::LeftButton, mods);
        QApplication::sendEvent(w->viewport(), &move);
        QDropEvent drop(p, actions, data.get(), Qt::LeftButton, mods);
        QApplication::sendEvent(w->viewport(), &drop);
        return drop.isAccepted();
    }
    void UndoKey()
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier, QStringLiteral("\x1a"));
        QApplication::sendEvent(w.get(), &press);
    }

    std::unique_ptr<TOstEditWidget> w;
};

std::string Numbered(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

// ---- clicks and selecting ------------------------------------------------------------------

TEST_F(EditWidgetMouse, ClickPlacesTheCaretAndShiftClickExtends)
{
    ed().SetText("first line\r\nsecond line");
    Click(At(3, 1));
    EXPECT_EQ(ed().CaretXY(), (TBufferCoord{3, 1}));
    Click(At(7, 2), Qt::ShiftModifier);
    EXPECT_EQ(ed().SelText(), "rst line\r\nsecond");
    Click(At(2, 2));
    EXPECT_FALSE(ed().SelAvail());
    EXPECT_EQ(ed().CaretXY(), (TBufferCoord{2, 2}));
}

TEST_F(EditWidgetMouse, DraggingSelectsAndDoubleClickTakesAWord)
{
    ed().SetText(codepage::FromUtf8("alpha żółw gamma"));
    DragSelect(At(2, 1), At(5, 1));
    EXPECT_EQ(ed().SelText(), "lph");
    // The second press of a double click comes as a double-click event.
    Press(At(8, 1));
    Release(At(8, 1));
    Send(QEvent::MouseButtonDblClick, At(8, 1), Qt::LeftButton, Qt::LeftButton);
    Release(At(8, 1));
    EXPECT_EQ(ed().SelText(), codepage::FromUtf8("żółw"));
}

TEST_F(EditWidgetMouse, AltDragSelectsAColumn)
{
    ed().SetOption(eoAltSetsColumnMode, true);
    ed().SetText("abcdef\r\nghijkl\r\nmnopqr");
    DragSelect(At(2, 1), At(5, 3), Qt::AltModifier);
    EXPECT_EQ(ed().ActiveSelectionMode(), smColumn);
    EXPECT_EQ(ed().SelText(), "bcd\r\nhij\r\nnop");
    DragSelect(At(2, 1), At(3, 2));
    EXPECT_EQ(ed().ActiveSelectionMode(), smNormal);
    EXPECT_EQ(ed().SelText(), "bcdef\r\ngh");
}

TEST_F(EditWidgetMouse, MovingFromTheSelectionDragsItInsteadOfSelecting)
{
    ed().SetText("one two three");
    DragSelect(At(5, 1), At(8, 1));
    Press(At(6, 1));
    Move(At(12, 1));
    Release(At(12, 1));
    EXPECT_EQ(ed().SelText(), "two");
    EXPECT_EQ(ed().Text(), "one two three");
    EXPECT_FALSE(ed().MouseCaptured());
}

// ---- wheel and scroll bars -------------------------------------------------------------------

TEST_F(EditWidgetMouse, WheelScrollsByTheDesktopsLineCount)
{
    ed().SetText(Numbered(200));
    ed().SetCaretXY({1, 1});
    const int lines = QApplication::wheelScrollLines();
    Wheel(-120);
    EXPECT_EQ(ed().TopLine(), 1 + lines);
    Wheel(-60);
    Wheel(-60);
    EXPECT_EQ(ed().TopLine(), 1 + 2 * lines);
    EXPECT_EQ(w->verticalScrollBar()->value(), ed().TopLine());
}

TEST_F(EditWidgetMouse, CtrlWheelZoomsTheTextAndCtrlZeroTakesItBack)
{
    ed().SetText(Numbered(200));
    ed().SetCaretXY({1, 1});
    const int size = ed().Font().Size();
    const int cell = ed().CharWidth();
    Wheel(120, Qt::ControlModifier);
    Wheel(120, Qt::ControlModifier);
    EXPECT_EQ(ed().Font().Size(), size + 2);
    EXPECT_GT(ed().CharWidth(), cell);
    EXPECT_EQ(ed().TopLine(), 1) << "zooming scrolls nothing";
    Wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(ed().Font().Size(), size + 1);
    QKeyEvent reset(QEvent::KeyPress, Qt::Key_0, Qt::ControlModifier, QStringLiteral("0"));
    QApplication::sendEvent(w.get(), &reset);
    EXPECT_EQ(ed().Font().Size(), size);
    EXPECT_EQ(ed().CharWidth(), cell);
    EXPECT_EQ(ed().Text(), Numbered(200)) << "no key reached the text";
}

TEST_F(EditWidgetMouse, BarStepsGoThroughTheEditor)
{
    ed().SetText(Numbered(200));
    ed().SetCaretXY({1, 1});
    QScrollBar* bar = w->verticalScrollBar();
    const int lines = ed().LinesInWindow();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(ed().TopLine(), 1 + lines);
    ed().SetOption(eoScrollByOneLess, true);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(ed().TopLine(), 1 + 2 * lines - 1);
    EXPECT_EQ(bar->value(), ed().TopLine());
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(ed().TopLine(), 2 * lines - 1);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(ed().TopLine(), ed().DisplayLineCount() - lines + 1);
}

TEST_F(EditWidgetMouse, ArrowsAtAnEndShowDisabledWithTheOption)
{
    ed().SetText(Numbered(200));
    ed().SetCaretXY({1, 1});
    auto* bar = dynamic_cast<TOstEditScrollBar*>(w->verticalScrollBar());
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->BackArrowEnabled());
    ed().SetOption(eoDisableScrollArrows, true);
    EXPECT_FALSE(bar->BackArrowEnabled());
    EXPECT_TRUE(bar->ForwardArrowEnabled());
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_TRUE(bar->BackArrowEnabled());
    EXPECT_FALSE(bar->ForwardArrowEnabled());
    w->grab();  // paints the veiled arrow
}

TEST_F(EditWidgetMouse, DraggingTheScrollBoxShowsTheHint)
{
    ed().SetText(Numbered(200));
    QScrollBar* bar = w->verticalScrollBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(40);
    EXPECT_EQ(ed().TopLine(), 40);
    auto* hint = w->findChild<QLabel*>(QStringLiteral("scrollHint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), QStringLiteral("Top Line: 40"));
    ed().SetScrollHintFormat(shfTopToBottom);
    bar->setSliderPosition(50);
    EXPECT_EQ(hint->text(), QStringLiteral("50 - %1").arg(50 + ed().LinesInWindow() - 1));
    bar->setSliderDown(false);
    EXPECT_FALSE(hint->isVisible());

    // Following the scroll box, the hint goes down with it.
    ed().SetOption(eoScrollHintFollows, true);
    bar->setSliderDown(true);
    bar->setSliderPosition(5);
    const int high = hint->y();
    bar->setSliderPosition(150);
    EXPECT_GT(hint->y(), high);
    bar->setSliderDown(false);

    // Without eoShowScrollHint no hint appears.
    ed().SetOption(eoShowScrollHint, false);
    bar->setSliderDown(true);
    EXPECT_FALSE(hint->isVisible());
    bar->setSliderDown(false);
}

TEST_F(EditWidgetMouse, BarsAreHiddenOrDisabledWhileTheTextFits)
{
    ed().SetOption(eoScrollPastEol, false);
    ed().SetText("short");
    EXPECT_TRUE(w->verticalScrollBar()->isVisible());
    EXPECT_FALSE(w->verticalScrollBar()->isEnabled());
    ed().SetOption(eoHideShowScrollbars, true);
    QApplication::processEvents();
    EXPECT_FALSE(w->verticalScrollBar()->isVisible());
    EXPECT_FALSE(w->horizontalScrollBar()->isVisible());
    ed().SetText(Numbered(200));
    QApplication::processEvents();
    EXPECT_TRUE(w->verticalScrollBar()->isVisible());
    EXPECT_TRUE(w->verticalScrollBar()->isEnabled());
    ed().SetScrollBars(ssNone);
    QApplication::processEvents();
    EXPECT_FALSE(w->verticalScrollBar()->isVisible());
}

// ---- dragging text ----------------------------------------------------------------------------

TEST_F(EditWidgetMouse, DroppedSelectionMovesOrWithCtrlCopiesAndUndoes)
{
    ed().SetText("one two three");
    DragSelect(At(4, 1), At(8, 1));
    ASSERT_EQ(ed().SelText(), " two");
    ASSERT_TRUE(DropText(*w, At(14, 1)));
    EXPECT_EQ(ed().Text(), "one three two");
    EXPECT_EQ(ed().SelText(), " two");
    UndoKey();
    EXPECT_EQ(ed().Text(), "one two three");

    DragSelect(At(1, 1), At(4, 1));
    ASSERT_TRUE(DropText(*w, At(14, 1), Qt::ControlModifier));
    EXPECT_EQ(ed().Text(), "one two threeone");
    UndoKey();
    EXPECT_EQ(ed().Text(), "one two three");
    // On the selection itself nothing happens.
    DragSelect(At(1, 1), At(4, 1));
    EXPECT_FALSE(DropText(*w, At(2, 1)));
    EXPECT_EQ(ed().Text(), "one two three");
}

TEST_F(EditWidgetMouse, TextDragsBetweenEditorsCopyAndFilesPassOn)
{
    TOstEditWidget source;
    source.Editor().SetText("abc");
    source.Editor().SelectAll();
    ed().SetText("xy");
    ASSERT_TRUE(DropText(source, At(2, 1)));
    EXPECT_EQ(ed().Text(), "xabcy");
    EXPECT_EQ(source.Editor().Text(), "abc");
    // Plain text from elsewhere is no editor's drag.
    QMimeData foreign;
    foreign.setText(QStringLiteral("zz"));
    QDragEnterEvent enter(At(1, 1), Qt::CopyAction, &foreign, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(EditWidgetMouse, FilesGoToTheEditorsHandlerWhenItTakesThem)
{
    std::vector<std::string> got;
    ed().OnDropFiles = [&](const std::vector<std::string>& paths, int, int) { got = paths; };
    ed().SetOption(eoDropFiles, true);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromUtf8("/tmp/zażółć.txt"))});
    QDragEnterEvent enter(At(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w->viewport(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(At(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w->viewport(), &drop);
    EXPECT_EQ(got, std::vector<std::string>{"/tmp/zażółć.txt"});
}

using EditWidgetInWindow = MainWindowTest;

TEST_F(EditWidgetInWindow, AFileDroppedOnTheTextOpensInTheWindow)
{
    TempDir dir;
    WriteFile(dir / "dropped.txt", "dropped text");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Q(dir / "dropped.txt"))});
    QWidget* view = Current().EditWidget().viewport();
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &drop);
    ASSERT_EQ(window->DocumentCount(), 1);
    EXPECT_EQ(TabCaption(0), QStringLiteral("dropped.txt"));
    EXPECT_EQ(Current().Editor().Text(), "dropped text");
}

}  // namespace
}  // namespace ostrel::test

