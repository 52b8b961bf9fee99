// The Polish recoding commands, recoding before a save, and the four exports
// of the "&Eksport" menu: what reaches the disk, what the user is told, and
// when the items are enabled.

#include <sys/stat.h>

#include <QMenu>

#include "app/qt/OstEditWidget.h"

#include "AppTestSupport.h"
#include "app/GlobalRes.h"
#include "editor/OstPolishRecode.h"
#include "support/TestSupport.h"

// What QTest uses to put a key through the shortcut map as a real key press
// does; exported by Qt GUI.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep, ushort count);

namespace ostrel::test {
namespace {

// "Zażółć gęślą jaźń" in Windows-1250 and in ISO-8859-2, and without diacritics.
const std::string kWindowsText = "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1";
const std::string kIsoText = "Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1 ja\xBC\xF1";
const std::string kAsciiText = "Zazolc gesla jazn";

struct TSaveRequest {
    TFileDialogId id;
    QString filters;
    QString defaultSuffix;
};

// Notes what each save dialog was opened with and lets the script answer.
class TRecordingDialogs final : public TDialogs {
public:
    TRecordingDialogs(TScriptedDialogs& script, std::vector<TSaveRequest>& requests)
        : script_(script), requests_(requests)
    {
    }
    TAnswer Question(QWidget* owner, const QString& text, bool withCancel) override
    {
        return script_.Question(owner, text, withCancel);
    }
    void Information(QWidget* owner, const QString& text) override { script_.Information(owner, text); }
    void Warning(QWidget* owner, const QString& text) override { script_.Warning(owner, text); }
    void Error(QWidget* owner, const QString& text) override { script_.Error(owner, text); }
    QString Input(QWidget* owner, const QString& caption, const QString& prompt, const QString& initial) override
    {
        return script_.Input(owner, caption, prompt, initial);
    }
    QStringList OpenFiles(QWidget* owner, const QString& filters, std::optional<TOstEncoding>& encoding) override
    {
        return script_.OpenFiles(owner, filters, encoding);
    }
    QString SaveFile(QWidget* owner, TFileDialogId id, const QString& filters,
                     const QString& defaultSuffix) override
    {
        requests_.push_back({id, filters, defaultSuffix});
        return script_.SaveFile(owner, id, filters, defaultSuffix);
    }
    std::optional<QColor> ChooseColor(QWidget* owner, const QColor& initial) override
    {
        return script_.ChooseColor(owner, initial);
    }
    std::optional<QFont> ChooseFont(QWidget* owner, const QFont& initial) override
    {
        return script_.ChooseFont(owner, initial);
    }
    bool Print(QWidget* owner, QPrinter& printer) override { return script_.Print(owner, printer); }
    bool PrinterSetup(QWidget* owner, QPrinter& printer) override { return script_.PrinterSetup(owner, printer); }
    std::optional<std::vector<bool>> ChooseRecovered(QWidget* owner, const QStringList& items) override
    {
        return script_.ChooseRecovered(owner, items);
    }

private:
    TScriptedDialogs& script_;
    std::vector<TSaveRequest>& requests_;
};

class ExportCommandsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        TestApp();
        script_ = std::make_unique<TScriptedDialogs>();
        dialogs = script_.get();
        window = std::make_unique<TOstrel3Main>(QString(), std::make_unique<TRecordingDialogs>(*script_, requests));
        window->show();
        window->activateWindow();
        QApplication::processEvents();
    }

    void OpenPlikMenu() const { emit window->findChild<QMenu*>(QStringLiteral("miPlik1"))->aboutToShow(); }
    std::string Text() const { return JoinedText(Current().Editor().Lines()); }
    // Text in Windows-1250, as the document's encoding then is.
    void SetText(const std::string& text) const
    {
        Current().Editor().Lines().SetEncoding(TOstEncoding::Windows1250);
        SetJoinedText(Current().Editor().Lines(), text);
        window->UpdateEncodingItems();
    }
    // A key as the user presses it, through Qt's shortcut map.
    void PressShortcut(QKeyCombination key) const
    {
        EXPECT_TRUE(qt_sendShortcutOverrideEvent(&Current().EditWidget(), 0, key.key(), key.keyboardModifiers(),
                                                 QString(), false, 1))
            << "no shortcut took the key " << key.toCombined();
    }
    // Chooses the path in the next export dialog and runs the item.
    void ExportTo(const char* item, const std::filesystem::path& path)
    {
        dialogs->saveChoices.push_back(Q(path));
        Click(item);
    }

    std::vector<TSaveRequest> requests;

private:
    std::unique_ptr<TScriptedDialogs> script_;
};

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

// ---- recoding ------------------------------------------------------------------------

TEST_F(ExportCommandsTest, RecodingToIsoChangesTheSixLettersAndMarksTheDocumentModified)
{
    TempDir dir;
    OpenFile(dir.path(), "pl.txt", kWindowsText + "\n");
    ASSERT_FALSE(Current().Editor().Modified());
    Current().Editor().SetCaretXY({5, 1});
    Click("miPrzekodujNaISO1");
    EXPECT_EQ(Text(), kIsoText);
    EXPECT_TRUE(Current().Editor().Modified());
    EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Zmieniony"));
    EXPECT_EQ(Current().Editor().CaretXY(), (TBufferCoord{5, 1}));
    // The file itself is untouched until the document is saved.
    EXPECT_EQ(ReadFile(dir / "pl.txt"), kWindowsText + "\n");
}

TEST_F(ExportCommandsTest, EveryRecodingMarksTheDocumentModifiedEvenWhenNothingChanges)
{
    TempDir dir;
    window->DefaultEncoding = TOstEncoding::Windows1250;  // plain ASCII opens in the code page
    for (const char* item : {"miPrzekodujNaISO1", "miPrzekodujNaWindows1", "miPrzekodujNaBezPolskich1"}) {
        OpenFile(dir.path(), "ascii.txt", "plain\n");
        ASSERT_EQ(window->StatusPanelText(0), QStringLiteral("Nie zmieniony")) << item;
        Click(item);
        EXPECT_EQ(Text(), "plain") << item;
        EXPECT_TRUE(Current().Editor().Modified()) << item;
        EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Zmieniony")) << item;
        Current().Editor().SetModified(false);
        Click("miZamknij1");
    }
}

TEST_F(ExportCommandsTest, InUtf8OnlyStrippingDiacriticsApplies)
{
    TempDir dir;
    OpenFile(dir.path(), "pl.txt", "Zażółć gęślą jaźń\n");
    ASSERT_EQ(window->EncodingPanelText(), QStringLiteral("UTF-8"));
    EXPECT_FALSE(Action("miPrzekodujNaISO1")->isEnabled());
    EXPECT_FALSE(Action("miPrzekodujNaWindows1")->isEnabled());
    PressShortcut(Qt::SHIFT | Qt::CTRL | Qt::Key_F9);
    EXPECT_EQ(Text(), "Zazolc gesla jazn");
    EXPECT_EQ(window->EncodingPanelText(), QStringLiteral("UTF-8"));
    Click("miCofnij1");
    EXPECT_EQ(Text(), "Zażółć gęślą jaźń") << "a recoding is one undo step";
}

TEST_F(ExportCommandsTest, RecodingBackToWindowsGivesTheStartingTextAgain)
{
    SetText(kWindowsText);
    Click("miPrzekodujNaISO1");
    Click("miPrzekodujNaWindows1");
    EXPECT_EQ(Text(), kWindowsText);
    // A second recode to ISO-8859-2 finds nothing more to change.
    Click("miPrzekodujNaISO1");
    Click("miPrzekodujNaISO1");
    EXPECT_EQ(Text(), kIsoText);
}

TEST_F(ExportCommandsTest, StrippingDiacriticsGivesTheSameAsciiFromEitherCodePage)
{
    SetText(kWindowsText + "\r\n\xA3\xF3\x64\x9F");
    Click("miPrzekodujNaBezPolskich1");
    EXPECT_EQ(Text(), kAsciiText + "\r\nLodz");
    EXPECT_TRUE(Current().Editor().Modified());

    window->NewDocument(nullptr, true);
    SetText(kIsoText);
    Click("miPrzekodujNaBezPolskich1");
    EXPECT_EQ(Text(), kAsciiText);
}

TEST_F(ExportCommandsTest, TheRecodingShortcutsRunTheCommands)
{
    EXPECT_EQ(Action("miPrzekodujNaISO1")->shortcut(), QKeySequence(QStringLiteral("Shift+Ctrl+F8")));
    EXPECT_EQ(Action("miPrzekodujNaWindows1")->shortcut(), QKeySequence(QStringLiteral("Shift+Ctrl+F7")));
    EXPECT_EQ(Action("miPrzekodujNaBezPolskich1")->shortcut(), QKeySequence(QStringLiteral("Shift+Ctrl+F9")));
    EXPECT_EQ(Action("miPrzekodujNaBezPolskich1")->text(), QStringLiteral("&bez polskich znaków"));

    SetText(kWindowsText);
    PressShortcut(Qt::SHIFT | Qt::CTRL | Qt::Key_F8);
    EXPECT_EQ(Text(), kIsoText);
    PressShortcut(Qt::SHIFT | Qt::CTRL | Qt::Key_F7);
    EXPECT_EQ(Text(), kWindowsText);
    PressShortcut(Qt::SHIFT | Qt::CTRL | Qt::Key_F9);
    EXPECT_EQ(Text(), kAsciiText);
}

TEST_F(ExportCommandsTest, RecodingKeepsTheHighlighterAndDropsTheSelection)
{
    TempDir dir;
    OpenFile(dir.path(), "page.html", "<b>" + kWindowsText + "</b>\n");
    TOstCustomHighlighter* highlighter = Current().Highlighter();
    ASSERT_NE(highlighter, nullptr);
    Current().Editor().SelectAll();
    Click("miPrzekodujNaISO1");
    EXPECT_EQ(Current().Editor().Highlighter(), highlighter);
    EXPECT_FALSE(Current().Editor().SelAvail());
    EXPECT_TRUE(window->updatesEnabled());
}

// ---- recoding before a save ---------------------------------------------------------------

TEST_F(ExportCommandsTest, DecodeBeforeSaveRecodesBeforeTheBytesReachTheDisk)
{
    EXPECT_EQ(window->DecodeBeforeSave, 0);
    TempDir dir;
    OpenFile(dir.path(), "pl.txt", kWindowsText + "\n");
    window->SetDecodeBeforeSave(1);
    Click("miZapisz1");
    EXPECT_EQ(ReadFile(dir / "pl.txt"), kIsoText + "\n");
    // The editor shows what was saved, and the save cleared the flag.
    EXPECT_EQ(Text(), kIsoText);
    EXPECT_FALSE(Current().Editor().Modified());
    EXPECT_EQ(window->StatusPanelText(0), QStringLiteral("Nie zmieniony"));

    window->SetDecodeBeforeSave(2);
    Click("miZapisz1");
    EXPECT_EQ(ReadFile(dir / "pl.txt"), kWindowsText + "\n");
}

TEST_F(ExportCommandsTest, WithoutDecodeBeforeSaveTheBytesAreSavedAsTheyAre)
{
    TempDir dir;
    OpenFile(dir.path(), "pl.txt", kIsoText + "\n");
    Click("miZapisz1");
    EXPECT_EQ(ReadFile(dir / "pl.txt"), kIsoText + "\n");
    // Values the setting does not know leave the bytes alone too.
    window->SetDecodeBeforeSave(7);
    EXPECT_EQ(window->DecodeBeforeSave, 0);
}

TEST_F(ExportCommandsTest, ARefusedSaveDoesNotRecode)
{
    TempDir dir;
    OpenFile(dir.path(), "pl.txt", kWindowsText + "\n");
    ::chmod((dir / "pl.txt").c_str(), 0444);
    window->SetDecodeBeforeSave(1);
    Click("miZapisz1");
    EXPECT_EQ(dialogs->Texts(QStringLiteral("error")), std::vector<QString>{res::kReadOnlyFile});
    EXPECT_EQ(Text(), kWindowsText);
}

// ---- UTF-8 export ---------------------------------------------------------------------------

TEST_F(ExportCommandsTest, Utf8ExportWritesTheTextWithoutAByteOrderMark)
{
    TempDir dir;
    OpenFile(dir.path(), "a.txt", "\xB9");
    ExportTo("miUTF8", dir / "a-utf8.txt");
    EXPECT_EQ(ReadFile(dir / "a-utf8.txt"), Bytes({0xC4, 0x85}));
    EXPECT_FALSE(Current().Editor().Modified());
    EXPECT_EQ(Text(), "\xB9");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].id, TFileDialogId::Export);
    EXPECT_EQ(requests[0].filters, QStringLiteral("Wszystkie pliki |*.*"));
    EXPECT_EQ(requests[0].defaultSuffix, QString());
}

TEST_F(ExportCommandsTest, Utf8ExportOfSeveralLinesAndOfNothing)
{
    TempDir dir;
    SetText("ab\r\nc\xEA");
    ExportTo("miUTF8", dir / "lines.txt");
    EXPECT_EQ(ReadFile(dir / "lines.txt"), "ab\r\nc\xC4\x99");

    window->NewDocument(nullptr, true);
    ExportTo("miUTF8", dir / "empty.txt");
    EXPECT_TRUE(std::filesystem::exists(dir / "empty.txt"));
    EXPECT_EQ(ReadFile(dir / "empty.txt"), "");
}

TEST_F(ExportCommandsTest, CancellingTheExportDialogWritesNothing)
{
    TempDir dir;
    SetText("text");
    for (const char* item : {"miUTF8", "miExportDolaczNaKoniecPliku1"}) {
        dialogs->saveChoices.push_back(QString());
        Click(item);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
    EXPECT_TRUE(dialogs->Texts(QStringLiteral("error")).empty());
    EXPECT_TRUE(dialogs->Texts(QStringLiteral("warning")).empty());
}

// ---- read-only targets -------------------------------------------------------------------

TEST_F(ExportCommandsTest, AReadOnlyTargetIsRefusedAndLeftIntact)
{
    TempDir dir;
    WriteFile(dir / "locked.txt", "old");
    ::chmod((dir / "locked.txt").c_str(), 0444);
    SetText("new");
    Current().Editor().SelectAll();
    OpenPlikMenu();
    for (const char* item : {"miUTF8", "miEksportZaznaczonyTekstDoPliku1", "miExportDolaczNaKoniecPliku1"}) {
        ExportTo(item, dir / "locked.txt");
        EXPECT_EQ(ReadFile(dir / "locked.txt"), "old") << item;
    }
    EXPECT_EQ(dialogs->Texts(QStringLiteral("error")), std::vector<QString>(3, res::kReadOnlyFile));
    EXPECT_EQ(res::kReadOnlyFile,
              QStringLiteral("Plik ma ustawione atrybuty \"tylko do odczytu\". Nie mogę do niego zapisać."));
}

TEST_F(ExportCommandsTest, AnUnwritableFolderReachesTheApplicationHandler)
{
    SetText("text");
    ExportTo("miUTF8", "/nonexistent-folder/out.txt");
    ASSERT_EQ(dialogs->Count(QStringLiteral("error")), 1);
    EXPECT_TRUE(dialogs->Texts(QStringLiteral("error"))[0].startsWith(QStringLiteral("Wystapił błąd: ")));
}

// ---- the selection to a file -------------------------------------------------------------

TEST_F(ExportCommandsTest, SelectionExportIsEnabledOnlyWithASelection)
{
    SetText("one\r\ntwo");
    OpenPlikMenu();
    EXPECT_FALSE(Action("miEksportZaznaczonyTekstDoPliku1")->isEnabled());
    // A disabled item opens no dialog (the script would fail on one).
    Click("miEksportZaznaczonyTekstDoPliku1");
    EXPECT_EQ(dialogs->Count(QStringLiteral("save")), 0);

    Current().Editor().SetBlockBegin({2, 1});
    Current().Editor().SetBlockEnd({3, 2});
    OpenPlikMenu();
    EXPECT_TRUE(Action("miEksportZaznaczonyTekstDoPliku1")->isEnabled());
}

TEST_F(ExportCommandsTest, SelectionExportWritesExactlyTheSelection)
{
    TempDir dir;
    WriteFile(dir / "sel.txt", "a much longer old content");
    SetText("one\r\ntwo\r\nthree");
    Current().Editor().SetBlockBegin({2, 1});
    Current().Editor().SetBlockEnd({3, 2});
    OpenPlikMenu();
    ExportTo("miEksportZaznaczonyTekstDoPliku1", dir / "sel.txt");
    EXPECT_EQ(ReadFile(dir / "sel.txt"), "ne\r\ntw");
    EXPECT_TRUE(Current().Editor().SelAvail());
}

// ---- appending to a file -------------------------------------------------------------------

TEST_F(ExportCommandsTest, AppendingToAMissingFileWarnsAndCreatesNothing)
{
    TempDir dir;
    SetText("text");
    ExportTo("miExportDolaczNaKoniecPliku1", dir / "missing.txt");
    EXPECT_EQ(dialogs->Texts(QStringLiteral("warning")),
              std::vector<QString>{QStringLiteral("Musisz wskazać istniejący plik.")});
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.txt"));
}

TEST_F(ExportCommandsTest, AppendingAddsTheWholeTextWithoutASeparator)
{
    TempDir dir;
    WriteFile(dir / "log.txt", "last line");
    SetText("first\r\nsecond");
    // The whole text, not only the selection.
    Current().Editor().SetBlockBegin({1, 2});
    Current().Editor().SetBlockEnd({3, 2});
    ExportTo("miExportDolaczNaKoniecPliku1", dir / "log.txt");
    EXPECT_EQ(ReadFile(dir / "log.txt"), "last linefirst\r\nsecond");
    ExportTo("miExportDolaczNaKoniecPliku1", dir / "log.txt");
    EXPECT_EQ(ReadFile(dir / "log.txt"), "last linefirst\r\nsecondfirst\r\nsecond");
    EXPECT_TRUE(dialogs->Texts(QStringLiteral("warning")).empty());
}

// ---- RTF ------------------------------------------------------------------------------------

TEST_F(ExportCommandsTest, RtfExportWritesTheColouredDocument)
{
    TempDir dir;
    OpenFile(dir.path(), "page.html", "<b>\xB9</b>\n");
    OpenPlikMenu();
    ASSERT_TRUE(Action("miExportRTF1")->isEnabled());
    ExportTo("miExportRTF1", dir / "page.rtf");
    const std::string rtf = ReadFile(dir / "page.rtf");
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1250", 0), 0u) << rtf;
    EXPECT_NE(rtf.find("\\'b9"), std::string::npos) << rtf;
    EXPECT_EQ(rtf.back(), '}');
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].filters, QStringLiteral("Pliki RTF (*.rtf) |*.rtf"));
    EXPECT_EQ(requests[0].defaultSuffix, QStringLiteral("rtf"));
    EXPECT_EQ(window->RtfExporter().Title(), "RTF Eksport");
    EXPECT_FALSE(window->RtfExporter().UseBackground());
}

// A UTF-8 document's characters are neither taken for Windows-1250 bytes
// nor lost: the UTF-8 export is its text as it is, the RTF export escapes
// each character once.
TEST_F(ExportCommandsTest, Utf8DocumentsExportTheirCharacters)
{
    TempDir dir;
    OpenFile(dir.path(), "page.html", "\xEF\xBB\xBF<b>żółw Ω</b>\n<i>\xFF</i>\n");
    ASSERT_EQ(window->EncodingPanelText(), QStringLiteral("UTF-8 BOM"));
    ExportTo("miUTF8", dir / "page.txt");
    EXPECT_EQ(ReadFile(dir / "page.txt"), "<b>żółw Ω</b>\r\n<i>\xFF</i>");
    ExportTo("miExportRTF1", dir / "page.rtf");
    const std::string rtf = ReadFile(dir / "page.rtf");
    EXPECT_NE(rtf.find("\\'bf\\'f3\\'b3w {\\u937?}"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("{\\u-3?}"), std::string::npos) << rtf;
}

TEST_F(ExportCommandsTest, RtfExportNeedsAHighlighterAndText)
{
    TempDir dir;
    SetText("plain");
    OpenPlikMenu();
    EXPECT_FALSE(Action("miExportRTF1")->isEnabled());

    OpenFile(dir.path(), "empty.html", "");
    OpenPlikMenu();
    EXPECT_FALSE(Action("miExportRTF1")->isEnabled());
    SetText("<p>");
    OpenPlikMenu();
    EXPECT_TRUE(Action("miExportRTF1")->isEnabled());
    // The other exports do not depend on the document.
    EXPECT_TRUE(Action("miUTF8")->isEnabled());
    EXPECT_TRUE(Action("miExportDolaczNaKoniecPliku1")->isEnabled());
}

TEST_F(ExportCommandsTest, RtfExportToAReadOnlyFileIsRefused)
{
    TempDir dir;
    OpenFile(dir.path(), "page.html", "<p>x</p>\n");
    WriteFile(dir / "locked.rtf", "old");
    ::chmod((dir / "locked.rtf").c_str(), 0444);
    OpenPlikMenu();
    ExportTo("miExportRTF1", dir / "locked.rtf");
    EXPECT_EQ(dialogs->Texts(QStringLiteral("error")), std::vector<QString>{res::kReadOnlyFile});
    EXPECT_EQ(ReadFile(dir / "locked.rtf"), "old");
}

}  // namespace
}  // namespace ostrel::test
