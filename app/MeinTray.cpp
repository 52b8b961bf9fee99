// The main window in the tray: hiding there ("&Do szufladki", minimising,
// a start with "-h") and coming back (a double click on the icon,
// "&Przywróć", a file handed over). Where the desktop has no notification
// area, hiding minimises instead.

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QTimer>

#include "app/GlobalRes.h"
#include "app/Mein.h"

namespace ostrel {

void TOstrel3Main::SetUpTray()
{
    stTray1 = std::make_unique<TSysTray>();
    stTray1->setObjectName(QStringLiteral("stTray1"));
    stTray1->SetHint(res::kTrayHint);
    stTray1->SetPopupMenu(pmTray1);
    stTray1->SetIcon(QApplication::windowIcon());
    stTray1->OnDblClick = [this] { RunCommand(&TOstrel3Main::stTray1DblClick); };
}

void TOstrel3Main::ShowAtStart()
{
    if (firstArgument_.toLower() == QStringLiteral("-h"))
        miDoSzufladki1Click();
    else
        show();
}

void TOstrel3Main::miDoSzufladki1Click()
{
    if (!stTray1->Supported()) {
        showMinimized();
        return;
    }
    stTray1->SetVisible(true);
    hide();
}

// The first showing after a start in the tray reads the settings and makes
// the first document.
void TOstrel3Main::stTray1DblClick()
{
    show();
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    stTray1->SetVisible(false);
    raise();
    activateWindow();
}

bool TOstrel3Main::InTray() const { return stTray1->Visible() || isMinimized() || !isVisible(); }

// The window comes back first, so a window never shown yet has its settings
// and the open dialog has a window to stand on.
void TOstrel3Main::pmiOtworz1Click()
{
    stTray1DblClick();
    miOtworz1Click();
}

// Closing a hidden window does not end the event loop by itself.
void TOstrel3Main::pmiKoniec1Click()
{
    const bool hidden = !isVisible();
    if (close() && hidden)
        QCoreApplication::quit();
}

void TOstrel3Main::MinimizeProgramu()
{
    if (MinToTray && stTray1->Supported())
        miDoSzufladki1Click();
}

void TOstrel3Main::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized())
        return;
    // Hiding while the window manager is still minimising confuses some of
    // them; the hiding waits for the event loop.
    QTimer::singleShot(0, this, [this] {
        if (isMinimized() && isVisible())
            RunCommand(&TOstrel3Main::MinimizeProgramu);
    });
}

}  // namespace ostrel
