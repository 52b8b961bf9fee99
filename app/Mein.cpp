// The main window's life cycle: creation, the first showing, closing, dropped
// files, hints and the application-wide failure message.

#include "app/Mein.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>
#include <QMimeData>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QUrl>

#include "app/AppErrors.h"
#include "app/Document.h"
#include "app/FindBar.h"
#include "app/GlobalRes.h"
#include "app/RecoveryJournal.h"
#include "app/about.h"
#include "app/help.h"
#include "app/qt/OstEditWidget.h"
#include "editor/OstEditKeyCmds.h"

namespace ostrel {

namespace {

constexpr uint16_t kVkF1 = 112;

}  // namespace

// Without stored bounds the window takes about two thirds of the screen, in
// its middle.
void TOstrel3Main::PlaceForFirstStart()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        resize(800, 600);
        return;
    }
    const QRect available = screen->availableGeometry();
    const QSize size(available.width() * 2 / 3, available.height() * 2 / 3);
    resize(size);
    move(available.center() - QPoint(size.width() / 2, size.height() / 2));
}

TOstrel3Main::TOstrel3Main(const QString& firstArgument, std::unique_ptr<TDialogs> dialogs)
    : firstArgument_(firstArgument), dialogs_(dialogs ? std::move(dialogs) : std::make_unique<TQtDialogs>())
{
    setObjectName(QStringLiteral("TOstrel3Main"));
    setWindowTitle(res::kMainCaption);
    PlaceForFirstStart();
    SetUpTemplateEditor();

    pcEdytory1 = new QTabWidget(this);
    pcEdytory1->setObjectName(QStringLiteral("pcEdytory1"));
    pcEdytory1->setTabPosition(QTabWidget::South);
    pcEdytory1->setDocumentMode(true);
    pcEdytory1->setFocusPolicy(Qt::NoFocus);
    pcEdytory1->tabBar()->setContextMenuPolicy(Qt::CustomContextMenu);
    // The documents, and the find bar under them while it is open.
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(pcEdytory1, 1);
    findBar_ = new TFindBar(*this);
    column->addWidget(findBar_);
    setCentralWidget(central);
    connect(pcEdytory1, &QTabWidget::currentChanged, this,
            [this] { RunCommand(&TOstrel3Main::pcEdytory1Change); });

    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    connect(pcEdytory1->tabBar(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pmMain1->popup(pcEdytory1->tabBar()->mapToGlobal(at)); });
    setAcceptDrops(true);
    SetUpTray();
    SetUpRecentFiles();
    SetUpDiskWatch();
    journal_ = new TRecoveryJournal(
        [this](TDocumentPage& document) { return pcEdytory1->tabText(pcEdytory1->indexOf(&document)); }, this);

    OpenWithDesktop = [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
}

TOstrel3Main::~TOstrel3Main()
{
    // The documents go before the highlighters they use.
    while (pcEdytory1->count() > 0)
        RemoveDocument(0);
}

// The template's own settings; every new document copies them.
void TOstrel3Main::SetUpTemplateEditor()
{
    smWzor1.SetColor(clWhite);
    TOstFont font;
    font.Name = "Courier New";
    font.Height = -13;
    smWzor1.SetFont(font);
    smWzor1.Gutter().Assign(TOstGutter::TemplateGutter());
    // Line numbers in the text's own font and size, whatever it is zoomed to.
    smWzor1.Gutter().SetUseFontStyle(false);
    smWzor1.SetOptions(TOstEdit::TemplateOptions());
    smWzor1.SetMaxLineWidth(2024);
    smWzor1.SetRightEdge(0);
    smWzor1.SetWantTabs(true);
    // F1 is the main window's help; the editor's context help moves to Ctrl+F1.
    TOstEditKeyStrokes& keys = smWzor1.Keystrokes();
    if (const int f1 = keys.FindShortcut(ShortCut(kVkF1, 0)); f1 >= 0)
        keys.Delete(f1);
    keys.AddShortCut(ecContextHelp, ShortCut(kVkF1, ssCtrl));
}

void TOstrel3Main::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        RunCommand(&TOstrel3Main::FormShow);
    }
}

// The first showing: the stored settings, then the first document, which so
// takes the settings just read. A setting that cannot be read is reported
// and leaves the ones before it applied; the window still gets its document.
void TOstrel3Main::FormShow()
{
    if (firstArgument_.toLower() != QStringLiteral("-r"))
        RunCommand(&TOstrel3Main::LoadSettings);
    bool reopened = false;
    RunCommand([&] { reopened = OfferRecovery(); });
    if (RestoreSession && firstArgument_.toLower() != QStringLiteral("-r"))
        RunCommand([&] { reopened = ReopenSession() || reopened; });
    if (!firstArgument_.isEmpty() && QFileInfo(firstArgument_).isFile())
        OpenDocument(firstArgument_);
    else if (!reopened)
        Nowy1Click();
}

void TOstrel3Main::closeEvent(QCloseEvent* event)
{
    bool closing = false;
    const TSession session = CurrentSession();
    RunCommand([&] {
        miZamknijWszystkie1Click();
        closing = true;
    });
    if (!closing) {
        event->ignore();
        return;
    }
    RunCommand([&] { SaveSession(session); });
    // Settings that cannot be stored are reported, but never keep the
    // program from ending.
    RunCommand(&TOstrel3Main::SaveWindowSettings);
    RunCommand(&TOstrel3Main::DeleteFtpScript);
    journal_->Shutdown();
    event->accept();
}

void TOstrel3Main::miKoniec1Click() { close(); }

void TOstrel3Main::RunCommand(void (TOstrel3Main::*command)())
{
    RunCommand([this, command] { (this->*command)(); });
}

void TOstrel3Main::RunCommand(const std::function<void()>& command)
{
    RunGuarded(command, [this](const std::exception& error) { ExceptionProgramu(error); });
}

void TOstrel3Main::ExceptionProgramu(const std::exception& error)
{
    dialogs_->Error(this, ProgramErrorText(error));
}

bool TOstrel3Main::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && diskCheck_)
        diskCheck_->start();
    if (event->type() == QEvent::StatusTip) {
        ShowApplicationHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TOstrel3Main::ShowApplicationHint(const QString& hint)
{
    if (statusPanels_[2])
        statusPanels_[2]->setText(hint);
}

bool TOstrel3Main::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ToolTip:
        // The watched toolbar buttons (undo, redo) and editors show none.
        return true;
    case QEvent::ShortcutOverride:
        // Not accepting the override lets the menu's shortcut win.
        return IsMenuShortcut(*static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
        if (TDocumentPage* document = CurrentDocument();
            document && (watched == &document->EditWidget() || watched == document->EditWidget().viewport()))
            UpdateCaretPanel();
        return false;
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void TOstrel3Main::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TOstrel3Main::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    RunCommand([this, paths] { HandleDropFiles(paths); });
}

// Only the first dropped file is opened; an untouched untitled document
// makes room for it.
void TOstrel3Main::HandleDropFiles(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    if (TDocumentPage* document = CurrentDocument(); document && IsUntouchedUntitled(*document))
        RemoveDocument(pcEdytory1->indexOf(document));
    OpenDocument(paths.first());
}

void TOstrel3Main::OpenHandedOver(const QString& path)
{
    if (InTray())
        stTray1DblClick();
    RunCommand([this, path] { OpenDocument(path); });
    raise();
    activateWindow();
}

void TOstrel3Main::miPomoc1Click()
{
    if (!wndPomoc_)
        wndPomoc_ = new TwndPomoc(this);
    wndPomoc_->exec();
}

void TOstrel3Main::miOprogramie1Click()
{
    if (!wndOprogramie_)
        wndOprogramie_ = new TwndOprogramie(this);
    wndOprogramie_->exec();
}

}  // namespace ostrel
