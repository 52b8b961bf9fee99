// Find, Replace, Find next and the regular-expression switch of the main
// window, with the real dialogs filled in and answered as a user does.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>

#include "AppTestSupport.h"
#include "app/dlgConfirmReplace.h"
#include "app/dlgReplaceText.h"
#include "app/dlgSearchText.h"
#include "platform/CodePage.h"

namespace ostrel::test {
namespace {

const QString kFinished = QStringLiteral("Wyszukiwanie zakończone.");

// What the user sets in the Find or Replace dialog.
struct TChoices {
    QString text{};
    QString replaceText{};
    bool backwards = false;
    bool caseSensitive = false;
    bool fromCaret = false;
    bool selectionOnly = false;
    bool wholeWords = false;
};


class SearchCommandsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // These are the dialogs' tests: Ctrl+F opens the dialog, not the bar.
        window->FindBarEnabled = false;
        window->ExecDialog = [this](QDialog& dialog) {
            shownDialogs.push_back(dialog.windowTitle());
            if (dialogAnswers.empty()) {
                ADD_FAILURE() << "unexpected dialog: " << dialog.windowTitle().toStdString();
                return static_cast<int>(QDialog::Rejected);
            }
            const auto answer = dialogAnswers.front();
            dialogAnswers.pop_front();
            answer(dialog);
            return dialog.result();
        };
    }

    void SetText(const char* text, TBufferCoord caret = {1, 1}) const
    {
        Editor().SetText(text);
        Editor().SetCaretXY(caret);
    }
    TOstEdit& Editor() const { return Current().Editor(); }
    std::string Text() const { return Editor().Text(); }
    std::string Selected() const { return Editor().SelText(); }

    // The next Find or Replace dialog gets these choices and OK.
    void WillChoose(const TChoices& choices) { dialogAnswers.push_back(Choosing(choices)); }
    static std::function<void(QDialog&)> Choosing(const TChoices& choices)
    {
        return [choices](QDialog& dialog) {
            auto* search = qobject_cast<TTextSearchDialog*>(&dialog);
            ASSERT_NE(search, nullptr);
            search->cbSearchText->setEditText(choices.text);
            (choices.backwards ? search->rbBackward : search->rbForward)->setChecked(true);
            search->cbSearchCaseSensitive->setChecked(choices.caseSensitive);
            search->cbSearchFromCursor->setChecked(choices.fromCaret);
            search->cbSearchSelectedOnly->setChecked(choices.selectionOnly);
            search->cbSearchWholeWords->setChecked(choices.wholeWords);
            if (auto* replace = qobject_cast<TTextReplaceDialog*>(&dialog))
                replace->cbReplaceText->setEditText(choices.replaceText);
            Press(dialog, "btnOK");
        };
    }
    // The next dialog is looked at (and left as it came) before the answer.
    void WillInspect(std::function<void(QDialog&)> look) { dialogAnswers.push_back(std::move(look)); }
    // The next confirmations are answered by pressing these buttons.
    void WillConfirm(std::initializer_list<const char*> buttons)
    {
        for (const char* button : buttons)
            dialogAnswers.push_back([this, button](QDialog& dialog) {
                auto* confirm = qobject_cast<TConfirmReplaceDialog*>(&dialog);
                ASSERT_NE(confirm, nullptr);
                confirmMessages << confirm->Message();
                Press(dialog, button);
            });
    }
    static void Press(QDialog& dialog, const char* button)
    {
        auto* pushButton = dialog.findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(pushButton, nullptr) << button;
        pushButton->click();
    }

    void Find(const TChoices& choices)
    {
        WillChoose(choices);
        Click("miZnajdz1");
    }
    // The questions the Replace asks are answered as scripted before.
    void Replace(const TChoices& choices)
    {
        dialogAnswers.push_front(Choosing(choices));
        Click("miZamien1");
    }
    int FinishedCount() const { return dialogs->Count(QStringLiteral("information")); }

    std::deque<std::function<void(QDialog&)>> dialogAnswers;
    QStringList shownDialogs;
    QStringList confirmMessages;
};

TEST_F(SearchCommandsTest, MenuItemsAreEnabledWithTheirShortcuts)
{
    EXPECT_TRUE(Action("miZnajdz1")->isEnabled());
    EXPECT_EQ(Action("miZnajdz1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
    EXPECT_TRUE(Action("miZnajdzNastepny1")->isEnabled());
    EXPECT_EQ(Action("miZnajdzNastepny1")->shortcut(), QKeySequence(QStringLiteral("F3")));
    EXPECT_TRUE(Action("miZamien1")->isEnabled());
    EXPECT_TRUE(Action("miWyrazeniaRegularne1")->isEnabled());
    EXPECT_TRUE(Action("miWyrazeniaRegularne1")->isCheckable());
    EXPECT_FALSE(Action("miWyrazeniaRegularne1")->isChecked());
}

// ---- finding --------------------------------------------------------------------------

TEST_F(SearchCommandsTest, FindThenFindNextWalksThroughTheLines)
{
    SetText("ab\r\nxx ab\r\nab", {2, 2});
    Find({.text = QStringLiteral("ab")});  // not from the caret: from the top
    EXPECT_EQ(Editor().BlockBegin(), (TBufferCoord{1, 1}));
    EXPECT_EQ(Editor().BlockEnd(), (TBufferCoord{3, 1}));
    EXPECT_EQ(Editor().CaretXY(), (TBufferCoord{3, 1}));

    Click("miZnajdzNastepny1");
    EXPECT_EQ(Editor().BlockBegin(), (TBufferCoord{4, 2}));
    EXPECT_EQ(Selected(), "ab");
    Click("miZnajdzNastepny1");
    EXPECT_EQ(Editor().BlockBegin(), (TBufferCoord{1, 3}));
    EXPECT_EQ(Editor().CaretXY(), (TBufferCoord{3, 3}));
    EXPECT_EQ(FinishedCount(), 0);

    // Past the last match: the message, and the selection shrinks to its end.
    Click("miZnajdzNastepny1");
    EXPECT_EQ(dialogs->Texts(QStringLiteral("information")), std::vector<QString>{kFinished});
    EXPECT_FALSE(Editor().SelAvail());
    EXPECT_EQ(Editor().CaretXY(), (TBufferCoord{3, 3}));
    EXPECT_EQ(Text(), "ab\r\nxx ab\r\nab");
}

TEST_F(SearchCommandsTest, FindFromTheCaretStartsThere)
{
    SetText("ab ab ab", {2, 1});
    Find({.text = QStringLiteral("ab"), .fromCaret = true});
    EXPECT_EQ(Editor().BlockBegin(), (TBufferCoord{4, 1}));
    EXPECT_TRUE(window->SearchState().fromCaret);
}

TEST_F(SearchCommandsTest, BackwardsFindsTheNearestMatchBeforeTheCaretAndRepeats)
{
    SetText("ab ab ab", {9, 1});
    Find({.text = QStringLiteral("ab"), .backwards = true, .fromCaret = true});
    EXPECT_EQ(Editor().BlockBegin(), (TBufferCoord{7, 1}));
    EXPECT_EQ(Editor().CaretXY(), (TBufferCoord{7, 1}));

    Find({.text = QStringLiteral("ab"), .backwards = true, .fromCaret = true});
    EXPECT_EQ(Editor().CaretXY(), (TBufferCoord{4, 1}));
    Find({.text = QStringLiteral("ab"), .backwards = true, .fromCaret = true});
    EXPECT_EQ(Editor().CaretXY(), (TBufferCoord{1, 1}));
    EXPECT_EQ(FinishedCount(), 0);

    // Nothing before the caret: the selection shrinks to its start.
    Editor().SetCaretAndSelection({2, 1}, {1, 1}, {2, 1});
    Find({.text = QStringLiteral("ab"), .backwards = true, .fromCaret = true});
    EXPECT_EQ(FinishedCount(), 1);
    EXPECT_FALSE(Editor().SelAvail());
    EXPECT_EQ(Editor().CaretXY(), (TBufferCoord{1, 1}));
}

TEST_F(SearchCommandsTest, FindNextGoesForwardsEvenAfterABackwardsFind)
{
    SetText("ab ab ab", {9, 1});
    Find({.text = QStringLiteral("ab"), .backwards = true, .fromCaret = true});
    ASSERT_EQ(Editor().CaretXY(), (TBufferCoord{7, 1}));
    Editor().SetCaretXY({1, 1});
    Click("miZnajdzNastepny1");
    EXPECT_EQ(Editor().BlockBegin(), (TBufferCoord{1, 1}));
    EXPECT_EQ(Editor().CaretXY(), (TBufferCoord{3, 1}));
}

TEST_F(SearchCommandsTest, FindNextBeforeAnySearchShowsTheEndMessage)
{
    SetText("ab ab");
    Click("miZnajdzNastepny1");
    EXPECT_EQ(dialogs->Texts(QStringLiteral("information")), std::vector<QString>{kFinished});
    EXPECT_EQ(Text(), "ab ab");
    EXPECT_TRUE(shownDialogs.isEmpty());
}

TEST_F(SearchCommandsTest, NothingFoundShowsTheEndMessageAndCollapsesTheSelection)
{
    SetText("abc def");
    Editor().SetCaretAndSelection({3, 1}, {1, 1}, {3, 1});
    Find({.text = QStringLiteral("xyz")});
    EXPECT_EQ(dialogs->Texts(QStringLiteral("information")), std::vector<QString>{kFinished});
    EXPECT_FALSE(Editor().SelAvail());
    EXPECT_EQ(Editor().CaretXY(), (TBufferCoord{3, 1}));
    EXPECT_EQ(Text(), "abc def");
}

TEST_F(SearchCommandsTest, OptionsFromTheDialogReachTheSearch)
{
    SetText("AB kotek kot_ (kot) ab");
    Find({.text = QStringLiteral("ab"), .caseSensitive = true});
    EXPECT_EQ(Editor().BlockBegin(), (TBufferCoord{21, 1}));

    Find({.text = QStringLiteral("kot"), .wholeWords = true});
    EXPECT_EQ(Editor().BlockBegin(), (TBufferCoord{16, 1}));

    // Only the selection is searched.
    Editor().SetCaretAndSelection({9, 1}, {1, 1}, {9, 1});
    Find({.text = QStringLiteral("kot"), .selectionOnly = true});
    EXPECT_EQ(Editor().BlockBegin(), (TBufferCoord{4, 1}));
}

TEST_F(SearchCommandsTest, PolishLettersAreFoundIgnoringCase)
{
    for (TOstEncoding encoding : {TOstEncoding::Utf8, TOstEncoding::Windows1250, TOstEncoding::Iso88592}) {
        SCOPED_TRACE(std::string(EncodingName(encoding)));
        std::string text, turtle;
        ASSERT_EQ(FromUtf8("ŻÓŁW i żółw", encoding, text), std::string_view::npos);
        ASSERT_EQ(FromUtf8("ŻÓŁW", encoding, turtle), std::string_view::npos);
        Editor().Lines().SetEncoding(encoding);
        Editor().SetText(text);
        Editor().SetCaretXY({1, 1});
        Find({.text = QStringLiteral("żółw")});
        EXPECT_EQ(Editor().BlockBegin(), (TBufferCoord{1, 1}));
        EXPECT_EQ(Selected(), turtle);
        Click("miZnajdzNastepny1");
        EXPECT_EQ(Editor().BlockBegin(), (TBufferCoord{static_cast<int>(turtle.size()) + 4, 1}));
    }
}

TEST_F(SearchCommandsTest, CancelledDialogSearchesNothingAndKeepsTheState)
{
    SetText("ab ab");
    Find({.text = QStringLiteral("ab"), .wholeWords = true});
    WillInspect([](QDialog& dialog) {
        qobject_cast<TTextSearchDialog*>(&dialog)->cbSearchText->setEditText(QStringLiteral("zz"));
        Press(dialog, "btnCancel");
    });
    Editor().SetCaretXY({1, 1});
    Click("miZnajdz1");
    EXPECT_EQ(window->SearchState().text, QStringLiteral("ab"));
    EXPECT_TRUE(window->SearchState().wholeWords);
    EXPECT_FALSE(Editor().SelAvail());
    EXPECT_EQ(FinishedCount(), 0);
}

// ---- replacing ----------------------------------------------------------------------

TEST_F(SearchCommandsTest, ReplaceAllAtTheFirstQuestionIsOneUndoStep)
{
    SetText("ab ab");
    WillConfirm({"btnReplaceAll"});
    Replace({.text = QStringLiteral("ab"), .replaceText = QStringLiteral("abc")});
    EXPECT_EQ(Text(), "abc abc");
    EXPECT_EQ(confirmMessages.size(), 1);
    EXPECT_EQ(FinishedCount(), 0);

    Editor().Undo();
    EXPECT_EQ(Text(), "ab ab");
}

TEST_F(SearchCommandsTest, ReplaceAsksBeforeEachMatch)
{
    SetText("ab ab ab");
    WillConfirm({"btnReplace", "btnSkip", "btnReplace"});
    Replace({.text = QStringLiteral("ab"), .replaceText = QStringLiteral("abc")});
    EXPECT_EQ(Text(), "abc ab abc");
    EXPECT_EQ(confirmMessages,
              QStringList(3, QStringLiteral("Zamienić to wystąpienie \"ab\"?")));
}

TEST_F(SearchCommandsTest, WhileAskingTheMatchIsSelectedInViewAndEarlierReplacementsShow)
{
    // A line long enough that the second match lies out of view.
    const std::string far(300, 'x');
    SetText(("ab " + far + " ab").c_str());
    Editor().SetSelectionMode(smLine);
    WillChoose({.text = QStringLiteral("ab"), .replaceText = QStringLiteral("XY")});
    for (int i = 0; i < 2; ++i)
        dialogAnswers.push_back([this](QDialog& dialog) {
            EXPECT_EQ(Editor().PaintLock(), 0) << "the window may paint while it asks";
            EXPECT_EQ(Selected(), "ab");
            const int column = Editor().LineColumn(Editor().BlockBegin());
            EXPECT_GE(column, Editor().LeftChar());
            EXPECT_LT(column, Editor().LeftChar() + Editor().CharsInWindow());
            confirmMessages << QString::fromStdString(Text().substr(0, 3));
            Press(dialog, "btnReplace");
        });
    Click("miZamien1");
    EXPECT_EQ(confirmMessages, (QStringList{QStringLiteral("ab "), QStringLiteral("XY ")}));
    EXPECT_EQ(Text(), "XY " + far + " XY");
    EXPECT_EQ(Editor().SelectionMode(), smLine) << "the chosen mode comes back";
}

TEST_F(SearchCommandsTest, TheQuestionAnswersItsLettersWithoutAlt)
{
    const std::pair<int, int> keys[] = {{Qt::Key_T, TConfirmReplaceDialog::Yes},
                                        {Qt::Key_N, TConfirmReplaceDialog::No},
                                        {Qt::Key_W, TConfirmReplaceDialog::All}};
    for (const auto& [key, result] : keys) {
        for (const Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::AltModifier)}) {
            TConfirmReplaceDialog dialog;
            dialog.setResult(-1);
            QKeyEvent press(QEvent::KeyPress, key, modifiers);
            QApplication::sendEvent(&dialog, &press);
            EXPECT_EQ(dialog.result(), result) << key;
        }
    }
}

TEST_F(SearchCommandsTest, CaretPanelFollowsFindFindNextAndReplace)
{
    SetText("one two\r\nthree two two");
    Find({.text = QStringLiteral("two")});
    EXPECT_EQ(window->StatusPanelText(1), QStringLiteral("1:8"));
    Click("miZnajdzNastepny1");
    EXPECT_EQ(window->StatusPanelText(1), QStringLiteral("2:10"));
    WillConfirm({"btnReplace"});
    Replace({.text = QStringLiteral("two"), .replaceText = QStringLiteral("2"), .fromCaret = true});
    EXPECT_EQ(window->StatusPanelText(1), QStringLiteral("2:12"));
    Click("miDuplikujWiersz1");
    Editor().CommandProcessor(ecEditorTop, 0);
    EXPECT_EQ(window->StatusPanelText(1), QStringLiteral("1:1"));
}

TEST_F(SearchCommandsTest, CancelStopsTheReplaceKeepingWhatWasReplaced)
{
    SetText("ab ab ab");
    WillConfirm({"btnReplace", "btnCancel"});
    Replace({.text = QStringLiteral("ab"), .replaceText = QStringLiteral("x")});
    EXPECT_EQ(Text(), "x ab ab");
    EXPECT_EQ(confirmMessages.size(), 2);
}

TEST_F(SearchCommandsTest, ClosingTheQuestionCancels)
{
    SetText("ab ab");
    WillChoose({.text = QStringLiteral("ab"), .replaceText = QStringLiteral("x")});
    dialogAnswers.push_back([](QDialog& dialog) { dialog.reject(); });
    Click("miZamien1");
    EXPECT_EQ(Text(), "ab ab");
}

TEST_F(SearchCommandsTest, AllAfterAnAnswerReplacesTheRestWithoutAsking)
{
    SetText("ab ab ab ab");
    WillConfirm({"btnSkip", "btnReplaceAll"});
    Replace({.text = QStringLiteral("ab"), .replaceText = QStringLiteral("x")});
    EXPECT_EQ(Text(), "ab x x x");
    EXPECT_EQ(confirmMessages.size(), 2);
}

TEST_F(SearchCommandsTest, ReplaceWithoutAMatchShowsTheEndMessage)
{
    SetText("ab ab");
    Replace({.text = QStringLiteral("zz"), .replaceText = QStringLiteral("x")});
    EXPECT_EQ(dialogs->Texts(QStringLiteral("information")), std::vector<QString>{kFinished});
    EXPECT_EQ(Text(), "ab ab");
    EXPECT_TRUE(confirmMessages.isEmpty());
}

TEST_F(SearchCommandsTest, TheEditorAsksNobodyOutsideAReplace)
{
    SetText("ab ab");
    WillConfirm({"btnReplace", "btnReplace"});
    Replace({.text = QStringLiteral("ab"), .replaceText = QStringLiteral("x")});
    EXPECT_EQ(Text(), "x x");
    EXPECT_FALSE(static_cast<bool>(Editor().OnReplaceText));
}

// ---- the regular-expression switch -----------------------------------------------------

TEST_F(SearchCommandsTest, RegularExpressionSwitchChangesTheCurrentEngine)
{
    EXPECT_EQ(Editor().SearchEngine(), &window->PlainSearchEngine());
    Click("miWyrazeniaRegularne1");
    EXPECT_EQ(Editor().SearchEngine(), &window->RegexSearchEngine());
    EXPECT_TRUE(Action("miWyrazeniaRegularne1")->isChecked());
    Click("miWyrazeniaRegularne1");
    EXPECT_EQ(Editor().SearchEngine(), &window->PlainSearchEngine());
    EXPECT_FALSE(Action("miWyrazeniaRegularne1")->isChecked());
}

TEST_F(SearchCommandsTest, RegularExpressionReplaceSubstitutesGroups)
{
    SetText("x12y");
    Click("miWyrazeniaRegularne1");
    WillConfirm({"btnReplaceAll"});
    Replace({.text = QStringLiteral("([0-9]+)"), .replaceText = QStringLiteral("<$1>")});
    EXPECT_EQ(Text(), "x<12>y");
    EXPECT_EQ(confirmMessages, QStringList{QStringLiteral("Zamienić to wystąpienie \"12\"?")});
}

TEST_F(SearchCommandsTest, PlainEngineTakesTheExpressionLiterally)
{
    SetText("x12y ([0-9]+)");
    Find({.text = QStringLiteral("([0-9]+)")});
    EXPECT_EQ(Editor().BlockBegin(), (TBufferCoord{6, 1}));
}

TEST_F(SearchCommandsTest, InvalidExpressionReachesTheErrorHandler)
{
    SetText("x12y");
    Click("miWyrazeniaRegularne1");
    Find({.text = QStringLiteral("(ab")});
    EXPECT_EQ(dialogs->Count(QStringLiteral("error")), 1);
    EXPECT_EQ(Text(), "x12y");
    EXPECT_FALSE(static_cast<bool>(Editor().OnReplaceText));
}

TEST_F(SearchCommandsTest, SwitchHoldsForEveryDocumentOldAndNew)
{
    window->Nowy1Click();
    Click("miWyrazeniaRegularne1");
    TDocumentPage* second = window->CurrentDocument();
    Click("miNowy1");
    EXPECT_EQ(Editor().SearchEngine(), &window->RegexSearchEngine());
    EXPECT_TRUE(Action("miWyrazeniaRegularne1")->isChecked());
    // The new document searches with the expression at once.
    SetText("x12y");
    Find({.text = QStringLiteral("[0-9]+")});
    EXPECT_EQ(Selected(), "12");
    Click("miPoprzednia1");
    ASSERT_EQ(window->CurrentDocument(), second);
    EXPECT_TRUE(Action("miWyrazeniaRegularne1")->isChecked());
    Click("miWyrazeniaRegularne1");
    for (int i = 0; i < window->DocumentCount(); ++i)
        EXPECT_EQ(window->DocumentAt(i)->Editor().SearchEngine(), &window->PlainSearchEngine()) << i;
    Click("miNowy1");
    EXPECT_FALSE(Action("miWyrazeniaRegularne1")->isChecked());
}

// ---- the dialogs and their history --------------------------------------------------------

TEST_F(SearchCommandsTest, FindDialogShowsItsCaptionsAndTheStoredState)
{
    SetText("ab");
    Find({.text = QStringLiteral("ab"), .backwards = true, .caseSensitive = true, .wholeWords = true});
    WillInspect([](QDialog& dialog) {
        auto* search = qobject_cast<TTextSearchDialog*>(&dialog);
        ASSERT_NE(search, nullptr);
        EXPECT_EQ(qobject_cast<TTextReplaceDialog*>(&dialog), nullptr);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Znajdź"));
        EXPECT_EQ(search->cbSearchText->currentText(), QStringLiteral("ab"));
        EXPECT_TRUE(search->cbSearchText->isEditable());
        EXPECT_TRUE(search->rbBackward->isChecked());
        EXPECT_TRUE(search->cbSearchCaseSensitive->isChecked());
        EXPECT_TRUE(search->cbSearchWholeWords->isChecked());
        EXPECT_FALSE(search->cbSearchFromCursor->isChecked());
        EXPECT_FALSE(search->cbSearchSelectedOnly->isChecked());
        EXPECT_EQ(search->cbSearchCaseSensitive->text(), QStringLiteral("&Uwzględnij wielkość liter"));
        EXPECT_EQ(search->cbSearchWholeWords->text(), QStringLiteral("&Znajdź tylko całe wyrazy"));
        EXPECT_EQ(search->cbSearchFromCursor->text(), QStringLiteral("&Szukaj od pozycji kursora"));
        EXPECT_EQ(search->cbSearchSelectedOnly->text(), QStringLiteral("T&ylko zaznaczony tekst"));
        EXPECT_EQ(search->rbForward->text(), QStringLiteral("Do &przodu"));
        EXPECT_EQ(search->rbBackward->text(), QStringLiteral("Do &tyłu"));
        QStringList groups;
        for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
            groups << group->title();
        EXPECT_EQ(groups, (QStringList{QStringLiteral("Opcje wyszukiwania"), QStringLiteral("Kierunek")}));
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            labels << label->text();
        EXPECT_EQ(labels, QStringList{QStringLiteral("Z&najdź:")});
        EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("btnOK"))->text(), QStringLiteral("OK"));
        EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("btnOK"))->isDefault());
        EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("btnCancel"))->text(), QStringLiteral("Anuluj"));
        EXPECT_GE(dialog.width(), 332);
        EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
        Press(dialog, "btnCancel");
    });
    Click("miZnajdz1");
}

TEST_F(SearchCommandsTest, ReplaceDialogAddsTheReplaceText)
{
    SetText("ab");
    WillConfirm({"btnSkip"});
    Replace({.text = QStringLiteral("ab"), .replaceText = QStringLiteral("cd")});
    WillInspect([](QDialog& dialog) {
        auto* replace = qobject_cast<TTextReplaceDialog*>(&dialog);
        ASSERT_NE(replace, nullptr);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Zamień"));
        EXPECT_EQ(replace->cbReplaceText->currentText(), QStringLiteral("cd"));
        EXPECT_EQ(replace->cbReplaceText->count(), 1);
        EXPECT_TRUE(replace->cbReplaceText->isEditable());
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            labels << label->text();
        EXPECT_EQ(labels, (QStringList{QStringLiteral("Z&najdź:"), QStringLiteral("Z&amień na:")}));
        EXPECT_GE(dialog.height(), 210);
        Press(dialog, "btnCancel");
    });
    Click("miZamien1");
}

TEST_F(SearchCommandsTest, EnterInTheSearchTextPressesOK)
{
    SetText("xx ab");
    WillInspect([](QDialog& dialog) {
        auto* search = qobject_cast<TTextSearchDialog*>(&dialog);
        ASSERT_NE(search, nullptr);
        dialog.show();
        search->cbSearchText->setEditText(QStringLiteral("ab"));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(search->cbSearchText->lineEdit(), &press);
        EXPECT_FALSE(dialog.isVisible());
    });
    Click("miZnajdz1");
    EXPECT_EQ(Editor().BlockBegin(), (TBufferCoord{4, 1}));
    EXPECT_EQ(SplitHistory(window->SearchState().textHistory), QStringList{QStringLiteral("ab")});
}

TEST_F(SearchCommandsTest, ConfirmationWindowHasItsCaptionsAndIcon)
{
    TConfirmReplaceDialog dialog;
    dialog.SetReplacedText(QStringLiteral("żółw"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Potwierdź zamianę"));
    EXPECT_EQ(dialog.Message(), QStringLiteral("Zamienić to wystąpienie \"żółw\"?"));
    EXPECT_FALSE(dialog.imgIcon->pixmap().isNull());
    EXPECT_EQ(dialog.btnReplace->text(), QStringLiteral("&Tak"));
    EXPECT_EQ(dialog.btnSkip->text(), QStringLiteral("&Nie"));
    EXPECT_EQ(dialog.btnCancel->text(), QStringLiteral("Anuluj"));
    EXPECT_EQ(dialog.btnReplaceAll->text(), QStringLiteral("&Wszystkie"));
    EXPECT_EQ(ReplaceActionOf(TConfirmReplaceDialog::Yes), raReplace);
    EXPECT_EQ(ReplaceActionOf(TConfirmReplaceDialog::No), raSkip);
    EXPECT_EQ(ReplaceActionOf(TConfirmReplaceDialog::Cancel), raCancel);
    EXPECT_EQ(ReplaceActionOf(TConfirmReplaceDialog::All), raReplaceAll);
}

TEST_F(SearchCommandsTest, HistoryKeepsTenEntriesNewestFirst)
{
    SetText("t");
    for (int i = 1; i <= 12; ++i)
        Find({.text = QStringLiteral("t%1").arg(i)});
    QStringList expected;
    for (int i = 12; i >= 3; --i)
        expected << QStringLiteral("t%1").arg(i);
    EXPECT_EQ(SplitHistory(window->SearchState().textHistory), expected);
    EXPECT_EQ(window->SearchState().textHistory, expected.join(QStringLiteral("\r\n")));

    // Entered again, an entry moves to the top without a second copy.
    Find({.text = QStringLiteral("t5")});
    expected.removeAll(QStringLiteral("t5"));
    expected.prepend(QStringLiteral("t5"));
    EXPECT_EQ(SplitHistory(window->SearchState().textHistory), expected);

    WillInspect([&expected](QDialog& dialog) {
        const QComboBox* box = qobject_cast<TTextSearchDialog*>(&dialog)->cbSearchText;
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        EXPECT_EQ(items, expected);
        Press(dialog, "btnCancel");
    });
    Click("miZnajdz1");
}

TEST_F(SearchCommandsTest, ReplaceHistoryKeepsTenEntriesNewestFirst)
{
    SetText("");
    for (int i = 1; i <= 11; ++i)
        Replace({.text = QStringLiteral("q"), .replaceText = QStringLiteral("r%1").arg(i)});
    QStringList expected;
    for (int i = 11; i >= 2; --i)
        expected << QStringLiteral("r%1").arg(i);
    EXPECT_EQ(SplitHistory(window->SearchState().replaceTextHistory), expected);
    EXPECT_EQ(SplitHistory(window->SearchState().textHistory), QStringList{QStringLiteral("q")});
}

TEST(SearchHistory, EnteredTextGoesFirstOnceAndTheListIsCut)
{
    QStringList entries;
    for (int i = 0; i < 10; ++i)
        entries << QString::number(i);
    EXPECT_EQ(HistoryWith(entries, QStringLiteral("new")).first(), QStringLiteral("new"));
    EXPECT_EQ(HistoryWith(entries, QStringLiteral("new")).size(), kHistoryLength);
    EXPECT_EQ(HistoryWith(entries, QStringLiteral("9")),
              (QStringList{"9", "0", "1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(HistoryWith(entries, QString()), entries);
    EXPECT_EQ(SplitHistory(JoinHistory(entries)), entries);
    EXPECT_EQ(SplitHistory(QString()), QStringList());
}


// ---- long searches: progress and cancel ---------------------------------------------

namespace {

// Lines of x's and a z, where "x.*?q|z" tries a long lazy repeat at every x
// before the z matches: a search that takes seconds, a match on each line.
std::string SlowText(int lines)
{
    std::string text;
    const std::string line = std::string(99, 'x') + "z";
    for (int i = 0; i < lines; ++i)
        text += line + "\r\n";
    return text;
}

// Watches for the progress window from the event loop, which the search
// keeps running, and presses its cancel button when it has seen it three
// times (the window's events go on meanwhile).
struct TProgressWatch {
    QTimer timer;
    int sightings = 0;
    int seenValue = -1;
    bool cancelled = false;
    explicit TProgressWatch(QWidget& window)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, &window] {
            auto* dialog = window.findChild<QProgressDialog*>(QStringLiteral("dlgPostepWyszukiwania1"));
            if (!dialog || !dialog->isVisible() || cancelled || ++sightings < 3)
                return;
            seenValue = dialog->value();
            auto* cancel = dialog->findChild<QPushButton*>();
            ASSERT_NE(cancel, nullptr);
            EXPECT_EQ(cancel->text(), QStringLiteral("Anuluj"));
            cancel->click();
            cancelled = true;
        });
        timer.start(20);
    }
};

}  // namespace

TEST_F(SearchCommandsTest, ALongSearchShowsProgressAndCanBeCancelled)
{
    const std::string text = SlowText(200000);
    SetText(text.c_str());
    Editor().SetSearchEngine(&window->RegexSearchEngine());
    TProgressWatch watch(*window);
    Find({.text = QStringLiteral("x.*?q|q")});
    EXPECT_TRUE(watch.cancelled) << "the progress window showed while the search ran";
    EXPECT_GE(watch.seenValue, 0);
    EXPECT_EQ(FinishedCount(), 0) << "a cancelled search is not reported as finished";
    EXPECT_EQ(window->findChild<QProgressDialog*>(QStringLiteral("dlgPostepWyszukiwania1")), nullptr);
    EXPECT_EQ(Text(), text);
}

TEST_F(SearchCommandsTest, ACancelledReplaceKeepsWhatItReplacedAsOneUndoStep)
{
    const std::string text = SlowText(200000);
    SetText(text.c_str());
    Editor().SetMaxUndo(1 << 20);
    Editor().SetSearchEngine(&window->RegexSearchEngine());
    TProgressWatch watch(*window);
    WillConfirm({"btnReplaceAll"});
    Replace({.text = QStringLiteral("x.*?q|z"), .replaceText = QStringLiteral("y")});
    ASSERT_TRUE(watch.cancelled);
    const std::string after = Text();
    EXPECT_EQ(after.substr(0, 102), std::string(99, 'x') + "y\r\n") << "the first lines were replaced";
    EXPECT_EQ(after.substr(after.size() - 102), std::string(99, 'x') + "z\r\n") << "the last ones were not";
    Editor().Undo();
    EXPECT_TRUE(Text() == text) << "one undo gives the text back";
}

TEST_F(SearchCommandsTest, RunawayPatternsEndWithTheStepLimitMessage)
{
    SetText((std::string(30, 'a') + "!\r\n").c_str());
    Editor().SetSearchEngine(&window->RegexSearchEngine());
    Find({.text = QStringLiteral("^(a+)+$")});
    const std::vector<QString> errors = dialogs->Texts(QStringLiteral("error"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors.front().contains(QStringLiteral("Step Limit Exceeded"))) << errors.front().toStdString();
}

}  // namespace
}  // namespace ostrel::test
