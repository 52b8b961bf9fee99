#pragma once
// The configuration window: the editor's settings on the "Edytor" tab,
// applied and stored on "&Ok", and the desktop integration on the "System"
// tab, which acts at once. Created on first use and kept; every showing
// refills it from the main window, so a Cancel forgets unapplied choices.

#include <QDialog>
#include <functional>

#include "platform/Canvas.h"
#include "platform/OstColors.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace ostrel {

class TOstrel3Main;
class TShellIntegration;
enum class TShortcutFolder;

class TwndKonfiguracja : public QDialog {
    Q_OBJECT

public:
    explicit TwndKonfiguracja(TOstrel3Main& owner);

    // Fills every control from the main window's current state.
    void FormShow();

    void btnOk1Click();
    void btnAnuluj1Click();
    // List index: 0 no highlighter, 1 to 11 the languages; others do nothing.
    void SetDefaultHighlighter(int index);
    // The boxes' choices to the template, the window and every document.
    void ApplyEditorOptions();
    // At once, to the template and every document.
    void ApplyBackgroundColor(TColor color);
    void SetLineNumbers(bool on);

    // What the font dialog holds: applied, name and size only, on "&Ok".
    const TOstFont& DialogFont() const { return dialogFont_; }

private:
    QWidget* CreateEdytorTab();
    QWidget* CreateSystemTab();
    QWidget* CreateOptionsGroup();
    QWidget* CreateRecodingGroup();
    QWidget* CreateEncodingGroup();
    QWidget* CreateShortcutGroup(const char* name, const QString& caption, TShortcutFolder folder,
                                 const char* createName, const char* removeName);
    QPushButton* Button(QWidget* parent, const char* name, const QString& caption,
                        const std::function<void()>& handler);
    QCheckBox* CheckBox(QWidget* parent, const char* name, const QString& caption);

    void ShowDefaultHighlighter();
    void ShowCurrentOptions();
    void sbEditorFont1Click();
    void sbKolorTla1Click();
    void cbGutter1Click();
    void cbAutostart1Click();
    // A desktop-integration command with a fresh view of the settings.
    void WithShell(const std::function<void(TShellIntegration&)>& action);
    // Failures go to the main window's message, as a menu command's do.
    void Run(const std::function<void()>& command);

    TOstrel3Main& owner_;
    QTabWidget* tabs_ = nullptr;
    QComboBox* cbRodzajKolorowania1 = nullptr;
    QComboBox* cbDomyslneKodowanie1 = nullptr;
    QCheckBox* cbNumeryLiniiNaGutter1 = nullptr;
    QCheckBox* cbGutter1 = nullptr;
    QCheckBox* cbMinTray1 = nullptr;
    QCheckBox* cbTabsToSpace1 = nullptr;
    QCheckBox* cbPasekStatusu1 = nullptr;
    QCheckBox* cbPasekStandardowy1 = nullptr;
    QCheckBox* cbPasekWyszukiwania1 = nullptr;
    QCheckBox* cbPrzywracajSesje1 = nullptr;
    QRadioButton* rbKoduj_[3] = {};
    QCheckBox* cbAutostart1 = nullptr;
    TOstFont dialogFont_;
    TColor dialogColor_ = clWhite;
};

}  // namespace ostrel
