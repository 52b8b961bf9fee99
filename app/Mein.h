#pragma once
// The main window: menus, toolbar and status bar, the documents in their
// tabs, and the commands on documents and their files.
//
// Split by concern: Mein.cpp (life cycle, first showing, closing, drops,
// hints and failures), MeinMenus.cpp (menus, toolbar, popups, status bar),
// MeinDocuments.cpp (creating, opening, closing and switching documents),
// MeinFiles.cpp (saving, renaming, running and inspecting files), MeinExport.cpp
// (Polish recoding and the exports), MeinSettings.cpp (the stored settings),
// MeinRecent.cpp (the recent-files list), MeinTray.cpp (hiding in the tray).

#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/Dialogs.h"
#include "app/HighlighterSet.h"
#include "app/MRUFileList.h"
#include "app/SysTray.h"
#include "editor/OstEdit.h"
#include "editor/OstEditRegexSearch.h"
#include "print/OstExportRTF.h"

class QAction;
class QFileSystemWatcher;
class QTimer;
class QActionGroup;
class QDialog;
class QLabel;
class QMenu;
class QTabWidget;
class QToolBar;

namespace ostrel {

class TFindBar;
class TRecoveryJournal;
struct TOstRecoveryRecord;

class TDocumentPage;
class TwndPomoc;
class TwndOprogramie;
class QtPrinter;
class TOstEditPrint;
class TwndPrintPreview;
class TPageSetupDlg;
class TwndFtpUpload;
class TwndKonfiguracja;
enum class TOstPolishRecoding;

// Changes the case of the first letter of every word, a word being what
// follows a blank (tabs and line breaks do not separate); with continuing the
// first letter of the text is left alone.
std::string CapitaliseWords(std::string_view text, bool upper, bool continuing,
                            TOstEncoding encoding = TOstEncoding::Windows1250);
// Every character's case changed, as the document's encoding has it: by
// Unicode's simple mappings in UTF-8 (a damaged byte stays as it is),
// through the code page's own tables otherwise.
std::string ChangeTextCase(std::string_view text, bool upper, TOstEncoding encoding);

class TOstrel3Main : public QMainWindow {
    Q_OBJECT

public:
    // firstArgument is the first command-line argument (or empty); dialogs
    // default to the real ones.
    explicit TOstrel3Main(const QString& firstArgument = {}, std::unique_ptr<TDialogs> dialogs = nullptr);
    ~TOstrel3Main() override;

    // ---- process-wide state ---------------------------------------------------
    bool MinToTray = true;
    int DecodeBeforeSave = 0;  // recode before saving: 0 none, 1 to ISO-8859-2, 2 to Windows-1250
    // Ctrl+F opens the find bar ("Pasek wyszukiwania"), else the dialog.
    bool FindBarEnabled = true;
    // The documents open at the end, their carets and the current tab come
    // back at the next start ("Przywracaj otwarte dokumenty").
    bool RestoreSession = true;
    TFindBar& FindBar() { return *findBar_; }
    // The encoding of new documents and of files of plain ASCII.
    TOstEncoding DefaultEncoding = TOstEncoding::Utf8;
    void SetDecodeBeforeSave(int value);
    int UntitledCounter = 0;

    // ---- documents --------------------------------------------------------------
    QTabWidget* pcEdytory1 = nullptr;
    int DocumentCount() const;
    TDocumentPage* DocumentAt(int index) const;
    TDocumentPage* CurrentDocument() const;
    // The template every new document copies.
    TOstEdit& Template() { return smWzor1; }
    const THighlighterSet& Highlighters() const { return highlighters_; }
    TDialogs& Dialogs() { return *dialogs_; }
    // The paths of the open documents, in tab order (empty for untitled ones).
    QStringList DocumentPaths() const;

    TDocumentPage* NewDocument(TOstCustomHighlighter* highlighter, bool counted);
    // Opens a file in the encoding given, or the one detected.
    void OpenDocument(const QString& path, std::optional<TOstEncoding> encoding = std::nullopt);
    bool WriteDocument(TDocumentPage& document, const QString& path);
    void QuerySaveChanges();
    void UpdateModifiedState(bool modified);
    void UpdateCaretPanel();
    void HighlighterForFile(const QString& path, TDocumentPage& document);
    TOstCustomHighlighter* HighlighterOfFile(const QString& path);
    void SetupEditor(TDocumentPage& document, TOstCustomHighlighter* highlighter);
    static bool IsValidFileName(const QString& name);
    void pcEdytory1Change();

    // ---- commands -------------------------------------------------------------------
    void Nowy1Click();
    void NewDocumentOfType(THighlighterId id);
    void miOtworz1Click();
    void miZapisz1Click();
    void miZapiszjako1Click();
    void miZapiszwszystkie1Click();
    void miZamknij1Click();
    void miZamknijWszystkie1Click();
    void miWklejdonowego1Click();
    void miZmienNazwe1Click();
    void miWlasciwosci1Click();
    void miPrzekodujNaISO1Click();
    void miPrzekodujNaWindows1Click();
    void miPrzekodujNaBezPolskich1Click();
    void miUTF8Click();
    void miEksportZaznaczonyTekstDoPliku1Click();
    void miExportDolaczNaKoniecPliku1Click();
    void miExportRTF1Click();
    // The export items that depend on the document, refreshed as "&Plik" opens.
    void UpdateExportItems();
    // The main window's RTF exporter, set up on first use.
    TOstExporterRTF& RtfExporter();
    void miUruchomPlik1Click();
    void miKoniec1Click();
    void miNastepna1Click();
    void miPoprzednia1Click();
    void miPomoc1Click();
    void miOprogramie1Click();
    // FTP upload (MeinFtp.cpp).
    void miWyslijNaFtp1Click();
    void SetCurrentHighlighter(THighlighterId id);
    // Opening the menus refreshes what they enable and check.
    void miPlik1Click();
    void Edycja1Click();
    void miFunkcje1Click();
    void pmKolorowanie1Popup();
    void pmMain1Popup();

    // ---- editing (MeinEdit.cpp) ---------------------------------------------------------
    void miCofnij1Click();
    void miPowtorz1Click();
    void miWytnij1Click();
    void miKopiuj1Click();
    void miWklej1Click();
    void miUsun1Click();
    void miZaznaczWszystko1Click();
    void miUsunWiersz1Click();
    void miDuplikujWiersz1Click();
    void miIdzDoWiersza1Click();
    void miDuzeZnaki1Click();
    void miMaleZnaki1Click();
    void miPierwszeDuze1Click();
    void miPierwszeMale1Click();
    // Sets the short date format (dd, mm, mmmm, dddd, yyyy) and inserts today in it.
    void InsertDate(const QString& format);
    void miGodzina1Click();
    void miGodzinaIData1Click();
    void miZakomentuj1Click();
    // The selection between the two tags, the caret after it.
    void WrapInTags(const char* open, const char* close);
    void InsertHtml(const char* text);
    void SetBookmark(int number);
    void GotoBookmark(int number);
    void miZaznaczanieKolumn1Click();
    void miZawijanieWierszy1Click();
    void miUkryteZnaki1Click();
    void miWartoscKoloru1Click();
    // The colour dialog: the chosen colour, or none when cancelled. Starts at
    // the colour chosen last; replaceable for tests.
    static std::optional<QColor> ChooseColourModal(QWidget* owner, const QColor& initial);
    std::function<std::optional<QColor>(QWidget* owner, const QColor& initial)> ChooseColour = &ChooseColourModal;

    // ---- search and replace (MeinSearch.cpp) ------------------------------------------
    void miZnajdz1Click();
    void miZamien1Click();
    void miZnajdzNastepny1Click();
    void miZnajdzPoprzedni1Click();
    void miWyrazeniaRegularne1Click();
    // What the search dialogs last showed, kept for the whole run.
    struct TSearchState {
        bool backwards = false;
        bool caseSensitive = false;
        bool fromCaret = false;
        bool selectionOnly = false;
        bool wholeWords = false;
        QString text;
        QString textHistory;  // CR LF joined, the newest first
        QString replaceText;
        QString replaceTextHistory;
    };
    const TSearchState& SearchState() const { return searchState_; }
    TOstEditSearch& PlainSearchEngine() { return sesSearch1; }
    TOstEditRegexSearch& RegexSearchEngine() { return sersSearchRegular1; }
    // Shows the search, replace and confirmation dialogs modally and returns
    // their result; tests put here what fills and answers them.
    static int ExecModal(QDialog& dialog);
    std::function<int(QDialog& dialog)> ExecDialog = &ExecModal;

    // ---- configuration (MeinSettings.cpp) ---------------------------------------------
    void miKonfiguracja1Click();
    // Explicitly hidden or not, also while the window itself is not shown.
    bool ToolbarShown() const;
    void ShowToolbar(bool shown);
    bool StatusBarShown() const;
    void ShowStatusBar(bool shown);
    // Stores what the configuration window confirms, "Syntax" to "FontSize",
    // in one save: a failure leaves the stored settings as they were.
    void SaveConfigurationSettings();

    // ---- recent files and the tray (MeinRecent.cpp, MeinTray.cpp) ---------------------
    TMRUFileList& RecentFiles() { return *mflMRU1; }
    TSysTray& Tray() { return *stTray1; }
    void mflMRU1MRUItemClick(const QString& path);
    // Shown at start, or put in the tray when the first argument is "-h".
    void ShowAtStart();
    void miDoSzufladki1Click();
    void stTray1DblClick();
    // The tray menu's "&Otwórz..." and "&Koniec".
    void pmiOtworz1Click();
    void pmiKoniec1Click();
    void MinimizeProgramu();
    // Hidden in the tray, minimised, or not shown yet.
    bool InTray() const;

    // ---- printing (MeinPrint.cpp) --------------------------------------------------------
    void miDrukuj1Click();
    void miPodgladWydruku1Click();
    void miUstawieniadrukowania1Click();
    // The printer setup dialog of the page setup window.
    void psdPrintSetup1Execute();
    TOstEditPrint& PrintJob();
    QtPrinter& PrintDevice();
    // Made on first use, then kept; none before.
    TwndPrintPreview* PrintPreviewWindow() const;
    TPageSetupDlg* PageSetupWindow() const;

    // ---- changes on disk (MeinDiskChanges.cpp) ----------------------------------------
    // Looks at every document's file: an unmodified document whose file
    // changed reloads, a modified one asks, a vanished file marks it
    // modified. Runs on the watcher's signals, every few seconds and when
    // the window comes to the front.
    void CheckDiskChanges();

    // ---- crash recovery (MeinRecovery.cpp) ------------------------------------------
    TRecoveryJournal& Journal() { return *journal_; }
    // The documents a crash left: listed, and the chosen ones restored.
    // True when any came back.
    bool OfferRecovery();

    void HandleDropFiles(const QStringList& paths);
    // A file handed over by a later start: opened, and the window brought
    // to the front.
    void OpenHandedOver(const QString& path);
    void ShowApplicationHint(const QString& hint);
    void ExceptionProgramu(const std::exception& error);

    // The status bar's three panels.
    QString StatusPanelText(int panel) const;
    // ---- encodings (MeinEncoding.cpp) ---------------------------------------------
    QString EncodingPanelText() const;
    void UpdateEncodingItems();
    void ReopenAs(TDocumentPage& document, TOstEncoding encoding);
    void ConvertTo(TDocumentPage& document, TOstEncoding encoding);
    // The answer to a document's OnTextNotEncodable: asks, and converts.
    bool OfferUtf8(TOstEdit& editor, std::string_view utf8);
    // Runs a command the way a menu click does: a cancelled question ends it
    // quietly, any other failure goes to the application-wide handler.
    void RunCommand(void (TOstrel3Main::*command)());
    void RunCommand(const std::function<void()>& command);
    // How "&Uruchom plik" hands a file to the desktop; replaceable for tests.
    std::function<bool(const QString& path)> OpenWithDesktop;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Life cycle.
    void FormShow();
    void LoadSettings();
    void SaveWindowSettings();
    // The session (MeinSession.cpp): taken before the documents close,
    // stored once they have, reopened at start.
    struct TSessionDocument {
        QString path;
        int caretX = 1;
        int caretY = 1;
    };
    struct TSession {
        std::vector<TSessionDocument> documents;
        int current = 0;
    };
    TSession CurrentSession() const;
    void SaveSession(const TSession& session);
    bool ReopenSession();
    void DeleteFtpScript();
    void SetUpTemplateEditor();
    void SetUpRecentFiles();
    void SetUpTray();

    // Menus, toolbar and status bar (MeinMenus.cpp).
    void PlaceForFirstStart();
    void CreateMenus();
    void CreatePlikMenu();
    void CreateEdycjaMenu();
    void CreateFunkcjeMenu();
    void CreateWstawHtmlMenu(QMenu* parent);
    void CreatePomocMenu();
    void CreateKodowanieMenu();
    void CreatePopupMenus();
    void CreateToolBar();
    void CreateStatusBar();
    QAction* Item(QMenu* menu, const char* name, const QString& caption, const char* shortcut,
                  void (TOstrel3Main::*handler)());
    QMenu* SubMenu(QMenu* parent, const char* name, const QString& caption);
    QAction* ToolButton(const char* name, const QString& caption, const QString& hint, const char* iconName,
                        void (TOstrel3Main::*handler)());
    void AddHighlighterItems(QMenu* menu, const char* prefix, const QString& noneCaption,
                             QActionGroup* group);
    void AddNewDocumentItems(QMenu* menu);
    // A "Wstaw &HTML" item: wraps the selection when close is given, else
    // puts open in its place.
    void AddHtmlItem(QMenu* menu, const char* name, const QString& caption, const char* shortcut,
                     const char* open, const char* close);
    void SetItemEnabled(QAction* action, bool enabled);
    void CheckHighlighterItem(QActionGroup* group);
    bool IsMenuShortcut(const QKeyEvent& key) const;

    // Editing (MeinEdit.cpp).
    TOstEdit& CurrentEditor() const;
    void ReplaceSelection(const std::function<std::string(const std::string&)>& convert);
    void InsertText(const QString& text);
    void EnableEditingItems(const char* undo, const char* redo, const char* cut, const char* copy,
                            const char* remove);

    // Search and replace (MeinSearch.cpp).
    void ShowSearchReplaceDialog(bool replace);
    void DoSearchReplaceText(bool replace, bool backwards);
    TOstReplaceAction ConfirmReplace(const TOstEdit& editor);
    void CheckRegexItem();
    // The engine every document searches with: "Wyrażenia regularne" is one
    // switch for the whole program.
    TOstEditSearchCustom* SearchEngineInUse();

    // Documents (MeinDocuments.cpp).
    TDocumentPage* AddDocumentTab(TOstCustomHighlighter* highlighter, bool counted);
    void RefreshCurrentTab(bool modified);
    void LoadDocument(TDocumentPage& document, const QString& path, std::optional<TOstEncoding> encoding);
    void RemoveDocument(int index);
    void ActivateDocument(int index);
    void ConnectDocument(TDocumentPage& document);
    TDocumentPage* RequireCurrentDocument() const;
    bool IsUntouchedUntitled(const TDocumentPage& document) const;
    void ApplyViewToggles(TDocumentPage& document);
    void UpdateCaption();
    // The file dialogs start in the current document's folder.
    void TellDialogsTheFolder();

    // Changes on disk (MeinDiskChanges.cpp).
    void SetUpDiskWatch();
    // The file at path as the document has just read or written it.
    void RecordDiskState(TDocumentPage& document, const QString& path);
    void CheckDiskChange(TDocumentPage& document);
    void ReloadFromDisk(TDocumentPage& document);
    // False when the file changed on disk since it was read or written and
    // the user would rather not save over it.
    bool MaySaveOver(TDocumentPage& document, const QString& path);
    void WatchDocumentFiles();

    // Crash recovery (MeinRecovery.cpp).
    void RestoreRecovered(const TOstRecoveryRecord& record);

    // Files (MeinFiles.cpp).
    bool SaveDocument(TDocumentPage& document);
    void RenameDocumentFile(TDocumentPage& document, const QString& newName);

    // Recoding and exports (MeinExport.cpp).
    void RecodeDocument(TDocumentPage& document, TOstPolishRecoding recoding);
    void RecodeBeforeSave(TDocumentPage& document);
    QString RunExportDialog(const QString& filter, const QString& defaultSuffix);

    QString firstArgument_;
    std::unique_ptr<TDialogs> dialogs_;
    THighlighterSet highlighters_;  // before smWzor1 and the documents, which use it
    TOstEdit smWzor1;
    bool shownOnce_ = false;
    TOstEditSearch sesSearch1;
    TOstEditRegexSearch sersSearchRegular1;
    TSearchState searchState_;
    bool regexSearch_ = false;
    TFindBar* findBar_ = nullptr;  // a child of the window
    // Off until the first search from a dialog ends, then Find next goes on
    // from the caret.
    bool searchFromCaret_ = false;

    QActionGroup* kolorowanieMenuGroup_ = nullptr;
    QActionGroup* kolorowaniePopupGroup_ = nullptr;
    QMenu* pmNowy1 = nullptr;
    QMenu* pmKolorowanie1 = nullptr;
    QMenu* pmMain1 = nullptr;
    QMenu* pmPasek1 = nullptr;
    QMenu* pmTray1 = nullptr;
    QToolBar* tbStandardowy1 = nullptr;
    QLabel* statusPanels_[3] = {};
    QLabel* encodingPanel_ = nullptr;
    QActionGroup* encodingGroup_ = nullptr;
    QPointer<TwndPomoc> wndPomoc_;
    QPointer<TwndOprogramie> wndOprogramie_;
    QPointer<TwndFtpUpload> wndFtpUpload_;
    QPointer<TwndKonfiguracja> wndKonfiguracja_;
    std::unique_ptr<TOstExporterRTF> seRtf1;
    QColor cdColor1 = Qt::black;  // what the colour dialog showed last
    // The printer, the print job and their windows (MeinPrint.cpp).
    struct TPrintParts;
    struct TPrintPartsDeleter {
        void operator()(TPrintParts* parts) const;
    };
    std::unique_ptr<TPrintParts, TPrintPartsDeleter> print_;
    TPrintParts& PrintParts();
    void LoadPrintJob();
    // After dialogs_, which their failures at the window's end still use.
    std::unique_ptr<TMRUFileList> mflMRU1;
    QFileSystemWatcher* diskWatcher_ = nullptr;
    QTimer* diskCheck_ = nullptr;  // soon after a watcher signal
    QTimer* diskPoll_ = nullptr;   // every few seconds: watches are lost when a file is renamed over
    bool checkingDisk_ = false;
    TRecoveryJournal* journal_ = nullptr;  // a child of the window
    std::unique_ptr<TSysTray> stTray1;
};

}  // namespace ostrel
