// Search and replace in the current document: the Find and Replace dialogs,
// Find next, the question before each replacement and the switch to regular
// expressions. The search state is the main window's, shared by all documents
// for the whole run.

#include <QAction>

#include "app/Document.h"
#include "app/FindBar.h"
#include "app/GlobalRes.h"
#include "app/Mein.h"
#include "app/SearchProgress.h"
#include "app/dlgConfirmReplace.h"
#include "app/dlgReplaceText.h"
#include "app/dlgSearchText.h"
#include "app/qt/OstEditWidget.h"
#include "app/qt/KeyTranslation.h"

namespace ostrel {

namespace {

// The editor asks its handler only while a Replace runs; afterwards it is
// left without one again.
class TReplaceHandlerScope {
public:
    TReplaceHandlerScope(TOstEdit& editor, decltype(TOstEdit::OnReplaceText) handler) : editor_(editor)
    {
        editor_.OnReplaceText = std::move(handler);
    }
    ~TReplaceHandlerScope() { editor_.OnReplaceText = nullptr; }
    TReplaceHandlerScope(const TReplaceHandlerScope&) = delete;
    TReplaceHandlerScope& operator=(const TReplaceHandlerScope&) = delete;

private:
    TOstEdit& editor_;
};

}  // namespace

int TOstrel3Main::ExecModal(QDialog& dialog) { return dialog.exec(); }

void TOstrel3Main::miZnajdz1Click()
{
    if (FindBarEnabled)
        findBar_->Open(false);
    else
        ShowSearchReplaceDialog(false);
}

void TOstrel3Main::miZamien1Click()
{
    if (FindBarEnabled)
        findBar_->Open(true);
    else
        ShowSearchReplaceDialog(true);
}

// While the find bar is open F3 goes on with its text.
void TOstrel3Main::miZnajdzNastepny1Click()
{
    if (findBar_->isVisible())
        findBar_->FindNext(false);
    else
        DoSearchReplaceText(false, false);
}

void TOstrel3Main::miZnajdzPoprzedni1Click()
{
    if (findBar_->isVisible())
        findBar_->FindNext(true);
    else
        DoSearchReplaceText(false, true);
}

void TOstrel3Main::ShowSearchReplaceDialog(bool replace)
{
    TDocumentPage* document = RequireCurrentDocument();
    std::unique_ptr<TTextSearchDialog> dialog =
        replace ? std::make_unique<TTextReplaceDialog>(this) : std::make_unique<TTextSearchDialog>(this);
    TSearchState& state = searchState_;
    dialog->SetSearchBackwards(state.backwards);
    dialog->SetSearchCaseSensitive(state.caseSensitive);
    dialog->SetSearchFromCursor(state.fromCaret);
    dialog->SetSearchInSelectionOnly(state.selectionOnly);
    dialog->SetSearchWholeWords(state.wholeWords);
    dialog->SetSearchTextHistory(state.textHistory);
    dialog->SetSearchText(state.text);
    auto* replaceDialog = qobject_cast<TTextReplaceDialog*>(dialog.get());
    if (replaceDialog) {
        replaceDialog->SetReplaceTextHistory(state.replaceTextHistory);
        replaceDialog->SetReplaceText(state.replaceText);
    }
    if (ExecDialog(*dialog) != QDialog::Accepted)
        return;

    state.backwards = dialog->SearchBackwards();
    state.caseSensitive = dialog->SearchCaseSensitive();
    state.fromCaret = dialog->SearchFromCursor();
    state.selectionOnly = dialog->SearchInSelectionOnly();
    state.wholeWords = dialog->SearchWholeWords();
    state.text = dialog->SearchText();
    state.textHistory = dialog->SearchTextHistory();
    if (replaceDialog) {
        state.replaceText = replaceDialog->ReplaceText();
        state.replaceTextHistory = replaceDialog->ReplaceTextHistory();
    }
    searchFromCaret_ = state.fromCaret;
    if (!state.text.isEmpty()) {
        DoSearchReplaceText(replace, state.backwards);
        searchFromCaret_ = true;
    }
    document->EditWidget().setFocus();
}

void TOstrel3Main::DoSearchReplaceText(bool replace, bool backwards)
{
    TOstEdit& editor = RequireCurrentDocument()->Editor();
    TOstSearchOptions options = replace ? (ssoPromptOnReplace | ssoReplace | ssoReplaceAll) : 0;
    if (backwards)
        options |= ssoBackwards;
    if (searchState_.caseSensitive)
        options |= ssoMatchCase;
    if (!searchFromCaret_)
        options |= ssoEntireScope;
    if (searchState_.selectionOnly)
        options |= ssoSelectedOnly;
    if (searchState_.wholeWords)
        options |= ssoWholeWord;

    int found = 0;
    {
        TSearchProgress progress(this, editor, sersSearchRegular1.Regex(),
                                 replace ? res::kReplaceProgress : res::kSearchProgress);
        TReplaceHandlerScope handler(editor, replace ? decltype(TOstEdit::OnReplaceText)(
                                                           [this, &editor, &progress](const std::string&,
                                                                                      const std::string&, int, int) {
                                                               const TOstReplaceAction action = ConfirmReplace(editor);
                                                               progress.Restart();
                                                               return action;
                                                           })
                                                     : nullptr);
        // The texts in the document's encoding: a text it cannot hold is nowhere in it.
        std::string text, replacement;
        try {
            if (ConvertText(searchState_.text.toStdString(), TOstEncoding::Utf8, editor.Encoding(), text) ==
                    std::string_view::npos &&
                (!replace ||
                 editor.TextForDocument(searchState_.replaceText.toStdString(), TOstEncoding::Utf8, replacement)))
                found = editor.SearchReplace(text, replacement, options);
        } catch (const EOstRegex& e) {
            if (e.ErrorCode() != reeInterrupted)
                throw;
        }
        if (progress.Cancelled()) {  // ended by the user: the selection shows where
            UpdateModifiedState(editor.Modified());
            return;
        }
    }
    if (found > 0)
        return;
    dialogs_->Information(this, res::kSearchFinished);
    // Nothing left to find that way: the selection shrinks to the end the
    // search was heading for.
    const TBufferCoord rest = backwards ? editor.BlockBegin() : editor.BlockEnd();
    editor.SetCaretAndSelection(rest, rest, rest);
}

// The editor has selected the match; the question names what it holds.
TOstReplaceAction TOstrel3Main::ConfirmReplace(const TOstEdit& editor)
{
    TConfirmReplaceDialog dialog(this);
    dialog.SetReplacedText(FromAnsi(editor.SelText()));
    return ReplaceActionOf(ExecDialog(dialog));
}

TOstEditSearchCustom* TOstrel3Main::SearchEngineInUse()
{
    if (regexSearch_)
        return &sersSearchRegular1;
    return &sesSearch1;
}

void TOstrel3Main::miWyrazeniaRegularne1Click()
{
    regexSearch_ = !regexSearch_;
    for (int i = 0; i < DocumentCount(); ++i)
        DocumentAt(i)->Editor().SetSearchEngine(SearchEngineInUse());
    CheckRegexItem();
}

void TOstrel3Main::CheckRegexItem()
{
    findChild<QAction*>(QStringLiteral("miWyrazeniaRegularne1"))->setChecked(regexSearch_);
}

}  // namespace ostrel
