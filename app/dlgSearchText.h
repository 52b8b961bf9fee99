#pragma once
// The Find dialog: the search text with its history, the four search
// options and the direction. The Replace dialog builds on it.

#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGridLayout;
class QGroupBox;
class QRadioButton;
class QVBoxLayout;

namespace ostrel {

// A history as the main window keeps it: the newest first, joined by CR LF.
QString JoinHistory(const QStringList& entries);
QStringList SplitHistory(const QString& history);
// The entered text put first (no second copy of it), at most kHistoryLength kept.
QStringList HistoryWith(const QStringList& entries, const QString& entered);
inline constexpr int kHistoryLength = 10;

class TTextSearchDialog : public QDialog {
    Q_OBJECT

public:
    explicit TTextSearchDialog(QWidget* parent = nullptr);

    bool SearchBackwards() const;
    void SetSearchBackwards(bool value);
    bool SearchCaseSensitive() const;
    void SetSearchCaseSensitive(bool value);
    bool SearchFromCursor() const;
    void SetSearchFromCursor(bool value);
    bool SearchInSelectionOnly() const;
    void SetSearchInSelectionOnly(bool value);
    bool SearchWholeWords() const;
    void SetSearchWholeWords(bool value);

    QString SearchText() const;
    void SetSearchText(const QString& text);
    // CR LF joined, the newest first.
    QString SearchTextHistory() const;
    void SetSearchTextHistory(const QString& history);

    // The widgets, for the tests that fill the dialog as a user does.
    QComboBox* cbSearchText = nullptr;
    QCheckBox* cbSearchCaseSensitive = nullptr;
    QCheckBox* cbSearchWholeWords = nullptr;
    QCheckBox* cbSearchFromCursor = nullptr;
    QCheckBox* cbSearchSelectedOnly = nullptr;
    QRadioButton* rbForward = nullptr;
    QRadioButton* rbBackward = nullptr;
    QDialogButtonBox* buttons = nullptr;

    void accept() override;

protected:
    // The Replace dialog puts its second drop-down under the first one.
    QGridLayout* TextsLayout() const { return texts_; }
    void FixSize(int height);
    static QComboBox* NewHistoryBox(QWidget* parent);
    static void EnterInHistory(QComboBox& box);
    static QStringList EntriesOf(const QComboBox& box);
    static QString HistoryOf(const QComboBox& box);
    static void FillHistory(QComboBox& box, const QStringList& entries);
    static void FillHistory(QComboBox& box, const QString& history);

private:
    QGroupBox* NewOptionsGroup();
    QGroupBox* NewDirectionGroup();

    QGridLayout* texts_ = nullptr;
};

}  // namespace ostrel
