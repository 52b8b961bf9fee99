// The find bar: incremental search as letters are typed, the count, the
// options, going on with F3 and Shift+F3, replacing, every match in view
// highlighted, and Escape.

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include "AppTestSupport.h"
#include "app/FindBar.h"
#include "app/GlobalRes.h"
#include "app/qt/OstEditWidget.h"
#include "platform/RecordingCanvas.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

class FindBarTest : public MainWindowTest {
protected:
    TFindBar& Bar() const { return window->FindBar(); }
    template <class T>
    T* Child(const char* name) const
    {
        T* child = Bar().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    TOstEdit& Ed() const { return Current().Editor(); }
    void Key(QWidget* target, int key, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier) const
    {
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QApplication::sendEvent(target, &release);
    }
    // Letters as the user types them into the field.
    void TypeIntoField(const QString& text) const
    {
        for (QChar c : text)
            Key(Child<QLineEdit>("edZnajdz1"), 0, QString(c));
    }
    std::string Selected() const { return Ed().SelText(); }
    QString Counter() const
    {
        Bar().FinishCount();
        return Child<QLabel>("lbLicznik1")->text();
    }
};

}  // namespace

TEST_F(FindBarTest, CtrlFOpensTheBarAndTypingFindsAsItGoes)
{
    Ed().SetText("alfa beta\r\nbeta gamma\r\nbetonowy beton\r\n");
    Ed().SetCaretXY({1, 1});
    Click("miZnajdz1");
    EXPECT_TRUE(Bar().isVisible());
    EXPECT_EQ(dialogs->shown.size(), 0u) << "no dialog";
    TypeIntoField(QStringLiteral("b"));
    EXPECT_EQ(Selected(), "b");
    EXPECT_EQ(Ed().BlockBegin(), (TBufferCoord{6, 1}));
    TypeIntoField(QStringLiteral("eto"));
    EXPECT_EQ(Selected(), "beto");
    EXPECT_EQ(Ed().BlockBegin(), (TBufferCoord{1, 3})) << "the search goes on from where typing began";
    EXPECT_EQ(Counter(), QStringLiteral("2 wystąpienia"));
    Key(Child<QLineEdit>("edZnajdz1"), Qt::Key_Backspace);
    EXPECT_EQ(Ed().BlockBegin(), (TBufferCoord{6, 1}));
    EXPECT_EQ(Counter(), QStringLiteral("4 wystąpienia"));
}

TEST_F(FindBarTest, F3AndShiftF3GoOnRoundTheEnds)
{
    Ed().SetText("x1 x2\r\nx3\r\n");
    Ed().SetCaretXY({1, 1});
    Click("miZnajdz1");
    TypeIntoField(QStringLiteral("x"));
    EXPECT_EQ(Ed().BlockBegin(), (TBufferCoord{1, 1}));
    Click("miZnajdzNastepny1");
    EXPECT_EQ(Ed().BlockBegin(), (TBufferCoord{4, 1}));
    Click("miZnajdzNastepny1");
    EXPECT_EQ(Ed().BlockBegin(), (TBufferCoord{1, 2}));
    Click("miZnajdzNastepny1");
    EXPECT_EQ(Ed().BlockBegin(), (TBufferCoord{1, 1})) << "round the end";
    Click("miZnajdzPoprzedni1");
    EXPECT_EQ(Ed().BlockBegin(), (TBufferCoord{1, 2})) << "and back round the start";
    Key(Child<QLineEdit>("edZnajdz1"), Qt::Key_F3, {}, Qt::ShiftModifier);
    EXPECT_EQ(Ed().BlockBegin(), (TBufferCoord{4, 1}));
}

TEST_F(FindBarTest, CaseAndRegularExpressionsAndTextThatIsNowhere)
{
    Ed().SetText("Kot kot KOT żółw\r\na1 aa22");
    Ed().SetCaretXY({1, 1});
    Click("miZnajdz1");
    TypeIntoField(QStringLiteral("kot"));
    EXPECT_EQ(Counter(), QStringLiteral("3 wystąpienia")) << Counter().toStdString();
    Child<QCheckBox>("cbWielkoscLiter1")->setChecked(true);
    EXPECT_EQ(Counter(), QStringLiteral("1 wystąpienie"));
    EXPECT_EQ(Selected(), "kot");
    Child<QLineEdit>("edZnajdz1")->clear();
    TypeIntoField(QStringLiteral("żółw"));
    EXPECT_EQ(Selected(), "żółw");

    Child<QLineEdit>("edZnajdz1")->clear();
    Child<QCheckBox>("cbWyrazeniaRegularne1")->setChecked(true);
    TypeIntoField(QStringLiteral("a+\\d+"));
    EXPECT_EQ(Counter(), QStringLiteral("2 wystąpienia"));
    EXPECT_EQ(Selected(), "a1");
    TypeIntoField(QStringLiteral("("));
    EXPECT_EQ(Counter(), res::kFindBarBadPattern) << "an unfinished expression says so";

    Child<QLineEdit>("edZnajdz1")->clear();
    TypeIntoField(QStringLiteral("qqq"));
    EXPECT_TRUE(Bar().NotFound());
    EXPECT_EQ(Counter(), QStringLiteral("Nie znaleziono"));
}

TEST_F(FindBarTest, EveryMatchInViewIsHighlightedUntilEscapeClosesTheBar)
{
    Ed().SetText("ab ab ab\r\n");
    Ed().SetCaretXY({1, 1});
    Click("miZnajdz1");
    TypeIntoField(QStringLiteral("ab"));
    ASSERT_NE(Ed().MatchHighlight(), nullptr);
    RecordingCanvas canvas;
    Ed().Paint(canvas, {0, 0, Ed().ClientWidth(), Ed().ClientHeight()});
    const auto background = [&](int column) {
        return canvas.PixelAt(Ed().TextOffset() + (column - 1) * Ed().CharWidth() + 1, Ed().LineHeight() / 2)
            .background;
    };
    EXPECT_EQ(background(4), Ed().MatchColor());
    EXPECT_EQ(background(8), Ed().MatchColor());
    EXPECT_NE(background(3), Ed().MatchColor());
    Key(Child<QLineEdit>("edZnajdz1"), Qt::Key_Escape);
    EXPECT_FALSE(Bar().isVisible());
    EXPECT_EQ(Ed().MatchHighlight(), nullptr);
}

TEST_F(FindBarTest, ReplacingFromTheBar)
{
    Ed().SetText("kot i kot, i kot");
    Ed().SetCaretXY({1, 1});
    Click("miZamien1");
    TypeIntoField(QStringLiteral("kot"));
    Child<QLineEdit>("edZamien1")->setText(QStringLiteral("pies"));
    Child<QPushButton>("btnZamien1")->click();
    EXPECT_EQ(Ed().Lines().Text(), "pies i kot, i kot\r\n");
    EXPECT_EQ(Ed().BlockBegin(), (TBufferCoord{8, 1})) << "on to the next match";
    Child<QPushButton>("btnZamienWszystkie1")->click();
    EXPECT_EQ(Ed().Lines().Text(), "pies i pies, i pies\r\n");
    EXPECT_EQ(Counter(), QStringLiteral("Nie znaleziono"));
    Click("miCofnij1");
    EXPECT_EQ(Ed().Lines().Text(), "pies i kot, i kot\r\n") << "replacing all is one step";
}

TEST_F(FindBarTest, WithTheSettingOffCtrlFOpensTheDialog)
{
    window->FindBarEnabled = false;
    window->ExecDialog = [](QDialog&) { return 0; };
    Click("miZnajdz1");
    EXPECT_FALSE(Bar().isVisible());
}

// A search that takes long shows its progress; cancelling it ends the
// search, not only its first half (from the caret, then round the end).
TEST_F(FindBarTest, ALongSearchCanBeCancelledWholly)
{
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += std::string(99, 'x') + "z\r\n";
    Ed().SetText(text);
    Ed().SetCaretXY({1, 50000});
    Click("miZnajdz1");
    Child<QCheckBox>("cbWyrazeniaRegularne1")->setChecked(true);
    int shown = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = window->findChild<QProgressDialog*>(QStringLiteral("dlgPostepWyszukiwania1"));
        if (dialog && dialog->isVisible() && !dialog->wasCanceled()) {
            ++shown;
            dialog->cancel();
        }
    });
    watch.start(20);
    TypeIntoField(QStringLiteral("x.*?q"));
    EXPECT_EQ(shown, 1) << "only the last letter's search is long; once cancelled it ends";
    EXPECT_TRUE(Ed().Text() == text);
}
