#pragma once
// The question before each replacement of a Replace: replace this match,
// leave it, stop, or replace every match without asking again.

#include <QDialog>
#include <QString>

#include "editor/OstEditSearch.h"

class QKeyEvent;
class QLabel;
class QPushButton;

namespace ostrel {

class TConfirmReplaceDialog : public QDialog {
    Q_OBJECT

public:
    // The dialog's results; closing the window counts as Cancel.
    enum TResult { Cancel = QDialog::Rejected, Yes = 1, No = 2, All = 3 };

    explicit TConfirmReplaceDialog(QWidget* parent = nullptr);

    // The question names the text about to be replaced.
    void SetReplacedText(const QString& text);
    QString Message() const;

    QLabel* lblConfirmation = nullptr;
    QLabel* imgIcon = nullptr;
    QPushButton* btnReplace = nullptr;
    QPushButton* btnSkip = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnReplaceAll = nullptr;

protected:
    // A button's letter answers for it, with Alt or without.
    void keyPressEvent(QKeyEvent* event) override;
};

// What the editor is told for a result of the dialog.
TOstReplaceAction ReplaceActionOf(int result);

}  // namespace ostrel
