// The Replace dialog.

#include "app/dlgReplaceText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace ostrel {

TTextReplaceDialog::TTextReplaceDialog(QWidget* parent) : TTextSearchDialog(parent)
{
    setObjectName(QStringLiteral("TextReplaceDialog"));
    setWindowTitle(QStringLiteral("Zamień"));
    cbReplaceText = NewHistoryBox(this);
    cbReplaceText->setObjectName(QStringLiteral("cbReplaceText"));
    auto* label = new QLabel(QStringLiteral("Z&amień na:"));
    label->setBuddy(cbReplaceText);
    TextsLayout()->addWidget(label, 1, 0);
    TextsLayout()->addWidget(cbReplaceText, 1, 1);
    // The search text comes first in the tab order, the replace text next.
    setTabOrder(cbSearchText, cbReplaceText);
    setTabOrder(cbReplaceText, cbSearchCaseSensitive);
    FixSize(210);
}

void TTextReplaceDialog::accept()
{
    EnterInHistory(*cbReplaceText);
    TTextSearchDialog::accept();
}

QString TTextReplaceDialog::ReplaceText() const { return cbReplaceText->currentText(); }
void TTextReplaceDialog::SetReplaceText(const QString& text) { cbReplaceText->setEditText(text); }

QString TTextReplaceDialog::ReplaceTextHistory() const { return HistoryOf(*cbReplaceText); }
void TTextReplaceDialog::SetReplaceTextHistory(const QString& history) { FillHistory(*cbReplaceText, history); }

}  // namespace ostrel
