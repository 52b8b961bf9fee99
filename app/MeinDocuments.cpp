// Documents: creating, opening, switching and closing them, and keeping the
// caption, the status bar and the toolbar in step with the current one.

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QTabWidget>

#include "app/AppErrors.h"
#include "app/Document.h"
#include "app/FindBar.h"
#include "app/GlobalRes.h"
#include "app/RecoveryJournal.h"
#include "app/Mein.h"
#include "app/UiGuards.h"
#include "app/qt/OstEditWidget.h"
#include "platform/SafeWrite.h"

namespace ostrel {

namespace {

// The caret's place in its line counted in characters, as a person counts
// them; beyond the end one a cell.
int CharacterNumber(const TOstEdit& editor)
{
    const TOstEditStringList& lines = editor.Lines();
    const std::string_view line = lines.Get(editor.CaretY() - 1);
    const size_t caret = static_cast<size_t>(editor.CaretX() - 1);
    int number = 1;
    size_t at = 0;
    for (; at < caret && at < line.size(); ++number)
        at = lines.Chars().Next(line, at);
    return number + static_cast<int>(caret > line.size() ? caret - line.size() : 0);
}

}  // namespace

int TOstrel3Main::DocumentCount() const { return pcEdytory1->count(); }

TDocumentPage* TOstrel3Main::DocumentAt(int index) const
{
    return qobject_cast<TDocumentPage*>(pcEdytory1->widget(index));
}

TDocumentPage* TOstrel3Main::CurrentDocument() const
{
    return qobject_cast<TDocumentPage*>(pcEdytory1->currentWidget());
}

TDocumentPage* TOstrel3Main::RequireCurrentDocument() const
{
    TDocumentPage* document = CurrentDocument();
    if (!document)
        throw EAbort();  // no document while the window is being built or torn down
    return document;
}

QStringList TOstrel3Main::DocumentPaths() const
{
    QStringList paths;
    for (int i = 0; i < DocumentCount(); ++i)
        paths << DocumentAt(i)->Path();
    return paths;
}

bool TOstrel3Main::IsUntouchedUntitled(const TDocumentPage& document) const
{
    return !document.Editor().Modified() && !document.HasExistingFile();
}

TDocumentPage* TOstrel3Main::NewDocument(TOstCustomHighlighter* highlighter, bool counted)
{
    TUpdatesFrozen frozen(this);
    TDocumentPage* document = AddDocumentTab(highlighter, counted);
    RefreshCurrentTab(false);
    return document;
}

// The new document's tab, made current; the window's panels and menus are
// left for the caller to refresh once the document holds what it will.
TDocumentPage* TOstrel3Main::AddDocumentTab(TOstCustomHighlighter* highlighter, bool counted)
{
    if (counted)
        ++UntitledCounter;
    auto* document = new TDocumentPage();
    {
        const QSignalBlocker quiet(pcEdytory1);
        const int index = pcEdytory1->addTab(document, QString::number(UntitledCounter) + u' ' + res::kUntitled);
        pcEdytory1->setCurrentIndex(index);
    }
    SetupEditor(*document, highlighter);
    ConnectDocument(*document);
    document->EditWidget().setFocus();
    return document;
}

void TOstrel3Main::RefreshCurrentTab(bool modified)
{
    UpdateModifiedState(modified);
    pcEdytory1Change();
}

// What a new document takes from the template editor. Every document starts
// with the plain search engine; the regular-expression switch changes it.
void TOstrel3Main::SetupEditor(TDocumentPage& document, TOstCustomHighlighter* highlighter)
{
    TOstEdit& editor = document.Editor();
    editor.SetWantTabs(true);
    editor.SetModified(false);
    editor.SetColor(smWzor1.Color());
    editor.SetFont(smWzor1.Font());
    editor.SetHideSelection(smWzor1.HideSelection());
    editor.Gutter().Assign(smWzor1.Gutter());
    document.SetHighlighter(highlighter);
    editor.SetOptions(smWzor1.Options());
    editor.SetKeystrokes(smWzor1.Keystrokes());
    editor.SetRightEdge(smWzor1.RightEdge());
    editor.SetSearchEngine(SearchEngineInUse());
    editor.SetMaxLineWidth(smWzor1.MaxLineWidth());
    editor.Lines().SetEncoding(DefaultEncoding);
    editor.SetBracketHighlight(true);
    editor.OnTextNotEncodable = [this, &editor](std::string_view utf8) { return OfferUtf8(editor, utf8); };
}

void TOstrel3Main::ConnectDocument(TDocumentPage& document)
{
    journal_->Track(document);
    TOstEditWidget& widget = document.EditWidget();
    widget.installEventFilter(this);
    widget.viewport()->installEventFilter(this);
    widget.viewport()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget.viewport(), &QWidget::customContextMenuRequested, this,
            [this, &widget](const QPoint& at) { pmMain1->popup(widget.viewport()->mapToGlobal(at)); });
    connect(&document, &TDocumentPage::StatusChanged, this, [this, &document] {
        if (&document == CurrentDocument()) {
            UpdateModifiedState(document.Editor().Modified());
            UpdateEncodingItems();
            // Searches, replacements and commands move the caret as keys do.
            UpdateCaretPanel();
        }
    });
}

void TOstrel3Main::OpenDocument(const QString& givenPath, std::optional<TOstEncoding> encoding)
{
    const QString path = QFileInfo(givenPath).absoluteFilePath();
    for (int i = 0; i < DocumentCount(); ++i)
        if (DocumentAt(i)->Path() == path && dialogs_->Question(this, res::kAlreadyOpen, false) == TAnswer::No)
            return;
    bool loaded = false;
    {
        TUpdatesFrozen frozen(this);
        // The lines come in with no highlighter attached: the one chosen for
        // the file is the only one that scans them.
        TDocumentPage* document = AddDocumentTab(nullptr, false);
        try {
            LoadDocument(*document, path, encoding);
            document->SetHighlighter(HighlighterOfFile(path));
            pcEdytory1->setTabText(pcEdytory1->indexOf(document), QFileInfo(path).fileName());
            mflMRU1->AddItem(path);
            loaded = true;
        } catch (const std::exception&) {
            // What is left is an empty untitled document, as New makes it.
            document->SetHighlighter(smWzor1.Highlighter());
        }
        RefreshCurrentTab(false);
    }
    if (!loaded)
        dialogs_->Error(this, res::kLoadError);
}

void TOstrel3Main::LoadDocument(TDocumentPage& document, const QString& path, std::optional<TOstEncoding> encoding)
{
    const TWaitCursor wait;
    const std::string native = QFile::encodeName(path).toStdString();
    // What a killed save of this file left beside it (it may be as
    // large as the file) goes now; a save still running elsewhere keeps its own.
    RemoveStaleTemporaries(QFile::encodeName(QFileInfo(path).absolutePath()).toStdString(),
                           QFile::encodeName(QFileInfo(path).fileName()).toStdString());
    document.Editor().Lines().LoadFromFile(native, TOstEncodingChoice{encoding, DefaultEncoding});
    document.SetPath(path);
    RecordDiskState(document, path);
}

void TOstrel3Main::HighlighterForFile(const QString& path, TDocumentPage& document)
{
    document.SetHighlighter(HighlighterOfFile(path));
}

// The highlighter the extension table names, else the one new documents get.
TOstCustomHighlighter* TOstrel3Main::HighlighterOfFile(const QString& path)
{
    if (TOstCustomHighlighter* highlighter = highlighters_.Get(THighlighterSet::IdForFile(path)))
        return highlighter;
    return smWzor1.Highlighter();
}

void TOstrel3Main::QuerySaveChanges()
{
    TDocumentPage* document = RequireCurrentDocument();
    if (!document->Editor().Modified())
        return;
    switch (dialogs_->Question(this, res::kSaveChanges, true)) {
    case TAnswer::Cancel:
        throw EAbort();
    case TAnswer::Yes:
        miZapisz1Click();
        // A save that did not happen (dialog cancelled, write refused or
        // failed) keeps the document rather than dropping its changes.
        if (document->Editor().Modified())
            throw EAbort();
        break;
    case TAnswer::No:
        break;
    }
}

void TOstrel3Main::RemoveDocument(int index)
{
    std::unique_ptr<QWidget> page(pcEdytory1->widget(index));
    const QSignalBlocker quiet(pcEdytory1);
    pcEdytory1->removeTab(index);
}

void TOstrel3Main::ActivateDocument(int index)
{
    const QSignalBlocker quiet(pcEdytory1);
    pcEdytory1->setCurrentIndex(index);
}

void TOstrel3Main::miZamknij1Click()
{
    TDocumentPage* document = RequireCurrentDocument();
    QuerySaveChanges();
    TUpdatesFrozen frozen(this);
    const int closed = pcEdytory1->indexOf(document);
    if (DocumentCount() == 1) {
        UntitledCounter = 0;
        NewDocument(smWzor1.Highlighter(), true);
    }
    RemoveDocument(closed);
    ActivateDocument(closed > 0 ? closed - 1 : DocumentCount() - 1);
    pcEdytory1Change();
}

void TOstrel3Main::miZamknijWszystkie1Click()
{
    for (int i = DocumentCount() - 1; i >= 0; --i) {
        ActivateDocument(i);
        pcEdytory1Change();
        miZamknij1Click();
    }
}

void TOstrel3Main::pcEdytory1Change()
{
    TDocumentPage* document = CurrentDocument();
    if (!document)
        return;
    UpdateCaption();
    UpdateCaretPanel();
    UpdateModifiedState(document->Editor().Modified());
    UpdateEncodingItems();
    findBar_->DocumentChanged();
    ApplyViewToggles(*document);
    CheckRegexItem();
}

// The view toggles of the menus apply to the document that becomes current;
// the hidden-characters mark goes through the template to every document.
void TOstrel3Main::ApplyViewToggles(TDocumentPage& document)
{
    const bool columns = findChild<QAction*>(QStringLiteral("miZaznaczanieKolumn1"))->isChecked();
    document.Editor().SetSelectionMode(columns ? smColumn : smNormal);
    document.Editor().SetWordWrap(findChild<QAction*>(QStringLiteral("miZawijanieWierszy1"))->isChecked());
    const bool hidden = findChild<QAction*>(QStringLiteral("miUkryteZnaki1"))->isChecked();
    smWzor1.SetOption(eoShowSpecialChars, hidden);
    for (int i = DocumentCount() - 1; i >= 0; --i)
        DocumentAt(i)->Editor().SetOptions(smWzor1.Options());
}

void TOstrel3Main::UpdateCaption()
{
    TDocumentPage* document = CurrentDocument();
    const QString name = document->Path().isEmpty() ? pcEdytory1->tabText(pcEdytory1->indexOf(document))
                                                    : document->Path();
    setWindowTitle(name + res::kCaptionSeparator + res::kMainCaption);
}

void TOstrel3Main::UpdateModifiedState(bool modified)
{
    TDocumentPage* document = CurrentDocument();
    if (!document)
        return;
    TOstEdit& editor = document->Editor();
    // Setting the flag reports a status change; only a real change is worth one.
    if (editor.Modified() != modified)
        editor.SetModified(modified);
    statusPanels_[0]->setText(modified ? res::kModified : res::kNotModified);
    findChild<QAction*>(QStringLiteral("tbZapisz1"))->setEnabled(modified);
    SetItemEnabled(findChild<QAction*>(QStringLiteral("tbCofnij1")), editor.CanUndo());
    SetItemEnabled(findChild<QAction*>(QStringLiteral("tbPowtorz1")), editor.CanRedo());
}

void TOstrel3Main::UpdateCaretPanel()
{
    if (TDocumentPage* document = CurrentDocument()) {
        const TOstEdit& editor = document->Editor();
        statusPanels_[1]->setText(QStringLiteral("%1:%2").arg(editor.CaretY()).arg(CharacterNumber(editor)));
    }
}

void TOstrel3Main::Nowy1Click() { NewDocument(smWzor1.Highlighter(), true); }

void TOstrel3Main::NewDocumentOfType(THighlighterId id) { NewDocument(highlighters_.Get(id), true); }

void TOstrel3Main::TellDialogsTheFolder()
{
    const TDocumentPage* document = CurrentDocument();
    dialogs_->SetDocumentFolder(document && !document->Path().isEmpty() ? QFileInfo(document->Path()).absolutePath()
                                                                        : QString());
}

void TOstrel3Main::miOtworz1Click()
{
    std::optional<TOstEncoding> encoding;
    TellDialogsTheFolder();
    const QStringList files = dialogs_->OpenFiles(this, res::kFileFilters, encoding);
    if (files.isEmpty())
        return;
    if (TDocumentPage* document = CurrentDocument(); document && IsUntouchedUntitled(*document)) {
        const int index = pcEdytory1->indexOf(document);
        RemoveDocument(index);
        if (DocumentCount() > 0)
            ActivateDocument(index > 0 ? index - 1 : DocumentCount() - 1);
    }
    for (const QString& file : files)
        OpenDocument(file, encoding);
}

void TOstrel3Main::miNastepna1Click()
{
    ActivateDocument((pcEdytory1->currentIndex() + 1) % DocumentCount());
    pcEdytory1Change();
}

void TOstrel3Main::miPoprzednia1Click()
{
    ActivateDocument((pcEdytory1->currentIndex() + DocumentCount() - 1) % DocumentCount());
    pcEdytory1Change();
}

void TOstrel3Main::miWklejdonowego1Click()
{
    NewDocument(smWzor1.Highlighter(), true)->Editor().PasteFromClipboard();
}

void TOstrel3Main::SetCurrentHighlighter(THighlighterId id)
{
    RequireCurrentDocument()->SetHighlighter(highlighters_.Get(id));
}

void TOstrel3Main::miPlik1Click()
{
    const bool hasFile = RequireCurrentDocument()->HasExistingFile();
    SetItemEnabled(findChild<QAction*>(QStringLiteral("miWlasciwosci1")), hasFile);
    SetItemEnabled(findChild<QAction*>(QStringLiteral("miZmienNazwe1")), hasFile);
}

void TOstrel3Main::Edycja1Click()
{
    const TOstEdit& editor = RequireCurrentDocument()->Editor();
    SetItemEnabled(findChild<QAction*>(QStringLiteral("miWklejdonowego1")), editor.CanPaste());
    SetItemEnabled(findChild<QAction*>(QStringLiteral("miWklej2")), editor.CanPaste());
    SetItemEnabled(findChild<QAction*>(QStringLiteral("miDuplikujWiersz1")), !editor.LineText().empty());
    EnableEditingItems("miCofnij1", "miPowtorz1", "miWytnij1", "miKopiuj1", "miUsun2");
    findChild<QAction*>(QStringLiteral("miZaznaczanieKolumn1"))->setChecked(editor.SelectionMode() == smColumn);
    findChild<QAction*>(QStringLiteral("miZawijanieWierszy1"))->setChecked(editor.WordWrap());
    CheckRegexItem();
}

void TOstrel3Main::miFunkcje1Click()
{
    SetItemEnabled(findChild<QAction*>(QStringLiteral("miUruchomPlik1")),
                   RequireCurrentDocument()->HasExistingFile());
    SetItemEnabled(findChild<QAction*>(QStringLiteral("miZakomentuj1")), RequireCurrentDocument()->Editor().SelAvail());
    CheckHighlighterItem(kolorowanieMenuGroup_);
}

void TOstrel3Main::pmKolorowanie1Popup() { CheckHighlighterItem(kolorowaniePopupGroup_); }

}  // namespace ostrel
