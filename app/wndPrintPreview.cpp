#include "app/wndPrintPreview.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/GlobalRes.h"
#include "app/qt/OstEditPrintPreviewWidget.h"

namespace ostrel {

namespace {

constexpr int kTagWholePage = -1;
constexpr int kTagPageWidth = -2;
constexpr int kStatusPanelWidth = 50;

struct TScaleItem {
    const char* name;
    const char* caption;
    int tag;
};
constexpr TScaleItem kScaleItems[] = {
    {"pmiCalaStrona1", "Cała strona", kTagWholePage},
    {"pmiSzerokoscStrony1", "Szerokość strony", kTagPageWidth},
    {nullptr, nullptr, 0},
    {"pmi25proc1", "25%", 25},
    {"pmi50proc1", "50%", 50},
    {"pmi100proc1", "100%", 100},
    {"pmi200proc1", "200%", 200},
    {"pmi400proc1", "400%", 400},
};

}  // namespace

TwndPrintPreview::TwndPrintPreview(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("wndPrintPreview"));
    setWindowTitle(QStringLiteral("Podgląd wydruku"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    seppPreview1 = new TOstEditPrintPreviewWidget(this);
    CreateToolBar();
    layout->addWidget(tbPreview1);
    layout->addWidget(seppPreview1, 1);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("sbStatus1"));
    status->setSizeGripEnabled(false);
    statusPanel_ = new QLabel(status);
    statusPanel_->setObjectName(QStringLiteral("sbStatus1Panel0"));
    // Wider where the system's font needs it for the page number.
    statusPanel_->setMinimumWidth(kStatusPanelWidth);
    status->addWidget(statusPanel_);
    layout->addWidget(status);

    TOstEditPrintPreview& preview = seppPreview1->Preview();
    preview.OnPreviewPage = [this](int page) { seppPreview1PreviewPage(page); };
    seppPreview1->OnMouseDown = [this](Qt::MouseButton button) { seppPreview1MouseDown(button); };
    setWindowState(Qt::WindowMaximized);
}

void TwndPrintPreview::SetJob(TOstEditPrint* job)
{
    seppPreview1->Preview().SetOstEditPrint(job);
}

QString TwndPrintPreview::StatusText() const
{
    return statusPanel_->text();
}

// ---- toolbar --------------------------------------------------------------------------

QAction* TwndPrintPreview::ToolButton(const char* name, const QString& hint, const char* iconName,
                                      void (TwndPrintPreview::*handler)())
{
    auto* action = new QAction(QIcon::fromTheme(QString::fromLatin1(iconName)), hint, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    action->setStatusTip(hint);
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    tbPreview1->addAction(action);
    return action;
}

// A button that runs its action when clicked and opens the menu by its arrow.
void TwndPrintPreview::AttachMenu(QAction* action, QMenu* menu)
{
    action->setMenu(menu);
    if (auto* button = qobject_cast<QToolButton*>(tbPreview1->widgetForAction(action)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
}

void TwndPrintPreview::CreateToolBar()
{
    tbPreview1 = new QToolBar(this);
    tbPreview1->setObjectName(QStringLiteral("tbPreview1"));
    QAction* print = ToolButton("tbDrukuj1", QStringLiteral("Drukuj"), "document-print",
                                &TwndPrintPreview::tbDrukuj1Click);
    AttachMenu(print, CreatePrintMenu());
    tbPreview1->addSeparator();
    ToolButton("tbPierwszaStrona1", QStringLiteral("Pierwsza strona"), "go-first",
               &TwndPrintPreview::tbPierwszaStrona1Click);
    ToolButton("tbPoprzedniaStrona1", QStringLiteral("Poprzednia strona"), "go-previous",
               &TwndPrintPreview::tbPoprzedniaStrona1Click);
    ToolButton("tbNextPage1", QStringLiteral("Następna strona"), "go-next", &TwndPrintPreview::tbNextPage1Click);
    ToolButton("tbOstatniaStrona1", QStringLiteral("Ostatnia strona"), "go-last",
               &TwndPrintPreview::tbOstatniaStrona1Click);
    tbPreview1->addSeparator();
    QAction* zoom = ToolButton("tbZoom1", QStringLiteral("Powiększenie widoku"), "zoom-fit-best",
                               &TwndPrintPreview::tbZoom1Click);
    AttachMenu(zoom, CreateScaleMenu());
    tbPreview1->addSeparator();
}

QMenu* TwndPrintPreview::CreatePrintMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("pmDrukuj1"));
    QAction* print = menu->addAction(QStringLiteral("Drukuj"), this, [this] { tbDrukuj1Click(); });
    print->setObjectName(QStringLiteral("pmiDrukuj1"));
    menu->setDefaultAction(print);
    menu->addAction(QStringLiteral("Ustawienia drukowania"), this, [this] { pmiUstawieniadrukowania1Click(); })
        ->setObjectName(QStringLiteral("pmiUstawieniadrukowania1"));
    return menu;
}

QMenu* TwndPrintPreview::CreateScaleMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("pmSkala1"));
    for (const TScaleItem& item : kScaleItems) {
        if (!item.name) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        action->setData(item.tag);
        connect(action, &QAction::triggered, this, [this, action] { pmiCalaStrona1Click(action->data().toInt()); });
    }
    return menu;
}

// ---- handlers ---------------------------------------------------------------------------

void TwndPrintPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TwndPrintPreview::FormShow()
{
    TOstEditPrintPreview& preview = seppPreview1->Preview();
    preview.Relayout();
    preview.GoFirstPage();
}

void TwndPrintPreview::seppPreview1PreviewPage(int pageNumber)
{
    statusPanel_->setText(res::kPreviewPage + QString::number(pageNumber));
    EnablePageButtons();
}

// The page buttons that lead nowhere from the page shown are off.
void TwndPrintPreview::EnablePageButtons()
{
    const TOstEditPrintPreview& preview = seppPreview1->Preview();
    const bool notFirst = preview.PageNumber() > 1;
    const bool notLast = preview.PageNumber() < preview.PageCount();
    for (const char* name : {"tbPierwszaStrona1", "tbPoprzedniaStrona1"})
        findChild<QAction*>(QString::fromLatin1(name))->setEnabled(notFirst);
    for (const char* name : {"tbNextPage1", "tbOstatniaStrona1"})
        findChild<QAction*>(QString::fromLatin1(name))->setEnabled(notLast);
}

void TwndPrintPreview::seppPreview1MouseDown(Qt::MouseButton button)
{
    TOstEditPrintPreview& preview = seppPreview1->Preview();
    preview.SetScalePercent(preview.ClickedPercent(button == Qt::LeftButton));
}

void TwndPrintPreview::tbPierwszaStrona1Click()
{
    seppPreview1->Preview().GoFirstPage();
}

void TwndPrintPreview::tbPoprzedniaStrona1Click()
{
    seppPreview1->Preview().GoPreviousPage();
}

void TwndPrintPreview::tbNextPage1Click()
{
    seppPreview1->Preview().GoNextPage();
}

void TwndPrintPreview::tbOstatniaStrona1Click()
{
    seppPreview1->Preview().GoLastPage();
}

void TwndPrintPreview::tbZoom1Click()
{
    seppPreview1->Preview().SetScaleMode(pscWholePage);
}

void TwndPrintPreview::pmiCalaStrona1Click(int tag)
{
    TOstEditPrintPreview& preview = seppPreview1->Preview();
    if (tag == kTagWholePage)
        preview.SetScaleMode(pscWholePage);
    else if (tag == kTagPageWidth)
        preview.SetScaleMode(pscPageWidth);
    else
        preview.SetScalePercent(tag);
}

void TwndPrintPreview::tbDrukuj1Click()
{
    if (OnPrint)
        OnPrint();
    // Printing laid the job out for the printer chosen, maybe another sheet.
    seppPreview1->Preview().Relayout();
}

void TwndPrintPreview::pmiUstawieniadrukowania1Click()
{
    if (OnPageSetup)
        OnPageSetup();
    seppPreview1->Preview().Relayout();
}

}  // namespace ostrel
