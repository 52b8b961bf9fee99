// The main window's documents as a user meets them: new, open, close, the
// tabs, the caption, the status bar, the highlighter and dropped files.

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTabWidget>
#include <QUrl>

#include "AppTestSupport.h"
#include "support/TestSupport.h"
#include "app/GlobalRes.h"
#include "app/qt/OstEditWidget.h"
#include "editor/OstEditKeyCmds.h"
#include "highlighters/OstHighlighterFactory.h"

namespace ostrel::test {
namespace {

using DocumentsTest = MainWindowTest;

// ---- start, new and caption ----------------------------------------------------

TEST_F(DocumentsTest, StartsWithOneUntitledDocumentAndItsCaption)
{
    ASSERT_EQ(window->DocumentCount(), 1);
    EXPECT_EQ(TabCaption(0), QStringLiteral("1 Bez nazwy"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("1 Bez nazwy - Ostrel 3.2"));
    EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Nie zmieniony"));
    EXPECT_EQ(window->StatusPanelText(1), QStringLiteral("1:1"));
    EXPECT_EQ(window->pcEdytory1->tabPosition(), QTabWidget::South);
}

TEST_F(DocumentsTest, NewDocumentsCountUpAndCopyTheTemplate)
{
    Click("miNowy1");
    Click("tbNowy1");
    ASSERT_EQ(window->DocumentCount(), 3);
    EXPECT_EQ(TabCaption(2), QStringLiteral("3 Bez nazwy"));
    EXPECT_EQ(window->pcEdytory1->currentIndex(), 2);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("3 Bez nazwy - Ostrel 3.2"));
    const TOstEdit& editor = Current().Editor();
    EXPECT_EQ(editor.Options(), window->Template().Options());
    EXPECT_EQ(editor.MaxLineWidth(), 2024);
    EXPECT_TRUE(editor.WantTabs());
    EXPECT_EQ(editor.Highlighter(), nullptr);
    EXPECT_EQ(editor.RightEdge(), 0);
    EXPECT_FALSE(editor.Gutter().Visible());
    EXPECT_EQ(editor.Font().Name, "Courier New");
    EXPECT_EQ(editor.Font().Height, -13);
    EXPECT_EQ(editor.Color(), clWhite);
    // F1 is left to the window's help; the editor's context help is Ctrl+F1.
    constexpr uint16_t vkF1 = 112;
    EXPECT_LT(editor.Keystrokes().FindShortcut(ShortCut(vkF1, 0)), 0);
    EXPECT_GE(editor.Keystrokes().FindShortcut(ShortCut(vkF1, ssCtrl)), 0);
}

TEST_F(DocumentsTest, TypingShowsModifiedAndTheCaretPanelFollows)
{
    Type("abc");
    EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Zmieniony"));
    EXPECT_TRUE(Action("tbZapisz1")->isEnabled());
    window->UpdateCaretPanel();
    EXPECT_EQ(window->StatusPanelText(1), QStringLiteral("1:4"));
    // Switching away and back shows each document's own state.
    Click("miNowy1");
    EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Nie zmieniony"));
    EXPECT_FALSE(Action("tbZapisz1")->isEnabled());
    Click("miPoprzednia1");
    EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Zmieniony"));
    EXPECT_EQ(window->StatusPanelText(1), QStringLiteral("1:4"));
}

TEST_F(DocumentsTest, NextAndPreviousWrapAround)
{
    Click("miNowy1");
    Click("miNowy1");
    Click("miNastepna1");
    EXPECT_EQ(window->pcEdytory1->currentIndex(), 0);
    Click("miPoprzednia1");
    EXPECT_EQ(window->pcEdytory1->currentIndex(), 2);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("3 Bez nazwy - Ostrel 3.2"));
}

TEST_F(DocumentsTest, TheCaretPanelFollowsKeysReleasedInTheEditor)
{
    Type("abc\r\nde");
    TOstEditWidget& editor = Current().EditWidget();
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier);
    QApplication::sendEvent(&editor, &release);
    EXPECT_EQ(window->StatusPanelText(1), QStringLiteral("2:3"));
}

TEST_F(DocumentsTest, MenuShortcutsComeBeforeTheEditorsKeys)
{
    TOstEditWidget& editor = Current().EditWidget();
    // Qt asks the focused widget first; a menu key must stay unclaimed.
    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_W, Qt::CTRL | Qt::Key_Tab, QKeyCombination(Qt::Key_F1)}) {
        QKeyEvent override(QEvent::ShortcutOverride, key.key(), key.keyboardModifiers());
        override.ignore();
        QApplication::sendEvent(&editor, &override);
        EXPECT_FALSE(override.isAccepted()) << key.toCombined();
    }
}

TEST_F(DocumentsTest, HintsGoToTheThirdPanel)
{
    window->ShowApplicationHint(QStringLiteral("Zapisz wszystkie"));
    EXPECT_EQ(window->StatusPanelText(2), QStringLiteral("Zapisz wszystkie"));
}

TEST(FirstShowingTest, TheCommandLineFileIsTheFirstDocument)
{
    TestApp();
    TempDir dir;
    WriteFile(dir / "start.txt", "x\n");
    for (const QString& argument : {Q(dir / "start.txt"), QStringLiteral("-R"), QStringLiteral("-h"),
                                    Q(dir / "missing.txt")}) {
        TOstrel3Main window(argument, std::make_unique<TScriptedDialogs>());
        EXPECT_EQ(window.DocumentCount(), 0) << "nothing before the first showing";
        window.show();
        ASSERT_EQ(window.DocumentCount(), 1);
        const bool isFile = argument.endsWith(QStringLiteral("start.txt"));
        EXPECT_EQ(window.pcEdytory1->tabText(0), isFile ? QStringLiteral("start.txt") : QStringLiteral("1 Bez nazwy"));
        // Showing again does not repeat it.
        window.hide();
        window.show();
        EXPECT_EQ(window.DocumentCount(), 1);
    }
}

// ---- open ------------------------------------------------------------------------

TEST_F(DocumentsTest, OpenReplacesTheUntouchedUntitledDocument)
{
    TempDir dir;
    WriteFile(dir / "a.txt", "first\r\nsecond\r\n");
    dialogs->openChoices.push_back({Q(dir / "a.txt")});
    Click("miOtworz1");
    ASSERT_EQ(window->DocumentCount(), 1);
    EXPECT_EQ(TabCaption(0), QStringLiteral("a.txt"));
    EXPECT_EQ(Current().Editor().Lines().Count(), 2);
    EXPECT_EQ(Current().Editor().Lines()[1], "second");
    EXPECT_EQ(window->windowTitle(), Q(dir / "a.txt") + QStringLiteral(" - Ostrel 3.2"));
    EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Nie zmieniony"));
    // The counter was not raised by the opened file.
    Click("miNowy1");
    EXPECT_EQ(TabCaption(1), QStringLiteral("2 Bez nazwy"));
}

TEST_F(DocumentsTest, OpenKeepsAModifiedUntitledDocumentAndOpensSeveralFiles)
{
    TempDir dir;
    WriteFile(dir / "a.txt", "a");
    WriteFile(dir / "b.txt", "b");
    Type("keep me");
    dialogs->openChoices.push_back({Q(dir / "a.txt"), Q(dir / "b.txt")});
    Click("miOtworz1");
    ASSERT_EQ(window->DocumentCount(), 3);
    EXPECT_EQ(TabCaption(0), QStringLiteral("1 Bez nazwy"));
    EXPECT_EQ(TabCaption(1), QStringLiteral("a.txt"));
    EXPECT_EQ(TabCaption(2), QStringLiteral("b.txt"));
    EXPECT_EQ(window->pcEdytory1->currentIndex(), 2);
}

TEST_F(DocumentsTest, OpeningAnOpenFileAsksOncePerCopy)
{
    TempDir dir;
    WriteFile(dir / "a.txt", "a");
    const QString path = Q(dir / "a.txt");
    window->OpenDocument(path);
    dialogs->answers.push_back(TAnswer::Yes);
    window->OpenDocument(path);
    ASSERT_EQ(window->DocumentCount(), 3);
    // A third copy asks twice; No on the second question opens nothing.
    dialogs->answers.push_back(TAnswer::Yes);
    dialogs->answers.push_back(TAnswer::No);
    window->OpenDocument(path);
    EXPECT_EQ(window->DocumentCount(), 3);
    EXPECT_EQ(dialogs->Count(QStringLiteral("question")), 3);
    EXPECT_EQ(dialogs->Texts(QStringLiteral("question")).front(), res::kAlreadyOpen);
}

TEST_F(DocumentsTest, AFailedLoadLeavesAnEmptyUntitledTabAndSaysSo)
{
    TempDir dir;
    window->OpenDocument(Q(dir / "missing.txt"));
    ASSERT_EQ(window->DocumentCount(), 2);
    EXPECT_EQ(Current().Path(), QString());
    EXPECT_EQ(TabCaption(1), QStringLiteral("1 Bez nazwy"));
    EXPECT_EQ(dialogs->Texts(QStringLiteral("error")), std::vector<QString>{res::kLoadError});
}

// ---- highlighter ------------------------------------------------------------------

TEST_F(DocumentsTest, TheExtensionChoosesTheHighlighter)
{
    TempDir dir;
    for (const char* name : {"page.HTM", "page.inc", "page.php4", "notes.txt"})
        WriteFile(dir / name, "<b>x</b>\n");
    TOstCustomHighlighter* html = window->Highlighters().Get(hlHtml);
    ASSERT_NE(html, nullptr);
    window->OpenDocument(Q(dir / "page.HTM"));
    EXPECT_EQ(Current().Highlighter(), html);
    for (const char* name : {"page.inc", "page.php4", "notes.txt"}) {
        window->OpenDocument(Q(dir / name));
        EXPECT_EQ(Current().Highlighter(), nullptr) << name;
    }
}

// The name of the attribute the document's highlighter gives the text at a place.
std::string AttributeAt(TOstEdit& editor, TBufferCoord at)
{
    std::string token;
    int kind = 0;
    TOstHighlighterAttributes* attribute = nullptr;
    if (!editor.GetHighlighterAttriAtRowCol(at, token, kind, attribute) || !attribute)
        return {};
    return attribute->Name();
}

TEST_F(DocumentsTest, AFileOpensWithTheTemplatesHighlighterUnlessItsExtensionNamesOne)
{
    TempDir dir;
    // A comment that spans lines: its last line is coloured only if the
    // states stored at the lines' ends belong to the attached highlighter.
    WriteFile(dir / "notes.txt", "int a; /* one\ntwo */ int b;\n");
    WriteFile(dir / "page.htm", "<!-- one\ntwo --> <b>x</b>\n");
    TOstCustomHighlighter* cpp = window->Highlighters().Get(hlCpp);
    TOstCustomHighlighter* html = window->Highlighters().Get(hlHtml);
    ASSERT_NE(cpp, nullptr);
    ASSERT_NE(html, nullptr);
    window->Template().SetHighlighter(cpp);

    window->OpenDocument(Q(dir / "notes.txt"));
    EXPECT_EQ(Current().Highlighter(), cpp);
    EXPECT_EQ(AttributeAt(Current().Editor(), {1, 2}), cpp->DefaultAttribute(daComment)->Name());
    EXPECT_NE(AttributeAt(Current().Editor(), {9, 2}), cpp->DefaultAttribute(daComment)->Name());

    window->OpenDocument(Q(dir / "page.htm"));
    EXPECT_EQ(Current().Highlighter(), html);
    EXPECT_EQ(AttributeAt(Current().Editor(), {1, 2}), html->DefaultAttribute(daComment)->Name());
    EXPECT_EQ(TabCaption(window->pcEdytory1->currentIndex()), QStringLiteral("page.htm"));
    EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Nie zmieniony"));

    // A file that cannot be read leaves an untitled document like New's.
    window->OpenDocument(Q(dir / "missing.htm"));
    EXPECT_EQ(Current().Highlighter(), cpp);
    EXPECT_EQ(Current().Path(), QString());
}

TEST_F(DocumentsTest, EveryLanguageOpensWithItsOwnColouredInstance)
{
    TempDir dir;
    // The comment colour the main window gives each instance (XML keeps the lexer's).
    struct Row {
        const char* name;
        THighlighterId id;
        TColor comment;
    };
    const Row rows[] = {
        {"a.php", hlPhp, clGreen}, {"a.css", hlCss, clGreen}, {"a.js", hlJs, clGreen},
        {"a.xml", hlXml, clNone}, {"a.cpp", hlCpp, clGreen}, {"a.pas", hlPas, clNavy},
        {"a.java", hlJava, clGreen}, {"a.sql", hlSql, clGreen}, {"a.vbs", hlVbs, clGreen},
        {"a.pl", hlPerl, clGreen},
    };
    for (const Row& row : rows) {
        WriteFile(dir / row.name, "x = 1\n");
        window->OpenDocument(Q(dir / row.name));
        TOstCustomHighlighter* instance = window->Highlighters().Get(row.id);
        ASSERT_NE(instance, nullptr) << row.name;
        EXPECT_EQ(Current().Highlighter(), instance) << row.name;
        TOstHighlighterAttributes* comment = instance->DefaultAttribute(0);
        ASSERT_NE(comment, nullptr) << row.name;
        if (row.comment != clNone) {
            EXPECT_EQ(comment->Foreground(), row.comment) << row.name;
        }
    }
}

TEST_F(DocumentsTest, TheExtensionTableCoversEveryLanguage)
{
    EXPECT_EQ(THighlighterSet::IdForFile(QStringLiteral("/x/a.shtml")), hlHtml);
    EXPECT_EQ(THighlighterSet::IdForFile(QStringLiteral("a.PHTML")), hlPhp);
    EXPECT_EQ(THighlighterSet::IdForFile(QStringLiteral("a.xslt")), hlXml);
    EXPECT_EQ(THighlighterSet::IdForFile(QStringLiteral("a.hpp")), hlCpp);
    EXPECT_EQ(THighlighterSet::IdForFile(QStringLiteral("a.dpr")), hlPas);
    EXPECT_EQ(THighlighterSet::IdForFile(QStringLiteral("a.cgi")), hlPerl);
    EXPECT_EQ(THighlighterSet::IdForFile(QStringLiteral("a.vbs")), hlVbs);
    EXPECT_EQ(THighlighterSet::IdForFile(QStringLiteral("dir.html/README")), hlNone);
    EXPECT_EQ(THighlighterSet::IdForFile(QStringLiteral("a.html.bak")), hlNone);
}

TEST_F(DocumentsTest, InstancesExistExactlyForTheLexersThatExist)
{
    for (const TOstLanguage& info : Languages()) {
        const bool exists = CreateHighlighter(info.Name()) != nullptr;
        EXPECT_EQ(window->Highlighters().Get(info.id) != nullptr, exists) << info.Name();
        const QString suffix = QString::fromLatin1(info.instanceName).mid(2);
        EXPECT_EQ(Action(("miKolorowanie" + suffix.toStdString()).c_str())->isEnabled(), exists) << info.Name();
        EXPECT_EQ(Action(("pmiKolorowanie" + suffix.toStdString()).c_str())->isEnabled(), exists) << info.Name();
    }
}

TEST_F(DocumentsTest, TheMainWindowColoursItsHtmlInstance)
{
    TOstCustomHighlighter* html = window->Highlighters().Get(hlHtml);
    ASSERT_NE(html, nullptr);
    TOstHighlighterAttributes* comment = html->AttributeByName("Comment");
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(comment->Foreground(), clGreen);
    EXPECT_EQ(comment->Style(), fsItalic);
    EXPECT_EQ(html->AttributeByName("Escape Ampersand")->Foreground(), clGreen);
}

TEST_F(DocumentsTest, TheMenusSetAndShowTheCurrentHighlighter)
{
    Click("miKolorowanieHtml1");
    EXPECT_EQ(Current().Highlighter(), window->Highlighters().Get(hlHtml));
    window->pmKolorowanie1Popup();
    EXPECT_TRUE(Action("pmiKolorowanieHtml1")->isChecked());
    Click("pmiKolorowanieBrak1");
    EXPECT_EQ(Current().Highlighter(), nullptr);
    window->miFunkcje1Click();
    EXPECT_TRUE(Action("miKolorowanieBrak1")->isChecked());
    // A typed new document starts with its language.
    Click("pmiNowyHTML1");
    EXPECT_EQ(Current().Highlighter(), window->Highlighters().Get(hlHtml));
    Click("pmiNowyTXT1");
    EXPECT_EQ(Current().Highlighter(), nullptr);
}

// ---- close -------------------------------------------------------------------------

TEST_F(DocumentsTest, ClosingTheLastDocumentLeavesOneFirstUntitled)
{
    Click("miNowy1");
    Click("miNowy1");
    Click("miNowy1");
    ASSERT_EQ(TabCaption(3), QStringLiteral("4 Bez nazwy"));
    for (int i = 0; i < 4; ++i)
        Click("miZamknij1");
    ASSERT_EQ(window->DocumentCount(), 1);
    EXPECT_EQ(TabCaption(0), QStringLiteral("1 Bez nazwy"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("1 Bez nazwy - Ostrel 3.2"));
}

TEST_F(DocumentsTest, ClosingSelectsTheTabBeforeTheClosedOne)
{
    Click("miNowy1");
    Click("miNowy1");
    window->pcEdytory1->setCurrentIndex(1);
    Click("miZamknij1");
    EXPECT_EQ(window->pcEdytory1->currentIndex(), 0);
    EXPECT_EQ(TabCaption(1), QStringLiteral("3 Bez nazwy"));
    window->pcEdytory1->setCurrentIndex(0);
    Click("tbZamknij1");
    EXPECT_EQ(window->pcEdytory1->currentIndex(), 0);
    EXPECT_EQ(TabCaption(0), QStringLiteral("3 Bez nazwy"));
}

TEST_F(DocumentsTest, CancelInTheSaveQuestionStopsCloseAll)
{
    Type("one");
    Click("miNowy1");
    Click("miNowy1");
    Type("three");
    dialogs->answers.push_back(TAnswer::No);      // 3 Bez nazwy: drop it
    dialogs->answers.push_back(TAnswer::Cancel);  // 1 Bez nazwy: stop
    Click("miZamknijWszystkie1");
    ASSERT_EQ(window->DocumentCount(), 1);
    EXPECT_EQ(TabCaption(0), QStringLiteral("1 Bez nazwy"));
    EXPECT_TRUE(Current().Editor().Modified());
    EXPECT_EQ(dialogs->Texts(QStringLiteral("question")).back(), res::kSaveChanges);
    // No failure message for the cancel.
    EXPECT_EQ(dialogs->Count(QStringLiteral("error")), 0);
}

TEST_F(DocumentsTest, CloseAllEndsWithOneNewDocument)
{
    Click("miNowy1");
    Click("miNowy1");
    Click("miZamknijWszystkie1");
    ASSERT_EQ(window->DocumentCount(), 1);
    EXPECT_EQ(TabCaption(0), QStringLiteral("1 Bez nazwy"));
}

TEST_F(DocumentsTest, CancelKeepsTheWindowOpen)
{
    Type("unsaved");
    dialogs->answers.push_back(TAnswer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(Current().Editor().Modified());
}

// ---- drops, paste into new, enabling ---------------------------------------------------------

TEST_F(DocumentsTest, ADropOpensOnlyTheFirstFileAndReplacesAnUntouchedDocument)
{
    TempDir dir;
    WriteFile(dir / "a.html", "<p>");
    WriteFile(dir / "b.txt", "b");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Q(dir / "a.html")), QUrl::fromLocalFile(Q(dir / "b.txt"))});
    // A drag enters the window and is dropped on it.
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    ASSERT_EQ(window->DocumentCount(), 1);
    EXPECT_EQ(TabCaption(0), QStringLiteral("a.html"));
    // On a modified document a drop adds a tab.
    Type("x");
    window->HandleDropFiles({Q(dir / "b.txt")});
    ASSERT_EQ(window->DocumentCount(), 2);
    EXPECT_EQ(TabCaption(1), QStringLiteral("b.txt"));
}

TEST_F(DocumentsTest, PasteIntoNewMakesACountedDocument)
{
    Current().Editor().SetSelText("copied");
    Current().Editor().SelectAll();
    Current().Editor().CopyToClipboard();
    window->Edycja1Click();
    ASSERT_TRUE(Action("miWklejdonowego1")->isEnabled());
    Click("miWklejdonowego1");
    ASSERT_EQ(window->DocumentCount(), 2);
    EXPECT_EQ(TabCaption(1), QStringLiteral("2 Bez nazwy"));
    EXPECT_EQ(Current().Editor().Lines()[0], "copied");
}

TEST_F(DocumentsTest, FileCommandsNeedAnExistingFile)
{
    window->miPlik1Click();
    EXPECT_FALSE(Action("miWlasciwosci1")->isEnabled());
    EXPECT_FALSE(Action("miZmienNazwe1")->isEnabled());
    window->miFunkcje1Click();
    EXPECT_FALSE(Action("miUruchomPlik1")->isEnabled());
    TempDir dir;
    OpenFile(dir.path(), "run.sh", "echo");
    window->miPlik1Click();
    EXPECT_TRUE(Action("miWlasciwosci1")->isEnabled());
    EXPECT_TRUE(Action("miZmienNazwe1")->isEnabled());
    window->miFunkcje1Click();
    ASSERT_TRUE(Action("miUruchomPlik1")->isEnabled());
    Click("miUruchomPlik1");
    EXPECT_EQ(launched, QStringList{Q(dir / "run.sh")});
}

TEST_F(DocumentsTest, MenuCaptionsAndShortcutsAreThoseOfTheProgram)
{
    EXPECT_EQ(Action("miOtworz1")->text(), QStringLiteral("&Otwórz..."));
    EXPECT_EQ(Action("miOtworz1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(Action("miWlasciwosci1")->text(), QStringLiteral("&Właś&ciwości pliku"));
    EXPECT_EQ(Action("miPowtorz1")->shortcut(), QKeySequence(QStringLiteral("Shift+Ctrl+Z")));
    EXPECT_EQ(Action("miPoprzednia1")->shortcut(), QKeySequence(QStringLiteral("Shift+Ctrl+Tab")));
    EXPECT_EQ(Action("miPomoc1")->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(Action("miDoSzufladki1")->shortcut(), QKeySequence(QStringLiteral("Alt+F5")));
}

}  // namespace
}  // namespace ostrel::test
