// The main window in the tray: "&Do szufladki", minimising, a start with
// "-h", and coming back by a double click, "&Przywróć" or a file handed
// over. The offscreen platform has no notification area, which tests the
// fallback to minimising; the other tests pretend a desktop that has one.

#include <QMenu>
#include <QTimer>

#include "AppTestSupport.h"
#include "app/GlobalRes.h"

namespace ostrel::test {
namespace {

class TrayTest : public MainWindowTest {
protected:
    void PretendTray() const { window->Tray().IsTrayAvailable = [] { return true; }; }
    // A window as the program makes it, not shown yet.
    void StartWith(const QString& argument, bool withTray)
    {
        window.reset();
        auto scripted = std::make_unique<TScriptedDialogs>();
        dialogs = scripted.get();
        window = std::make_unique<TOstrel3Main>(argument, std::move(scripted));
        if (withTray)
            PretendTray();
        window->ShowAtStart();
    }
    bool InTrayIcon() const { return window->Tray().Visible() && !window->isVisible(); }
    bool RestoredInFront() const
    {
        return window->isVisible() && !window->isMinimized() && !window->Tray().Visible();
    }
};

TEST_F(TrayTest, TheIconHasItsHintAndMenuWithABoldDefaultItem)
{
    EXPECT_EQ(window->Tray().Hint(), res::kTrayHint);
    QMenu* menu = window->findChild<QMenu*>(QStringLiteral("pmTray1"));
    ASSERT_EQ(window->Tray().PopupMenu(), menu);
    QAction* przywroc = Action("pmiPrzywroc1");
    EXPECT_EQ(menu->defaultAction(), przywroc);
    EXPECT_TRUE(przywroc->font().bold());
    EXPECT_TRUE(przywroc->isEnabled());
    EXPECT_TRUE(Action("miDoSzufladki1")->isEnabled());
    EXPECT_EQ(Action("miDoSzufladki1")->shortcut(), QKeySequence(QStringLiteral("Alt+F5")));
    window->Tray().SetHint(QString(80, u'x'));
    EXPECT_EQ(window->Tray().Hint().size(), TSysTray::kMaxHintLength);
}

TEST_F(TrayTest, WithoutANotificationAreaHidingMinimisesAndRestoringBringsItBack)
{
    ASSERT_FALSE(window->Tray().Supported());
    Click("miDoSzufladki1");
    EXPECT_TRUE(window->isMinimized());
    EXPECT_FALSE(window->Tray().Visible());
    Click("pmiPrzywroc1");
    EXPECT_TRUE(RestoredInFront());
}

TEST_F(TrayTest, HidingShowsTheIconAndADoubleClickOrPrzywrocRestores)
{
    PretendTray();
    Click("miDoSzufladki1");
    EXPECT_TRUE(InTrayIcon());
    window->Tray().OnDblClick();
    EXPECT_TRUE(RestoredInFront());
    Click("miDoSzufladki1");
    Click("pmiPrzywroc1");
    EXPECT_TRUE(RestoredInFront());
    EXPECT_EQ(window->DocumentCount(), 1);  // the first showing is not repeated
}

TEST_F(TrayTest, MinimisingGoesToTheTrayOnlyWithMinToTray)
{
    PretendTray();
    window->MinToTray = false;
    window->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->Tray().Visible());

    window->showNormal();
    window->MinToTray = true;
    window->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(InTrayIcon());
    window->Tray().OnDblClick();
    EXPECT_TRUE(RestoredInFront());
}

TEST_F(TrayTest, AStartWithHWaitsInTheTrayForItsFirstDocument)
{
    StartWith(QStringLiteral("-H"), true);
    EXPECT_TRUE(InTrayIcon());
    EXPECT_EQ(window->DocumentCount(), 0);
    window->Tray().OnDblClick();
    EXPECT_TRUE(RestoredInFront());
    ASSERT_EQ(window->DocumentCount(), 1);
    EXPECT_EQ(TabCaption(0), QStringLiteral("1 Bez nazwy"));
}

TEST_F(TrayTest, AStartWithHWithoutANotificationAreaIsMinimised)
{
    StartWith(QStringLiteral("-h"), false);
    EXPECT_TRUE(window->isMinimized());
    EXPECT_EQ(window->DocumentCount(), 1);
}

TEST_F(TrayTest, AFileHandedOverWhileInTheTrayRestoresAndOpens)
{
    TempDir dir;
    WriteFile(dir / "page.html", "<p>");
    StartWith(QStringLiteral("-h"), true);
    window->OpenHandedOver(Q(dir / "page.html"));
    EXPECT_TRUE(RestoredInFront());
    EXPECT_EQ(window->DocumentPaths(), QStringList({QString(), Q(dir / "page.html")}));
}

TEST_F(TrayTest, OpeningFromTheTrayRestoresTheWindowWithTheChosenFile)
{
    TempDir dir;
    WriteFile(dir / "a.txt", "a");
    PretendTray();
    Click("miDoSzufladki1");
    dialogs->openChoices.push_back({Q(dir / "a.txt")});
    Click("pmiOtworz1");
    EXPECT_TRUE(RestoredInFront());
    // The untouched untitled document made room for the file.
    EXPECT_EQ(window->DocumentPaths(), QStringList({Q(dir / "a.txt")}));
}

TEST_F(TrayTest, KoniecFromTheTrayAsksAboutChangesFirst)
{
    PretendTray();
    Type("changed");
    Click("miDoSzufladki1");
    dialogs->answers.push_back(TAnswer::Cancel);
    Click("pmiKoniec1");
    EXPECT_EQ(dialogs->Texts(QStringLiteral("question")), std::vector<QString>({res::kSaveChanges}));
    EXPECT_EQ(window->DocumentCount(), 1);
    EXPECT_TRUE(window->Tray().Visible());
}

TEST_F(TrayTest, KoniecFromTheTrayEndsTheProgramAlthoughTheWindowIsHidden)
{
    PretendTray();
    Click("miDoSzufladki1");
    QTimer::singleShot(0, window.get(), [this] { Click("pmiKoniec1"); });
    // Only a safety net, should the program fail to end.
    QTimer::singleShot(60000, window.get(), [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(dialogs->shown.empty());
}

}  // namespace
}  // namespace ostrel::test
