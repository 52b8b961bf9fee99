#pragma once
// A search or replace that takes longer than a moment: after a short delay a
// window shows how far through the lines it is, with a button that ends it.
// Events are handled meanwhile, so the main window repaints and answers;
// the progress window is modal to it, so the document cannot be edited under
// the search. The scope hands the editor (and the regex engine, for a long
// line) the checks and takes them back when the search is over.

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

#include "editor/OstEdit.h"
#include "editor/OstRegex.h"

namespace ostrel {

class TSearchProgress {
public:
    TSearchProgress(QWidget* window, TOstEdit& editor, TOstRegex& regex, const QString& label);
    ~TSearchProgress();
    TSearchProgress(const TSearchProgress&) = delete;
    TSearchProgress& operator=(const TSearchProgress&) = delete;

    // Whether the user ended the search.
    bool Cancelled() const { return cancelled_; }
    // After a question to the user the delay starts again.
    void Restart() { clock_.restart(); }

    // How long a search runs before the window shows, in milliseconds.
    static constexpr int kDelayMs = 400;

private:
    bool Step(int done, int total);
    bool Interrupted();
    void Show();
    void HandleEvents();

    QWidget* window_;
    TOstEdit& editor_;
    TOstRegex& regex_;
    QString label_;
    QElapsedTimer clock_;
    QElapsedTimer sinceEvents_;
    QPointer<QProgressDialog> dialog_;
    bool cancelled_ = false;
};

}  // namespace ostrel
