// The stored settings as the main window reads them at its first showing
// and writes its own group at close.

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QToolBar>
#include <cstdlib>

#include "SettingsTestSupport.h"
#include "app/HighlighterSet.h"

namespace ostrel::test {
namespace {

namespace fs = std::filesystem;

// Where a window without stored bounds opens.
QRect FirstStartBounds()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size(screen.width() * 2 / 3, screen.height() * 2 / 3);
    return QRect(screen.center() - QPoint(size.width() / 2, size.height() / 2), size);
}

bool WordWrapChecked(const TOstrel3Main& window)
{
    return window.findChild<QAction*>(QStringLiteral("miZawijanieWierszy1"))->isChecked();
}

TEST_F(SettingsTest, StoredSettingsAreInForceInTheFirstDocument)
{
    Seed({{"MaxState", 0}, {"WndWidth", 700}, {"WndHeight", 500}, {"WndLeft", 30}, {"WndTop", 40},
          {"Syntax", 7}, {"LineNmbrsOnLeft", 1}, {"TlbrStandard", 0}, {"TlbrStatus", 0}, {"Gutter", 1},
          {"MinToTray", 0}, {"DecodeBeforeSave", 2}, {"EdBGCol", std::string("clMoneyGreen")}, {"WWrap", 1},
          {"TabsToSpace", 1}, {"FontName", std::string("Liberation Mono")}, {"FontSize", 12}});
    Start();
    EXPECT_EQ(window->size(), QSize(700, 500));
    EXPECT_EQ(window->pos(), QPoint(30, 40));
    EXPECT_FALSE(window->isMaximized());
    EXPECT_FALSE(window->ToolbarShown());
    EXPECT_FALSE(window->StatusBarShown());
    EXPECT_FALSE(window->MinToTray);
    EXPECT_EQ(window->DecodeBeforeSave, 2);
    EXPECT_TRUE(WordWrapChecked(*window));

    ASSERT_EQ(window->DocumentCount(), 1);
    const TOstEdit& editor = Current().Editor();
    EXPECT_EQ(window->Template().Highlighter(), window->Highlighters().Get(hlCpp));
    EXPECT_EQ(Current().Highlighter(), window->Highlighters().Get(hlCpp));
    EXPECT_TRUE(editor.Gutter().Visible());
    EXPECT_TRUE(editor.Gutter().ShowLineNumbers());
    EXPECT_EQ(editor.Color(), clMoneyGreen);
    EXPECT_TRUE(editor.HasOption(eoTabsToSpaces));
    EXPECT_EQ(editor.Font().Name, "Liberation Mono");
    EXPECT_EQ(editor.Font().Size(), 12);
}

// Some values count by being stored, others only with one exact number.
TEST_F(SettingsTest, EachValueIsReadAsTheProgramAlwaysReadIt)
{
    Seed({{"TabsToSpace", 0}, {"LineNmbrsOnLeft", 2}, {"Gutter", 2}, {"TlbrStandard", 5}, {"MinToTray", 3},
          {"EdBGCol", std::string("$00FFCC99")}, {"Syntax", 12}, {"DecodeBeforeSave", 7}, {"WWrap", 0}});
    Start();
    const TOstEdit& editor = Current().Editor();
    EXPECT_TRUE(editor.HasOption(eoTabsToSpaces)) << "presence counts, not the value";
    EXPECT_FALSE(editor.Gutter().ShowLineNumbers());
    EXPECT_FALSE(editor.Gutter().Visible());
    EXPECT_TRUE(window->ToolbarShown());
    EXPECT_TRUE(window->MinToTray);
    EXPECT_EQ(editor.Color(), RGBColor(0x99, 0xCC, 0xFF));
    EXPECT_EQ(Current().Highlighter(), nullptr) << "an index beyond the list sets nothing";
    EXPECT_EQ(window->DecodeBeforeSave, 0) << "an unknown recoding recodes nothing";
    EXPECT_FALSE(WordWrapChecked(*window));
}

// Maximised, the bounds are not read; a missing bound means its default; bounds
// off every screen keep the window where it can be reached.
TEST_F(SettingsTest, StoredBoundsAreTakenOnlyWhereTheyMakeSense)
{
    Seed({{"MaxState", 1}, {"WndWidth", 300}, {"WndLeft", 5}});
    Start();
    EXPECT_TRUE(window->isMaximized());
    window.reset();

    Seed({{"MaxState", 0}, {"WndWidth", 640}, {"WndLeft", 30000}, {"WndTop", -30000}});
    Start();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->size(), QSize(640, FirstStartBounds().height()));
    EXPECT_EQ(window->pos(), FirstStartBounds().topLeft());
}

TEST_F(SettingsTest, AFirstStartTakesTwoThirdsOfTheScreenInItsMiddle)
{
    Start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(window->size(), QSize(screen.width() * 2 / 3, screen.height() * 2 / 3));
    EXPECT_LE(std::abs(window->geometry().center().x() - screen.center().x()), 2);
    EXPECT_LE(std::abs(window->geometry().center().y() - screen.center().y()), 2);
    // The toolbar's buttons all fit: none hides behind the extension arrow.
    QToolBar* bar = window->findChild<QToolBar*>(QStringLiteral("tbStandardowy1"));
    ASSERT_NE(bar, nullptr);
    for (QAction* action : bar->actions()) {
        if (action->isSeparator())
            continue;
        SCOPED_TRACE(action->objectName().toStdString());
        EXPECT_FALSE(action->icon().isNull());
        EXPECT_FALSE(action->toolTip().isEmpty());
        QWidget* button = bar->widgetForAction(action);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible());
    }
}

TEST_F(SettingsTest, WrongTypeIsReportedAndValuesBeforeItStay)
{
    Seed({{"Syntax", 1}, {"Gutter", std::string("1")}, {"MinToTray", 0}, {"FontName", std::string("Liberation Mono")}});
    Start();
    EXPECT_EQ(dialogs->Texts(QStringLiteral("error")),
              std::vector<QString>{QStringLiteral("Wystapił błąd: Invalid data type for 'Gutter'.")});
    EXPECT_EQ(window->Template().Highlighter(), window->Highlighters().Get(hlHtml)) << "read before the failure";
    EXPECT_TRUE(window->MinToTray) << "read after the failure";
    EXPECT_EQ(window->Template().Font().Name, "Courier New");
    ASSERT_EQ(window->DocumentCount(), 1) << "the window still gets its first document";
    EXPECT_EQ(Current().Highlighter(), window->Highlighters().Get(hlHtml));
}

TEST_F(SettingsTest, UnreadableColourIsReported)
{
    Seed({{"LineNmbrsOnLeft", 1}, {"EdBGCol", std::string("pink")}, {"FontSize", 14}});
    Start();
    ASSERT_EQ(dialogs->Count(QStringLiteral("error")), 1);
    EXPECT_TRUE(dialogs->Texts(QStringLiteral("error"))[0].contains(QStringLiteral("'pink'")));
    EXPECT_TRUE(Current().Editor().Gutter().ShowLineNumbers());
    EXPECT_EQ(Current().Editor().Color(), clWhite);
    EXPECT_EQ(Current().Editor().Font().Size(), 10);
}

TEST_F(SettingsTest, UnusableFontSizeLeavesTheFontAlone)
{
    for (const int size : {0, -12, 100000}) {
        Seed({{"FontSize", size}});
        Start();
        EXPECT_EQ(Current().Editor().Font().Size(), 10) << size;
        EXPECT_TRUE(dialogs->shown.empty());
        window.reset();
    }
}

TEST_F(SettingsTest, DamagedFileIsReportedSetAsideAndReplacedAtClose)
{
    fs::create_directories(SettingsFile().parent_path());
    WriteFile(SettingsFile(), "this is not a settings file\n");
    Start();
    ASSERT_EQ(dialogs->Count(QStringLiteral("error")), 1);
    EXPECT_TRUE(dialogs->Texts(QStringLiteral("error"))[0].contains(QStringLiteral("damaged")));
    EXPECT_EQ(window->DocumentCount(), 1);
    EXPECT_EQ(Current().Editor().Color(), clWhite);
    int setAside = 0;
    for (const auto& entry : fs::directory_iterator(SettingsFile().parent_path()))
        setAside += entry.path().filename().string().starts_with("registry.txt.damaged-");
    EXPECT_EQ(setAside, 1);
    EXPECT_TRUE(Close());
    EXPECT_TRUE(Stored().contains("MaxState"));
}

TEST_F(SettingsTest, StartWithMinusRIgnoresTheStoreAndCloseWritesOnlyTheWindowGroup)
{
    const std::map<std::string, TStored> configuration = {
        {"Syntax", 3}, {"Gutter", 1}, {"LineNmbrsOnLeft", 1}, {"FontName", std::string("Liberation Mono")},
        {"FontSize", 14}, {"EdBGCol", std::string("clYellow")}, {"TlbrStatus", 0}};
    Seed(configuration);
    Seed({{"MaxState", 1}, {"WWrap", 1}});
    Start(QStringLiteral("-R"));
    const TOstEdit& editor = Current().Editor();
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->pos(), FirstStartBounds().topLeft());
    EXPECT_EQ(Current().Highlighter(), nullptr);
    EXPECT_FALSE(editor.Gutter().Visible());
    EXPECT_EQ(editor.Color(), clWhite);
    EXPECT_EQ(editor.Font().Name, "Courier New");
    EXPECT_EQ(editor.Font().Size(), 10);
    EXPECT_TRUE(window->StatusBarShown());

    window->resize(610, 420);
    window->move(20, 25);
    EXPECT_TRUE(Close());
    std::map<std::string, TStored> expected = configuration;
    expected.insert({{"MaxState", 0}, {"WndWidth", 610}, {"WndHeight", 420}, {"WndLeft", 20}, {"WndTop", 25}});
    EXPECT_EQ(Stored(), expected) << "word wrap, unchecked, is deleted; the rest stays for the next start";
}

TEST_F(SettingsTest, WindowGroupComesBackAtTheNextStart)
{
    Start();
    window->resize(620, 430);
    window->move(15, 35);
    window->findChild<QAction*>(QStringLiteral("miZawijanieWierszy1"))->setChecked(true);
    ASSERT_TRUE(Close());
    Start();
    EXPECT_EQ(window->size(), QSize(620, 430));
    EXPECT_EQ(window->pos(), QPoint(15, 35));
    EXPECT_TRUE(WordWrapChecked(*window));
}

TEST_F(SettingsTest, AHiddenStartNeverShownWritesNoWindowSettingsBack)
{
    const std::map<std::string, TStored> stored{
        {"WndWidth", 640}, {"WndHeight", 410}, {"WndLeft", 25}, {"WndTop", 45}, {"MaxState", 0}, {"WWrap", 1}};
    Seed(stored);
    auto scripted = std::make_unique<TScriptedDialogs>();
    dialogs = scripted.get();
    window = std::make_unique<TOstrel3Main>(QStringLiteral("-h"), std::move(scripted));
    window->Tray().IsTrayAvailable = [] { return true; };
    window->ShowAtStart();
    ASSERT_FALSE(window->isVisible());
    // Ended from the tray (or at log-out) without ever being shown.
    ASSERT_TRUE(Close());
    EXPECT_EQ(Stored(), stored);
}

TEST_F(SettingsTest, FullDiskAtCloseIsReportedKeepsTheOldFileAndStillCloses)
{
    Seed({{"Syntax", 2}, {"FontName", std::string("Liberation Mono")}, {"WndWidth", 999}});
    const std::string before = ReadFile(SettingsFile());
    Start();
    window->resize(600, 400);
    bool closed = false;
    {
        const TDiskFull full;
        closed = window->close();
    }
    EXPECT_TRUE(closed) << "settings that cannot be saved never keep the program from ending";
    ASSERT_EQ(dialogs->Count(QStringLiteral("error")), 1);
    EXPECT_TRUE(dialogs->Texts(QStringLiteral("error"))[0].startsWith(QStringLiteral("Wystapił błąd: Cannot save")));
    EXPECT_EQ(ReadFile(SettingsFile()), before);
    for (const auto& entry : fs::directory_iterator(SettingsFile().parent_path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".registry.txt.")) << "no half-written file left";
}

}  // namespace
}  // namespace ostrel::test
