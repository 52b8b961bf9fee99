#pragma once
// The find bar under the documents: incremental search as the user types,
// every match in view highlighted and all of them counted, plain text or a
// regular expression, with or without letter case, and replacing from the
// same bar. Escape closes it. The search and replace dialogs stay as they
// are; a setting decides which Ctrl+F opens.

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <string>

#include "editor/OstEdit.h"
#include "editor/OstEditRegexSearch.h"
#include "editor/OstEditSearch.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace ostrel {

class TOstEditWidget;
class TOstrel3Main;

class TFindBar : public QWidget {
    Q_OBJECT

public:
    explicit TFindBar(TOstrel3Main& window);
    ~TFindBar() override;

    // Shows the bar (with the replace row when replacing), takes a one-line
    // selection as the text to find and puts the focus in the field.
    void Open(bool replacing);
    void Close();
    // The current document changed: its matches show instead.
    void DocumentChanged();
    // The next (or previous) match from the caret, round the end of the
    // text; false when there is none.
    bool FindNext(bool backwards);
    // Replaces the selected match, then finds the next one; everything at
    // once in one undoable step.
    void ReplaceCurrent();
    int ReplaceAll();

    // What the counter shows once counting is over; -1 while it counts.
    int MatchCount() const { return counted_ ? count_ : -1; }
    // Finishes a count still going on (tests, and a closing bar).
    void FinishCount();
    QString CounterText() const;
    bool NotFound() const { return notFound_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TOstEdit* Editor() const;
    TOstEditSearchCustom& Engine();
    // The field's text in the document's encoding; false when it cannot be.
    bool Pattern(std::string& pattern) const;
    TOstSearchOptions Options() const;
    void TextEdited();
    void OptionsChanged();
    bool Search(TOstSearchOptions options);
    void ShowFound(bool found);
    void Highlight();
    void StartCount();
    void CountSlice();
    void DetachFromEditor();

    TOstrel3Main& window_;
    QLineEdit* findText_ = nullptr;
    QLineEdit* replaceText_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* regular_ = nullptr;
    QLabel* counter_ = nullptr;
    QWidget* replaceRow_ = nullptr;
    // The bar's own engines: what they highlight and count is never the
    // dialogs' search.
    TOstEditSearch plain_;
    TOstEditRegexSearch regex_;
    bool searchCancelled_ = false;  // the last search was ended by the user
    TOstEditSearch countPlain_;
    TOstEditRegexSearch countRegex_;
    QPointer<TOstEditWidget> highlighted_;  // the editor showing the bar's matches
    TBufferCoord origin_;              // where typing the text began
    bool notFound_ = false;
    QTimer countTimer_;
    int countLine_ = 0;
    int count_ = 0;
    bool counted_ = true;
};

}  // namespace ostrel
