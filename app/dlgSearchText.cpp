// The Find dialog.

#include "app/dlgSearchText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ostrel {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

QCheckBox* AddCheckBox(QVBoxLayout* layout, const char* name, const QString& caption)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(QString::fromLatin1(name));
    layout->addWidget(box);
    return box;
}

}  // namespace

QString JoinHistory(const QStringList& entries) { return entries.mid(0, kHistoryLength).join(kLineBreak); }

QStringList SplitHistory(const QString& history)
{
    return history.split(kLineBreak, Qt::SkipEmptyParts);
}

QStringList HistoryWith(const QStringList& entries, const QString& entered)
{
    QStringList result = entries;
    if (!entered.isEmpty()) {
        result.removeAll(entered);
        result.prepend(entered);
    }
    return result.mid(0, kHistoryLength);
}

TTextSearchDialog::TTextSearchDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TextSearchDialog"));
    setWindowTitle(QStringLiteral("Znajdź"));

    texts_ = new QGridLayout;
    cbSearchText = NewHistoryBox(this);
    cbSearchText->setObjectName(QStringLiteral("cbSearchText"));
    auto* label = new QLabel(QStringLiteral("Z&najdź:"));
    label->setBuddy(cbSearchText);
    texts_->addWidget(label, 0, 0);
    texts_->addWidget(cbSearchText, 0, 1);
    texts_->setColumnStretch(1, 1);

    auto* groups = new QHBoxLayout;
    groups->addWidget(NewOptionsGroup(), 1);
    groups->addWidget(NewDirectionGroup());

    buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(texts_);
    layout->addLayout(groups);
    layout->addStretch();
    layout->addWidget(buttons);
    FixSize(180);
}

// A fixed dialog, never smaller than its contents need with the system's font.
void TTextSearchDialog::FixSize(int height)
{
    setFixedSize(QSize(332, height).expandedTo(sizeHint()));
}

QComboBox* TTextSearchDialog::NewHistoryBox(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    // The history changes only when the dialog is accepted.
    box->setInsertPolicy(QComboBox::NoInsert);
    // Completing from the history must not change the case of what was typed.
    box->completer()->setCaseSensitivity(Qt::CaseSensitive);
    return box;
}

QGroupBox* TTextSearchDialog::NewOptionsGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Opcje wyszukiwania"));
    group->setObjectName(QStringLiteral("gbSearchOptions"));
    auto* column = new QVBoxLayout(group);
    cbSearchCaseSensitive = AddCheckBox(column, "cbSearchCaseSensitive", QStringLiteral("&Uwzględnij wielkość liter"));
    cbSearchWholeWords = AddCheckBox(column, "cbSearchWholeWords", QStringLiteral("&Znajdź tylko całe wyrazy"));
    cbSearchFromCursor = AddCheckBox(column, "cbSearchFromCursor", QStringLiteral("&Szukaj od pozycji kursora"));
    cbSearchSelectedOnly = AddCheckBox(column, "cbSearchSelectedOnly", QStringLiteral("T&ylko zaznaczony tekst"));
    return group;
}

QGroupBox* TTextSearchDialog::NewDirectionGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Kierunek"));
    group->setObjectName(QStringLiteral("rgSearchDirection"));
    auto* column = new QVBoxLayout(group);
    rbForward = new QRadioButton(QStringLiteral("Do &przodu"));
    rbForward->setObjectName(QStringLiteral("rbForward"));
    rbBackward = new QRadioButton(QStringLiteral("Do &tyłu"));
    rbBackward->setObjectName(QStringLiteral("rbBackward"));
    rbForward->setChecked(true);
    column->addWidget(rbForward);
    column->addWidget(rbBackward);
    column->addStretch();
    return group;
}

void TTextSearchDialog::EnterInHistory(QComboBox& box)
{
    FillHistory(box, HistoryWith(EntriesOf(box), box.currentText()));
}

void TTextSearchDialog::accept()
{
    EnterInHistory(*cbSearchText);
    QDialog::accept();
}

bool TTextSearchDialog::SearchBackwards() const { return rbBackward->isChecked(); }

void TTextSearchDialog::SetSearchBackwards(bool value)
{
    (value ? rbBackward : rbForward)->setChecked(true);
}

bool TTextSearchDialog::SearchCaseSensitive() const { return cbSearchCaseSensitive->isChecked(); }
void TTextSearchDialog::SetSearchCaseSensitive(bool value) { cbSearchCaseSensitive->setChecked(value); }
bool TTextSearchDialog::SearchFromCursor() const { return cbSearchFromCursor->isChecked(); }
void TTextSearchDialog::SetSearchFromCursor(bool value) { cbSearchFromCursor->setChecked(value); }
bool TTextSearchDialog::SearchInSelectionOnly() const { return cbSearchSelectedOnly->isChecked(); }
void TTextSearchDialog::SetSearchInSelectionOnly(bool value) { cbSearchSelectedOnly->setChecked(value); }
bool TTextSearchDialog::SearchWholeWords() const { return cbSearchWholeWords->isChecked(); }
void TTextSearchDialog::SetSearchWholeWords(bool value) { cbSearchWholeWords->setChecked(value); }

QString TTextSearchDialog::SearchText() const { return cbSearchText->currentText(); }
void TTextSearchDialog::SetSearchText(const QString& text) { cbSearchText->setEditText(text); }

QString TTextSearchDialog::SearchTextHistory() const { return HistoryOf(*cbSearchText); }
void TTextSearchDialog::SetSearchTextHistory(const QString& history) { FillHistory(*cbSearchText, history); }

QStringList TTextSearchDialog::EntriesOf(const QComboBox& box)
{
    QStringList entries;
    for (int i = 0; i < box.count(); ++i)
        entries << box.itemText(i);
    return entries;
}

QString TTextSearchDialog::HistoryOf(const QComboBox& box) { return JoinHistory(EntriesOf(box)); }

// Refills the list and keeps the text in the edit field.
void TTextSearchDialog::FillHistory(QComboBox& box, const QStringList& entries)
{
    const QString text = box.currentText();
    box.clear();
    box.addItems(entries);
    box.setEditText(text);
}

void TTextSearchDialog::FillHistory(QComboBox& box, const QString& history)
{
    FillHistory(box, SplitHistory(history));
}

}  // namespace ostrel
