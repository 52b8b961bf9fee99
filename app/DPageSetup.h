#pragma once
// The page setup window, "Ustawienia drukowania": the margins in a chosen
// unit and the print options on one tab, the header's three columns of
// lines with their fonts, frame and colours on the other. It is filled from
// the main window's print job and writes back only when confirmed.

#include <QColor>
#include <QDialog>
#include <functional>
#include <vector>

#include "platform/Canvas.h"
#include "print/OstEditPrintMargins.h"
#include "print/OstEditPrintTypes.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QTabWidget;
class QTextCursor;
class QTextEdit;
class QToolBar;

namespace ostrel {

class TDialogs;
class THeaderFooter;
class TOstEditPrint;

// A colour shown as a small filled box with a dotted edge.
class TColorSwatch : public QWidget {
public:
    explicit TColorSwatch(const char* name, QWidget* parent);
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    QSize sizeHint() const override { return {24, 16}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_ = Qt::black;
};

class TPageSetupDlg : public QDialog {
public:
    // Messages, the font and the colour dialogs go through `dialogs`.
    explicit TPageSetupDlg(TDialogs& dialogs, QWidget* parent = nullptr);

    void LoadFrom(TOstEditPrint& job);
    void StoreTo(TOstEditPrint& job) const;

    // The system printer setup, run by "Ustawienia &drukarki...".
    std::function<void()> OnPrinterSetup;

    // The header tab's commands, on the field last entered.
    void PageNumCmdExecute();
    void PagesCmdExecute();
    void TimeCmdExecute();
    void DateCmdExecute();
    void TitleCmdExecute();
    void FontCmdExecute();
    void BoldCmdExecute();
    void ItalicCmdExecute();
    void UnderlineCmdExecute();
    QTextEdit* CurrentHeaderField() const { return current_; }
    void SetCurrentHeaderField(QTextEdit* field);

    // Refuses to close while a margin is not a number.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TMarginField {
        QLineEdit* edit;
        void (TOstEditPrintMargins::*set)(double);
        double (TOstEditPrintMargins::*get)() const;
    };

    QWidget* CreateMarginsTab();
    void AddMarginFields(QGridLayout& grid);
    void AddOptions(QGridLayout& grid);
    QWidget* CreateHeaderTab();
    QWidget* CreateHeaderToolBar();
    QWidget* CreateAppearanceGroup();
    QLineEdit* MarginEdit(const char* name);
    QCheckBox* CheckBox(const char* name, const QString& caption);
    QAction* HeaderAction(QToolBar* bar, const char* name, const QString& hint, const char* iconName,
                          void (TPageSetupDlg::*command)());

    void ShowMargins(const TOstEditPrintMargins& margins);
    // Reads the fields in order into the margins; the first field that is
    // not a number ends the reading and is returned.
    QLineEdit* ReadMargins(TOstEditPrintMargins& margins) const;
    void RefuseMargin(QLineEdit* field);
    void CBUnitsChange(int index);

    void LoadHeader(THeaderFooter& header);
    void StoreHeader(THeaderFooter& header) const;
    void UpdateActions();
    void InsertMacro(const char* macro);
    // Runs `change` on the caret's whole line, then puts the caret back.
    void ChangeCaretLine(const std::function<void(QTextCursor& line)>& change);
    void ToggleStyle(TFontStyle style);
    void ChooseSwatchColor(TColorSwatch& swatch);

    TDialogs& dialogs_;
    TOstEditPrintMargins scratch_;  // the fields while their unit changes
    int shownUnit_ = usMM;
    std::vector<TMarginField> marginFields_;
    TOstFont defaultFont_;  // of the header, for lines typed anew

    QTabWidget* PageControl = nullptr;
    QWidget* tsMargins = nullptr;
    QWidget* tsHeader = nullptr;
    QLineEdit* EditLeft = nullptr;
    QLineEdit* EditRight = nullptr;
    QLineEdit* EditTop = nullptr;
    QLineEdit* EditBottom = nullptr;
    QLineEdit* EditHeader = nullptr;
    QLineEdit* EditFooter = nullptr;
    QLineEdit* EditGutter = nullptr;
    QComboBox* CBUnits = nullptr;
    QCheckBox* CBMirrorMargins = nullptr;
    QCheckBox* CBLineNumbers = nullptr;
    QCheckBox* CBLineNumbersInMargin = nullptr;
    QCheckBox* CBHighlight = nullptr;
    QCheckBox* CBColors = nullptr;
    QCheckBox* CBWrap = nullptr;
    QTextEdit* REHeaderLeft = nullptr;
    QTextEdit* REHeaderCenter = nullptr;
    QTextEdit* REHeaderRight = nullptr;
    QCheckBox* CBHeaderMirror = nullptr;
    QCheckBox* CBHeaderLine = nullptr;
    QCheckBox* CBHeaderBox = nullptr;
    QCheckBox* CBHeaderShadow = nullptr;
    TColorSwatch* PBHeaderLine = nullptr;
    TColorSwatch* PBHeaderShadow = nullptr;
    QWidget* HeaderLineColorBtn = nullptr;
    QWidget* HeaderShadowColorBtn = nullptr;
    std::vector<QAction*> actions_;
    QTextEdit* current_ = nullptr;
};

}  // namespace ostrel
