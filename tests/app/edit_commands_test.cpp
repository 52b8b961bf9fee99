// The editing commands of "&Edycja", "&Funkcje" and the editor's popup: what
// they do to the current document's text and caret, and when they are enabled.

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QMenu>

#include "AppTestSupport.h"
#include "app/GlobalRes.h"
#include "app/qt/OstEditWidget.h"
#include "platform/CodePage.h"

// What QTest uses to put a key through the shortcut map as a real key press
// does; exported by Qt GUI.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep, ushort count);

namespace ostrel::test {
namespace {

class EditCommandsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window->activateWindow();
        QApplication::processEvents();
    }
    void PressShortcut(QKeyCombination key) const
    {
        EXPECT_TRUE(qt_sendShortcutOverrideEvent(&Current().EditWidget(), 0, key.key(), key.keyboardModifiers(),
                                                 QString(), false, 1))
            << "no shortcut took the key " << key.toCombined();
    }
    TOstEdit& Editor() const { return Current().Editor(); }
    std::string Text() const { return Editor().Text(); }
    void Select(int start, int end) const
    {
        Editor().SetSelStart(start);
        Editor().SetSelEnd(end);
    }
    // Lines 1 to count, each holding its own number.
    void NumberedLines(int count) const
    {
        for (int i = 1; i <= count; ++i)
            Type((std::to_string(i) + (i < count ? "\r\n" : "")).c_str());
    }
};

// ---- CapitaliseWords ----------------------------------------------------------------------

TEST(CapitaliseWordsTest, ChangesTheLetterAfterEachBlankOnly)
{
    EXPECT_EQ(CapitaliseWords("ala ma kota", true, false), "Ala Ma Kota");
    EXPECT_EQ(CapitaliseWords("ALA MA KOTA", false, false), "aLA mA kOTA");
    EXPECT_EQ(CapitaliseWords("aLA", true, false), "ALA");
    EXPECT_EQ(CapitaliseWords("Ala", false, false), "ala");
    EXPECT_EQ(CapitaliseWords("", true, false), "");
    EXPECT_EQ(CapitaliseWords("ala ", true, false), "Ala ");
}

TEST(CapitaliseWordsTest, AWordAfterTwoBlanksKeepsItsCase)
{
    EXPECT_EQ(CapitaliseWords("ala  ma kota", true, false), "Ala  ma Kota");
}

TEST(CapitaliseWordsTest, TabsAndLineBreaksDoNotSeparateWords)
{
    EXPECT_EQ(CapitaliseWords("ala\tma kota", true, false), "Ala\tma Kota");
    EXPECT_EQ(CapitaliseWords("ala\r\nma kota", true, false), "Ala\r\nma Kota");
}

TEST(CapitaliseWordsTest, ContinuingLeavesTheFirstLetterAndPolishLettersChangeToo)
{
    EXPECT_EQ(CapitaliseWords("ala \xBF\xF3\xB3w", true, true), "ala \xAF\xF3\xB3w");
}

// ---- clipboard, undo and enabling ------------------------------------------------------------

TEST_F(EditCommandsTest, UndoMarksTheDocumentModifiedEvenWhenEverythingIsUndone)
{
    Type("x");
    window->UpdateModifiedState(false);
    Click("miCofnij1");
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(window->StatusPanelText(0), res::kModified);
    Click("miPowtorz1");
    EXPECT_EQ(Text(), "x");
}

TEST_F(EditCommandsTest, EditMenuEnablesWhatTheEditorCanDo)
{
    window->Edycja1Click();
    for (const char* name : {"miCofnij1", "miPowtorz1", "miWytnij1", "miKopiuj1", "miUsun2", "miDuplikujWiersz1"})
        EXPECT_FALSE(Action(name)->isEnabled()) << name;
    Type("abc");
    Editor().SelectAll();
    window->Edycja1Click();
    for (const char* name : {"miCofnij1", "miWytnij1", "miKopiuj1", "miUsun2", "miDuplikujWiersz1"})
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    EXPECT_FALSE(Action("miPowtorz1")->isEnabled());
    EXPECT_TRUE(Action("tbCofnij1")->isEnabled());
    for (const char* name : {"tbWytnij1", "tbKopiuj1", "tbWklej1", "tbUsun1"})
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
}

TEST_F(EditCommandsTest, PopupEnablesItsOwnItems)
{
    window->pmMain1Popup();
    EXPECT_FALSE(Action("pmiWytnij1")->isEnabled());
    EXPECT_FALSE(Action("pmiCofnij1")->isEnabled());
    Type("abc");
    Editor().SelectAll();
    window->pmMain1Popup();
    EXPECT_TRUE(Action("pmiWytnij1")->isEnabled());
    EXPECT_TRUE(Action("pmiCofnij1")->isEnabled());
    EXPECT_TRUE(Action("pmiUsun1")->isEnabled());
}

TEST_F(EditCommandsTest, DeleteRemovesTheSelectionAndSelectAllSelectsEverything)
{
    Type("ab\r\ncd");
    Click("miZaznaczWszystko1");
    EXPECT_EQ(Editor().SelText(), "ab\r\ncd");
    Select(1, 2);
    Click("miUsun2");
    EXPECT_EQ(Text(), "a\r\ncd");
    Click("miUsun2");
    EXPECT_EQ(Text(), "a\r\ncd");
}

TEST_F(EditCommandsTest, CutAndPasteGoThroughTheClipboard)
{
    Type("abc");
    Select(0, 1);
    Click("miWytnij1");
    EXPECT_EQ(Text(), "bc");
    Editor().SetCaretXY({3, 1});
    Click("miWklej2");
    EXPECT_EQ(Text(), "bca");
}

// ---- lines -----------------------------------------------------------------------------------------

TEST_F(EditCommandsTest, DeleteLineOnTheOnlyLineLeavesOneEmptyLine)
{
    Type("abc");
    Click("miUsunWiersz1");
    EXPECT_EQ(Editor().Lines().Count(), 1);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(Action("miUsunWiersz1")->shortcut(), QKeySequence(QStringLiteral("F8")));
}

TEST_F(EditCommandsTest, DeleteLineRemovesTheCaretsLineAndGoesUp)
{
    NumberedLines(6);
    window->UpdateModifiedState(false);
    Editor().SetCaretXY({1, 5});
    Click("miUsunWiersz1");
    EXPECT_EQ(Editor().Lines().Count(), 5);
    EXPECT_EQ(Editor().Lines().Get(4), "6");
    EXPECT_EQ(Editor().CaretY(), 4);
    EXPECT_EQ(window->StatusPanelText(0), res::kModified);
}

TEST_F(EditCommandsTest, DuplicateLinePutsTheCopyAbove)
{
    NumberedLines(3);
    Editor().SetCaretXY({1, 2});
    Click("miDuplikujWiersz1");
    EXPECT_EQ(Text(), "1\r\n2\r\n2\r\n3");
    EXPECT_EQ(Editor().CaretY(), 2);
}

TEST_F(EditCommandsTest, GoToLineIgnoresTextThatIsNoNumberAndZero)
{
    NumberedLines(6);
    Editor().SetCaretXY({1, 2});
    dialogs->inputs = {QStringLiteral("abc"), QStringLiteral("0"), QStringLiteral("4")};
    Click("miIdzDoWiersza1");
    EXPECT_EQ(Editor().CaretY(), 2);
    Click("miIdzDoWiersza1");
    EXPECT_EQ(Editor().CaretY(), 2);
    Click("miIdzDoWiersza1");
    EXPECT_EQ(Editor().CaretY(), 4);
    EXPECT_EQ(window->StatusPanelText(1), QStringLiteral("4:1"));
    EXPECT_EQ(dialogs->Texts(QStringLiteral("input")).front(), res::kGoToLinePrompt);
    EXPECT_EQ(dialogs->Count(QStringLiteral("input")), 3);
    EXPECT_EQ(dialogs->shown.size(), 3u);
}

// ---- case changes -------------------------------------------------------------------------------

TEST_F(EditCommandsTest, CaseChangesTurnPolishLettersToo)
{
    Editor().Lines().SetEncoding(TOstEncoding::Windows1250);
    const std::string lower = "za\xBF\xF3\xB3\xE6 ja\x9F\xF1";
    const std::string upper = "ZA\xAF\xD3\xA3\xC6 JA\x8F\xD1";
    Type(lower.c_str());
    Editor().SelectAll();
    Click("miDuzeZnaki1");
    EXPECT_EQ(Text(), upper);
    Editor().SelectAll();
    Click("miMaleZnaki1");
    EXPECT_EQ(Text(), lower);
    Editor().SelectAll();
    Click("miPierwszeDuze1");
    EXPECT_EQ(Text(), "Za\xBF\xF3\xB3\xE6 Ja\x9F\xF1");
    Editor().SelectAll();
    Click("miDuzeZnaki1");
    Editor().SelectAll();
    Click("miPierwszeMale1");
    EXPECT_EQ(Text(), "zA\xAF\xD3\xA3\xC6 jA\x8F\xD1");
}

// The same commands on the same words in each encoding's own bytes.
TEST_F(EditCommandsTest, CaseChangesWorkByCharacterInEveryEncoding)
{
    const std::string lower = "zażółć gęślą jaźń żółw";
    const std::string upper = "ZAŻÓŁĆ GĘŚLĄ JAŹŃ ŻÓŁW";
    for (const TOstEncoding e : {TOstEncoding::Utf8, TOstEncoding::Windows1250, TOstEncoding::Iso88592}) {
        const auto bytes = [e](const std::string& utf8) {
            std::string out;
            EXPECT_EQ(FromUtf8(utf8, e, out), std::string::npos);
            return out;
        };
        const auto shown = [e](const std::string& text) { return ToUtf8(text, e); };
        Editor().ClearAll();
        Editor().Lines().SetEncoding(e);
        Type(bytes(lower).c_str());
        Editor().SelectAll();
        Click("miDuzeZnaki1");
        EXPECT_EQ(shown(Text()), upper) << EncodingName(e);
        Editor().SelectAll();
        Click("miMaleZnaki1");
        EXPECT_EQ(shown(Text()), lower) << EncodingName(e);
        Editor().SelectAll();
        Click("miPierwszeDuze1");
        EXPECT_EQ(shown(Text()), "Zażółć Gęślą Jaźń Żółw") << EncodingName(e);
        Editor().SelectAll();
        Click("miDuzeZnaki1");
        Editor().SelectAll();
        Click("miPierwszeMale1");
        EXPECT_EQ(shown(Text()), "zAŻÓŁĆ gĘŚLĄ jAŹŃ żÓŁW") << EncodingName(e);
    }
}

TEST(CapitaliseWordsTest, Utf8LettersOfAnyLengthAndDamagedBytes)
{
    EXPECT_EQ(CapitaliseWords("ćma ωμέγα \xFFx ǆ", true, false, TOstEncoding::Utf8), "Ćma Ωμέγα \xFFx Ǆ");
    EXPECT_EQ(ChangeTextCase("ıſa", true, TOstEncoding::Utf8), "ISA");  // shorter in UTF-8
    EXPECT_EQ(ChangeTextCase("ŻÓŁW \xC5", false, TOstEncoding::Utf8), "żółw \xC5");
}

TEST_F(EditCommandsTest, CaseChangeWithoutSelectionChangesNothing)
{
    Type("abc");
    Click("miDuzeZnaki1");
    EXPECT_EQ(Text(), "abc");
}

// ---- date and time -------------------------------------------------------------------------------

TEST_F(EditCommandsTest, DateItemsSetTheFormatThatTimeAndDateUses)
{
    const QDate today = QDate::currentDate();
    const QString named = QLocale::system().toString(today, QStringLiteral("dddd dd MMMM yyyy"));
    Click("miData51");
    EXPECT_EQ(QString::fromStdString(codepage::ToUtf8(Text())), named);
    Editor().SelectAll();
    Click("miGodzinaIData1");
    const QString text = QString::fromStdString(codepage::ToUtf8(Text()));
    EXPECT_TRUE(text.startsWith(named + u' ')) << text.toStdString();
    EXPECT_GT(text.size(), named.size() + 1);
    EXPECT_EQ(Action("miGodzinaIData1")->shortcut(), QKeySequence(QStringLiteral("F5")));
}

TEST_F(EditCommandsTest, TimeIsTheLocalesLongTimeWithoutTheTimeZone)
{
    Click("miGodzina1");
    const QString text = QString::fromStdString(codepage::ToUtf8(Text()));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(text.contains(QString::number(QTime::currentTime().minute()).rightJustified(2, u'0')) ||
                text.contains(QString::number(QTime::currentTime().addSecs(-60).minute()).rightJustified(2, u'0')))
        << text.toStdString();
    EXPECT_FALSE(text.endsWith(QDateTime::currentDateTime().timeZoneAbbreviation())) << text.toStdString();
}

TEST_F(EditCommandsTest, NumericDateFormats)
{
    const QDate today = QDate::currentDate();
    Click("miData71");
    EXPECT_EQ(QString::fromStdString(Text()), today.toString(QStringLiteral("yyyy-MM-dd")));
    Editor().SelectAll();
    Click("miData31");
    EXPECT_EQ(QString::fromStdString(Text()), today.toString(QStringLiteral("MM.dd.yyyy")));
}

// ---- comment out ------------------------------------------------------------------------------------

TEST_F(EditCommandsTest, CommentOutPrefixesTwoWholeLinesAndKeepsThem)
{
    Type("a\r\nb\r\nc");
    Select(0, 6);
    dialogs->inputs = {QStringLiteral("//")};
    Click("miZakomentuj1");
    EXPECT_EQ(Text(), "//a\r\n//b\r\nc");
    EXPECT_EQ(Editor().Lines().Count(), 3);
    EXPECT_EQ(dialogs->Texts(QStringLiteral("input")), std::vector<QString>{res::kCommentOutPrompt});
}

TEST_F(EditCommandsTest, CommentOutUsesTheMarkAsTypedAndKeepsTheCaretsLine)
{
    Type("a\r\nb\r\nc");
    Select(3, 7);
    const int line = Editor().CaretY();
    dialogs->inputs = {QStringLiteral("REM ")};
    Click("miZakomentuj1");
    EXPECT_EQ(Text(), "a\r\nREM b\r\nREM c\r\n");
    EXPECT_EQ(Editor().CaretY(), line);
}

TEST_F(EditCommandsTest, CommentOutWithAnEmptyAnswerChangesNothing)
{
    Type("a\r\nb");
    Editor().SelectAll();
    dialogs->inputs = {QString()};
    Click("miZakomentuj1");
    EXPECT_EQ(Text(), "a\r\nb");
}

TEST_F(EditCommandsTest, CommentOutIsEnabledWithASelectionOnly)
{
    Type("a");
    window->miFunkcje1Click();
    EXPECT_FALSE(Action("miZakomentuj1")->isEnabled());
    Editor().SelectAll();
    window->miFunkcje1Click();
    EXPECT_TRUE(Action("miZakomentuj1")->isEnabled());
}

TEST_F(EditCommandsTest, TheCommentMarkGoesInInTheDocumentsEncoding)
{
    for (const TOstEncoding e : {TOstEncoding::Utf8, TOstEncoding::Windows1250}) {
        Editor().ClearAll();
        Editor().Lines().SetEncoding(e);
        std::string text;
        ASSERT_EQ(FromUtf8("żółw\r\nłódź\r\n", e, text), std::string::npos);
        Type(text.c_str());
        Editor().SelectAll();
        dialogs->inputs = {QStringLiteral("§ ż ")};
        Click("miZakomentuj1");
        EXPECT_EQ(ToUtf8(Text(), e), "§ ż żółw\r\n§ ż łódź\r\n") << EncodingName(e);
    }
}

// ---- lines in UTF-8 ---------------------------------------------------------------------------------

TEST_F(EditCommandsTest, DuplicatingAUtf8LineCopiesItsCharactersWhole)
{
    Type("żółw\r\nźdźbło");
    Editor().SetCaretXY({5, 1});  // after "żó"
    Click("miDuplikujWiersz1");
    EXPECT_EQ(Text(), "żółw\r\nżółw\r\nźdźbło");
    EXPECT_EQ(Editor().CaretXY(), (TBufferCoord{5, 1}));
}

// ---- HTML ---------------------------------------------------------------------------------------------

TEST_F(EditCommandsTest, TagsWrapAUtf8SelectionWhole)
{
    Type("a żółw b");
    Select(2, 9);  // "żółw"
    Click("miPogrubienie1");
    EXPECT_EQ(Text(), "a <B>żółw</B> b");
    EXPECT_EQ(Editor().CaretX(), 2 + 3 + 7 + 1);
    Click("miNbsp1");
    EXPECT_EQ(Text(), "a <B>żółw&nbsp;</B> b");
}

TEST_F(EditCommandsTest, BoldWrapsTheSelectionOrLeavesTheCaretBetweenTheTags)
{
    Type("tekst");
    Editor().SelectAll();
    Click("miPogrubienie1");
    EXPECT_EQ(Text(), "<B>tekst</B>");
    EXPECT_EQ(Editor().CaretX(), 9);
    EXPECT_FALSE(Editor().SelAvail());
    Editor().SelectAll();
    Click("miUsun2");
    Click("miPogrubienie1");
    EXPECT_EQ(Text(), "<B></B>");
    EXPECT_EQ(Editor().CaretX(), 4);
    EXPECT_EQ(Action("miPogrubienie1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+B")));
}

TEST_F(EditCommandsTest, WrappingASelectionOverSeveralLines)
{
    Type("a\r\nbc");
    Editor().SelectAll();
    Click("miParagraf1");
    EXPECT_EQ(Text(), "<P>a\r\nbc</P>");
    EXPECT_EQ(Editor().CaretXY(), (TBufferCoord{3, 2}));
}

TEST_F(EditCommandsTest, CommentTagAndAlignmentWrapTheSelection)
{
    Type("x");
    Editor().SelectAll();
    Click("miKomentarz1");
    EXPECT_EQ(Text(), "<!-- x -->");
    EXPECT_EQ(Action("miKomentarz1")->shortcut(), QKeySequence(QStringLiteral("Shift+Ctrl+1")));
    Editor().SelectAll();
    Click("miDoSrodka1");
    EXPECT_EQ(Text(), "<div align=\"center\"><!-- x --></div>");
}

TEST_F(EditCommandsTest, SingleItemsReplaceTheSelection)
{
    Type("a<b");
    Select(1, 2);
    Click("miLt1");
    EXPECT_EQ(Text(), "a&lt;b");
    Click("miNbsp1");
    Click("miKoniecWiersza1");
    EXPECT_EQ(Text(), "a&lt;&nbsp;<BR>b");
}

TEST_F(EditCommandsTest, ShortcutsReachTheHtmlLineAndDateItems)
{
    Type("tekst");
    Editor().SelectAll();
    PressShortcut(Qt::CTRL | Qt::Key_B);
    EXPECT_EQ(Text(), "<B>tekst</B>");
    Editor().SelectAll();
    PressShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_1);
    EXPECT_EQ(Text(), "<!-- <B>tekst</B> -->");
    PressShortcut(QKeyCombination(Qt::Key_F8));
    EXPECT_EQ(Text(), "");
    PressShortcut(QKeyCombination(Qt::Key_F5));
    EXPECT_FALSE(Text().empty());
}

TEST_F(EditCommandsTest, ColourValueInsertsRedGreenBlueInHexadecimal)
{
    std::vector<QColor> offered;
    std::deque<std::optional<QColor>> answers = {QColor(255, 128, 0), std::nullopt, QColor(10, 11, 171)};
    window->ChooseColour = [&](QWidget*, const QColor& initial) {
        offered.push_back(initial);
        const std::optional<QColor> answer = answers.front();
        answers.pop_front();
        return answer;
    };
    Click("miWartoscKoloru1");
    EXPECT_EQ(Text(), "#FF8000");
    Click("miWartoscKoloru1");
    EXPECT_EQ(Text(), "#FF8000");
    Click("miWartoscKoloru1");
    EXPECT_EQ(Text(), "#FF8000#0A0BAB");
    ASSERT_EQ(offered.size(), 3u);
    EXPECT_EQ(offered[1], QColor(255, 128, 0));
    EXPECT_EQ(Action("miWartoscKoloru1")->shortcut(), QKeySequence(QStringLiteral("Shift+Ctrl+K")));
}

// ---- bookmarks -------------------------------------------------------------------------------------

TEST_F(EditCommandsTest, BookmarksFromThePopup)
{
    NumberedLines(5);
    Editor().SetCaretXY({2, 3});
    Click("pmiUstawZnacznik7");
    Editor().SetCaretXY({1, 1});
    Click("pmiIdzDoZnacznika7");
    EXPECT_EQ(Editor().CaretY(), 3);
    EXPECT_EQ(Editor().CaretX(), 2);
    ASSERT_TRUE(Editor().GetBookMark(7).has_value());
    EXPECT_FALSE(Editor().GetBookMark(6).has_value());
}

// ---- view toggles --------------------------------------------------------------------------------

TEST_F(EditCommandsTest, ColumnSelectionFollowsTheCheckMarkAcrossDocuments)
{
    Click("miZaznaczanieKolumn1");
    EXPECT_TRUE(Action("miZaznaczanieKolumn1")->isChecked());
    EXPECT_EQ(Editor().SelectionMode(), smColumn);
    window->Nowy1Click();
    EXPECT_EQ(Editor().SelectionMode(), smColumn);
    Click("miZaznaczanieKolumn1");
    EXPECT_EQ(Editor().SelectionMode(), smNormal);
    window->Edycja1Click();
    EXPECT_FALSE(Action("miZaznaczanieKolumn1")->isChecked());
}

TEST_F(EditCommandsTest, WordWrapFollowsTheCheckMarkAcrossDocuments)
{
    window->Edycja1Click();
    ASSERT_TRUE(Action("miZawijanieWierszy1")->isEnabled());
    EXPECT_FALSE(Action("miZawijanieWierszy1")->isChecked());
    Click("miZawijanieWierszy1");
    EXPECT_TRUE(Action("miZawijanieWierszy1")->isChecked());
    EXPECT_TRUE(Editor().WordWrap());
    window->Nowy1Click();
    EXPECT_TRUE(Editor().WordWrap());
    // A line longer than the window takes several rows.
    Editor().SetText(std::string(3 * std::max(Editor().CharsInWindow(), 1), 'w'));
    EXPECT_GE(Editor().DisplayLineCount(), 3);

    Click("miZawijanieWierszy1");
    EXPECT_FALSE(Editor().WordWrap());
    EXPECT_EQ(Editor().DisplayLineCount(), 1);
    // The other document keeps its wrapping until it becomes current.
    EXPECT_TRUE(window->DocumentAt(0)->Editor().WordWrap());
    window->Edycja1Click();
    EXPECT_FALSE(Action("miZawijanieWierszy1")->isChecked());
}

TEST_F(EditCommandsTest, HiddenCharactersReachEveryDocument)
{
    window->Nowy1Click();
    Click("miUkryteZnaki1");
    for (int i = 0; i < window->DocumentCount(); ++i)
        EXPECT_TRUE(window->DocumentAt(i)->Editor().Options().has(eoShowSpecialChars)) << i;
    Click("miUkryteZnaki1");
    for (int i = 0; i < window->DocumentCount(); ++i)
        EXPECT_FALSE(window->DocumentAt(i)->Editor().Options().has(eoShowSpecialChars)) << i;
}

}  // namespace
}  // namespace ostrel::test
