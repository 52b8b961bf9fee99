#pragma once
// The Replace dialog: the Find dialog with the replace text and its history.

#include "app/dlgSearchText.h"

namespace ostrel {

class TTextReplaceDialog : public TTextSearchDialog {
    Q_OBJECT

public:
    explicit TTextReplaceDialog(QWidget* parent = nullptr);

    QString ReplaceText() const;
    void SetReplaceText(const QString& text);
    // CR LF joined, the newest first.
    QString ReplaceTextHistory() const;
    void SetReplaceTextHistory(const QString& history);

    QComboBox* cbReplaceText = nullptr;

    void accept() override;
};

}  // namespace ostrel
