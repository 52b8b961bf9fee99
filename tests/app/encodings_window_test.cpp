// Encodings in the window: files open in their own encoding and save back
// their bytes, keys of the Polish layout arrive, text from other programs
// comes in where the document can hold it and asks where it cannot, and the
// "Kodowanie" menu reads or writes a document in another encoding.

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

#include "app/qt/OstEditWidget.h"
#include "AppTestSupport.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

// Qt names a letter key of the layout by the letter's capital: Ż, Ą.
constexpr int kKeyZDot = 0x17B;
constexpr int kKeyAOgonek = 0x104;

class EncodingsWindowTest : public MainWindowTest {
protected:
    // A key as xkb's Polish layout gives it: AltGr letters carry a key code
    // Qt has no virtual key for, and their text.
    void Press(int key, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier) const
    {
        QWidget& w = Current().EditWidget();
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(&w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QApplication::sendEvent(&w, &release);
    }
    std::string Bytes() const { return Current().Editor().Lines().Text(); }
};

}  // namespace

TEST_F(EncodingsWindowTest, APolishLetterAfterACommandKeyArrivesAndSavesAsUtf8)
{
    TempDir dir;
    OpenFile(dir.path(), "page.html", "<p>ab</p>\n");
    EXPECT_EQ(window->EncodingPanelText(), QStringLiteral("UTF-8"));
    Current().Editor().SetCaretXY({4, 1});
    Press(Qt::Key_Right);
    Press(kKeyZDot, QStringLiteral("ż"), Qt::GroupSwitchModifier);
    Press(kKeyAOgonek, QStringLiteral("ą"), Qt::GroupSwitchModifier);
    EXPECT_EQ(Bytes(), "<p>ażąb</p>\n");
    Click("miZapisz1");
    EXPECT_EQ(ReadFile(dir / "page.html"), "<p>a\xC5\xBC\xC4\x85" "b</p>\n");
}

TEST_F(EncodingsWindowTest, AWindows1250FileOpensAsItselfAndKeepsItsBytes)
{
    TempDir dir;
    const std::string polish = "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1\n";
    OpenFile(dir.path(), "pl.txt", polish);
    EXPECT_EQ(window->EncodingPanelText(), QStringLiteral("Windows-1250"));
    Current().Editor().SetCaretXY({1, 1});
    Press(kKeyZDot, QStringLiteral("ż"));
    Click("miZapisz1");
    EXPECT_EQ(ReadFile(dir / "pl.txt"), "\xBF" + polish);
}

TEST_F(EncodingsWindowTest, TextFromAnotherProgramComesInWhereItCanAndAsksWhereItCannot)
{
    Current().Editor().Lines().SetEncoding(TOstEncoding::Windows1250);
    QGuiApplication::clipboard()->setText(QStringLiteral("żółw"));
    Click("miWklej2");
    EXPECT_EQ(Bytes(), "\xBF\xF3\xB3w\r\n");

    QGuiApplication::clipboard()->setText(QStringLiteral(" Здравствуйте"));
    dialogs->answers.push_back(TAnswer::No);
    Click("miWklej2");
    EXPECT_EQ(Bytes(), "\xBF\xF3\xB3w\r\n") << "declined: nothing goes in, and no '?'";
    ASSERT_EQ(dialogs->Count(QStringLiteral("question")), 1);
    EXPECT_TRUE(dialogs->Texts(QStringLiteral("question"))[0].contains(QStringLiteral("„З”")));

    dialogs->answers.push_back(TAnswer::Yes);
    Click("miWklej2");
    EXPECT_EQ(window->EncodingPanelText(), QStringLiteral("UTF-8"));
    EXPECT_EQ(Bytes(), "żółw Здравствуйте\r\n");
    Click("miCofnij1");
    Click("miCofnij1");
    EXPECT_EQ(window->EncodingPanelText(), QStringLiteral("Windows-1250"));
    EXPECT_EQ(Bytes(), "\xBF\xF3\xB3w\r\n");
}

TEST_F(EncodingsWindowTest, ReopeningReadsTheSameBytesAndConvertingKeepsTheCharacters)
{
    TempDir dir;
    const std::string iso = "g\xEA\xB6l\xB1\n";
    OpenFile(dir.path(), "iso.txt", iso);
    EXPECT_EQ(window->EncodingPanelText(), QStringLiteral("ISO-8859-2"));
    Click("miOtworzJako_windows-1250");
    EXPECT_EQ(window->EncodingPanelText(), QStringLiteral("Windows-1250"));
    EXPECT_EQ(Bytes(), "g\xEA\xB6l\xB1\n");
    EXPECT_FALSE(Current().Editor().Modified());

    Click("miOtworzJako_iso-8859-2");
    Click("miKonwertujNa_utf-8");
    EXPECT_EQ(Bytes(), "gęślą\n");
    EXPECT_TRUE(Current().Editor().Modified());
    Click("miZapisz1");
    EXPECT_EQ(ReadFile(dir / "iso.txt"), "gęślą\n");
    Click("miCofnij1");
    EXPECT_EQ(window->EncodingPanelText(), QStringLiteral("ISO-8859-2"));

    // A character a code page lacks keeps the document as it is.
    window->NewDocument(nullptr, true);
    Current().Editor().SetText("日本");
    Click("miKonwertujNa_windows-1250");
    EXPECT_EQ(window->EncodingPanelText(), QStringLiteral("UTF-8"));
    EXPECT_EQ(dialogs->Count(QStringLiteral("error")), 1);
}

TEST_F(EncodingsWindowTest, TheOpenDialogsChoiceAndTheDefaultEncodingDecide)
{
    TempDir dir;
    WriteFile(dir / "a.txt", "plain\n");
    dialogs->openChoices.push_back({Q(dir / "a.txt")});
    dialogs->openEncoding = TOstEncoding::Utf16Le;
    Click("miOtworz1");
    EXPECT_EQ(window->EncodingPanelText(), QStringLiteral("UTF-16LE"));

    window->DefaultEncoding = TOstEncoding::Iso88592;
    dialogs->openChoices.push_back({Q(dir / "a.txt")});
    dialogs->openEncoding.reset();
    dialogs->answers.push_back(TAnswer::Yes);  // already open: open it again
    Click("miOtworz1");
    EXPECT_EQ(window->EncodingPanelText(), QStringLiteral("ISO-8859-2")) << "plain ASCII takes the default";
    window->NewDocument(nullptr, true);
    EXPECT_EQ(window->EncodingPanelText(), QStringLiteral("ISO-8859-2"));
}
