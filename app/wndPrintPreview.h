#pragma once
// The print preview window: the preview control between a toolbar (print,
// the four page buttons, zoom) and a status bar that names the page shown.
// It prints and sets up pages through the main window's commands.

#include <QDialog>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace ostrel {

class TOstEditPrint;
class TOstEditPrintPreviewWidget;

class TwndPrintPreview : public QDialog {
public:
    explicit TwndPrintPreview(QWidget* parent = nullptr);

    TOstEditPrintPreviewWidget& Preview() { return *seppPreview1; }
    void SetJob(TOstEditPrint* job);
    QString StatusText() const;

    // The main window's print and page setup commands.
    std::function<void()> OnPrint;
    std::function<void()> OnPageSetup;

    void tbPierwszaStrona1Click();
    void tbPoprzedniaStrona1Click();
    void tbNextPage1Click();
    void tbOstatniaStrona1Click();
    void tbZoom1Click();
    // Every item of the zoom menu: its tag is -1 for the whole page, -2 for
    // the page width, else a percentage.
    void pmiCalaStrona1Click(int tag);
    void tbDrukuj1Click();
    void pmiUstawieniadrukowania1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void seppPreview1PreviewPage(int pageNumber);
    void seppPreview1MouseDown(Qt::MouseButton button);
    void EnablePageButtons();
    void CreateToolBar();
    QAction* ToolButton(const char* name, const QString& hint, const char* iconName, void (TwndPrintPreview::*handler)());
    void AttachMenu(QAction* action, QMenu* menu);
    QMenu* CreatePrintMenu();
    QMenu* CreateScaleMenu();

    QToolBar* tbPreview1 = nullptr;
    TOstEditPrintPreviewWidget* seppPreview1 = nullptr;
    QLabel* statusPanel_ = nullptr;
};

}  // namespace ostrel
