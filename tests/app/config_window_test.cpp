// The configuration window: what it shows, what "&Ok" applies and stores,
// what "&Anuluj" leaves, and the settings surviving a restart.

#include <QAction>
#include <QTabWidget>

#include "SettingsTestSupport.h"
#include "app/qt/QtCanvas.h"
#include "app/HighlighterSet.h"

namespace ostrel::test {
namespace {

namespace fs = std::filesystem;

using TValues = std::map<std::string, TStored>;

const TValues kFreshOk = {{"Syntax", 0}, {"LineNmbrsOnLeft", 0}, {"FontName", std::string("Courier New")}};

class ConfigWindowTest : public SettingsTest {
protected:
    static void PressOk(TwndKonfiguracja& w) { Press(w, "btnOk1"); }
};

TEST_F(ConfigWindowTest, OkWithDefaultsOnAFreshProfileStoresOnlyWhatHasNoDefaultByAbsence)
{
    Start();
    Configure(PressOk);
    EXPECT_EQ(Stored(), kFreshOk);
}

TEST_F(ConfigWindowTest, OkDeletesEveryValueBackAtItsDefault)
{
    Seed({{"Syntax", 4}, {"LineNmbrsOnLeft", 1}, {"TlbrStandard", 0}, {"TlbrStatus", 0}, {"Gutter", 1},
          {"MinToTray", 0}, {"DecodeBeforeSave", 1}, {"EdBGCol", std::string("clRed")}, {"TabsToSpace", 1},
          {"FontName", std::string("Liberation Mono")}, {"FontSize", 16}});
    Start(QStringLiteral("-r"));
    Configure(PressOk);
    EXPECT_EQ(Stored(), kFreshOk);
}

TEST_F(ConfigWindowTest, OkAppliesTheChoicesEverywhereAndStoresThem)
{
    Start();
    window->Nowy1Click();
    window->pcEdytory1->setCurrentIndex(0);
    dialogs->fontChoices.push_back(QFont(QStringLiteral("Liberation Mono"), 14));
    Configure([](TwndKonfiguracja& w) {
        Control<QComboBox>(w, "cbRodzajKolorowania1").setCurrentIndex(2);
        SetBox(w, "cbNumeryLiniiNaGutter1", true);
        SetBox(w, "cbPasekStandardowy1", false);
        SetBox(w, "cbPasekStatusu1", false);
        SetBox(w, "cbMinTray1", false);
        SetBox(w, "cbTabsToSpace1", true);
        Control<QRadioButton>(w, "rbKoduj1").setChecked(true);
        Press(w, "sbEditorFont1");
        PressOk(w);
    });
    // The stored "Courier New" is missing here: the dialog starts on the
    // monospaced family drawn in its place.
    EXPECT_EQ(dialogs->Texts(QStringLiteral("font")),
              std::vector<QString>{QtCanvas::InstalledFamily("Courier New") + QStringLiteral(" 10")});
    EXPECT_EQ(window->pcEdytory1->currentIndex(), 0) << "the current tab stays current";
    for (int i = 0; i < window->DocumentCount(); ++i) {
        const TOstEdit& editor = window->DocumentAt(i)->Editor();
        EXPECT_TRUE(editor.Gutter().Visible()) << i;
        EXPECT_TRUE(editor.Gutter().ShowLineNumbers()) << i;
        EXPECT_TRUE(editor.HasOption(eoTabsToSpaces)) << i;
        EXPECT_EQ(editor.Font().Name, "Liberation Mono") << i;
        EXPECT_EQ(editor.Font().Size(), 14) << i;
        EXPECT_EQ(window->DocumentAt(i)->Highlighter(), nullptr) << "open documents keep their highlighter";
    }
    EXPECT_FALSE(window->ToolbarShown());
    EXPECT_FALSE(window->StatusBarShown());
    EXPECT_FALSE(window->MinToTray);
    EXPECT_EQ(window->DecodeBeforeSave, 1);
    window->Nowy1Click();
    EXPECT_EQ(Current().Highlighter(), window->Highlighters().Get(hlPhp)) << "new documents take the default";
    EXPECT_EQ(Stored(), (TValues{{"Syntax", 2}, {"LineNmbrsOnLeft", 1}, {"TlbrStandard", 0}, {"TlbrStatus", 0},
                                 {"Gutter", 1}, {"MinToTray", 0}, {"DecodeBeforeSave", 1}, {"TabsToSpace", 1},
                                 {"FontName", std::string("Liberation Mono")}, {"FontSize", 14}}));
}

TEST_F(ConfigWindowTest, LineNumberAndGutterBoxesGoTogether)
{
    Start();
    Configure([](TwndKonfiguracja& w) {
        SetBox(w, "cbNumeryLiniiNaGutter1", true);
        EXPECT_TRUE(Box(w, "cbGutter1")) << "numbers need the gutter";
        SetBox(w, "cbGutter1", false);
        EXPECT_FALSE(Box(w, "cbNumeryLiniiNaGutter1")) << "no gutter, no numbers";
        SetBox(w, "cbGutter1", true);
        EXPECT_FALSE(Box(w, "cbNumeryLiniiNaGutter1"));
        Press(w, "btnAnuluj1");
    });
}

TEST_F(ConfigWindowTest, NumbersWithoutTheGutterShowBothBoxesUnchecked)
{
    Seed({{"LineNmbrsOnLeft", 1}});
    Start();
    Configure([](TwndKonfiguracja& w) {
        EXPECT_FALSE(Box(w, "cbNumeryLiniiNaGutter1"));
        EXPECT_FALSE(Box(w, "cbGutter1"));
        PressOk(w);
    });
    EXPECT_EQ(std::get<int32_t>(Stored()["LineNmbrsOnLeft"]), 0);
}

TEST_F(ConfigWindowTest, BackgroundAppliesAtOnceAndIsStoredOnlyByOk)
{
    Start();
    window->Nowy1Click();
    dialogs->colorChoices.push_back(QColor(0x99, 0xCC, 0xFF));
    Configure([](TwndKonfiguracja& w) {
        Press(w, "sbKolorTla1");
        Press(w, "btnAnuluj1");
    });
    const TColor chosen = RGBColor(0x99, 0xCC, 0xFF);
    for (int i = 0; i < window->DocumentCount(); ++i)
        EXPECT_EQ(window->DocumentAt(i)->Editor().Color(), chosen) << i;
    EXPECT_EQ(window->Template().Color(), chosen);
    EXPECT_TRUE(Stored().empty()) << "cancelled: nothing stored";

    dialogs->colorChoices.push_back(std::nullopt);
    Configure([](TwndKonfiguracja& w) {
        Press(w, "sbKolorTla1");
        PressOk(w);
    });
    EXPECT_EQ(dialogs->Texts(QStringLiteral("color")).back(), QStringLiteral("#99ccff"))
        << "the dialog starts at the background in force";
    EXPECT_EQ(std::get<std::string>(Stored()["EdBGCol"]), "$00FFCC99");
}

TEST_F(ConfigWindowTest, CancelForgetsEveryUnappliedChoice)
{
    Start();
    dialogs->fontChoices.push_back(QFont(QStringLiteral("Liberation Mono"), 20));
    Configure([](TwndKonfiguracja& w) {
        Control<QComboBox>(w, "cbRodzajKolorowania1").setCurrentIndex(5);
        SetBox(w, "cbGutter1", true);
        SetBox(w, "cbTabsToSpace1", true);
        SetBox(w, "cbPasekStatusu1", false);
        Control<QRadioButton>(w, "rbKoduj2").setChecked(true);
        Press(w, "sbEditorFont1");
        Press(w, "btnAnuluj1");
    });
    EXPECT_FALSE(Current().Editor().Gutter().Visible());
    EXPECT_EQ(Current().Editor().Font().Name, "Courier New");
    EXPECT_TRUE(window->StatusBarShown());
    EXPECT_EQ(window->DecodeBeforeSave, 0);
    Configure([](TwndKonfiguracja& w) {
        EXPECT_EQ(Control<QComboBox>(w, "cbRodzajKolorowania1").currentIndex(), 0);
        EXPECT_FALSE(Box(w, "cbGutter1"));
        EXPECT_FALSE(Box(w, "cbTabsToSpace1"));
        EXPECT_TRUE(Box(w, "cbPasekStatusu1"));
        EXPECT_TRUE(Control<QRadioButton>(w, "rbKoduj0").isChecked());
        EXPECT_EQ(w.DialogFont().Name, "Courier New");
        Press(w, "btnAnuluj1");
    });
    EXPECT_TRUE(Stored().empty());
}

TEST_F(ConfigWindowTest, TenPointsAreNeverStored)
{
    Seed({{"FontSize", 14}});
    Start();
    dialogs->fontChoices.push_back(QFont(QStringLiteral("Liberation Mono"), 10));
    Configure([](TwndKonfiguracja& w) {
        Press(w, "sbEditorFont1");
        PressOk(w);
    });
    EXPECT_EQ(Current().Editor().Font().Size(), 10);
    const TValues stored = Stored();
    EXPECT_FALSE(stored.contains("FontSize"));
    EXPECT_EQ(std::get<std::string>(stored.at("FontName")), "Liberation Mono");
}

TEST_F(ConfigWindowTest, SettingsChangedInTheWindowAreInForceAfterARestart)
{
    Start();
    dialogs->colorChoices.push_back(QColor(Qt::yellow));
    dialogs->fontChoices.push_back(QFont(QStringLiteral("Liberation Mono"), 13));
    Configure([](TwndKonfiguracja& w) {
        Control<QComboBox>(w, "cbRodzajKolorowania1").setCurrentIndex(11);
        SetBox(w, "cbNumeryLiniiNaGutter1", true);
        SetBox(w, "cbPasekStandardowy1", false);
        SetBox(w, "cbMinTray1", false);
        SetBox(w, "cbTabsToSpace1", true);
        Control<QRadioButton>(w, "rbKoduj2").setChecked(true);
        Press(w, "sbKolorTla1");
        Press(w, "sbEditorFont1");
        PressOk(w);
    });
    window->resize(650, 450);
    ASSERT_TRUE(Close());

    Start();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(window->size(), QSize(650, 450));
    const TOstEdit& editor = Current().Editor();
    EXPECT_EQ(Current().Highlighter(), window->Highlighters().Get(hlPerl));
    EXPECT_TRUE(editor.Gutter().Visible());
    EXPECT_TRUE(editor.Gutter().ShowLineNumbers());
    EXPECT_FALSE(window->ToolbarShown());
    EXPECT_TRUE(window->StatusBarShown());
    EXPECT_FALSE(window->MinToTray);
    EXPECT_EQ(window->DecodeBeforeSave, 2);
    EXPECT_EQ(editor.Color(), clYellow);
    EXPECT_TRUE(editor.HasOption(eoTabsToSpaces));
    EXPECT_EQ(editor.Font().Name, "Liberation Mono");
    EXPECT_EQ(editor.Font().Size(), 13);
    Configure([](TwndKonfiguracja& w) {
        EXPECT_EQ(Control<QComboBox>(w, "cbRodzajKolorowania1").currentIndex(), 11);
        EXPECT_TRUE(Box(w, "cbNumeryLiniiNaGutter1"));
        EXPECT_FALSE(Box(w, "cbPasekStandardowy1"));
        EXPECT_TRUE(Control<QRadioButton>(w, "rbKoduj2").isChecked());
        Press(w, "btnAnuluj1");
    });
}

TEST_F(ConfigWindowTest, OkOnAFullDiskIsReportedAndKeepsTheStoredSettings)
{
    Seed({{"Syntax", 3}, {"FontSize", 12}, {"WndWidth", 800}});
    const std::string before = ReadFile(SettingsFile());
    Start();
    int result = -1;
    Configure([&](TwndKonfiguracja& w) {
        SetBox(w, "cbGutter1", true);
        {
            const TDiskFull full;
            PressOk(w);
        }
        result = w.result();
    });
    EXPECT_EQ(result, QDialog::Rejected) << "the window stays open for another try";
    ASSERT_EQ(dialogs->Count(QStringLiteral("error")), 1);
    EXPECT_TRUE(dialogs->Texts(QStringLiteral("error"))[0].startsWith(QStringLiteral("Wystapił błąd: Cannot save")));
    EXPECT_EQ(ReadFile(SettingsFile()), before) << "not one value of the group reached the file";
}

TEST_F(ConfigWindowTest, BothConfigurationItemsOpenTheWindow)
{
    Start();
    int opened = 0;
    window->ExecDialog = [&](QDialog& dialog) {
        ++opened;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Konfiguracja"));
        const auto* tabs = dialog.findChild<QTabWidget*>();
        EXPECT_EQ(tabs->tabText(0), QStringLiteral("Edytor"));
        EXPECT_EQ(tabs->tabText(1), QStringLiteral("System"));
        return QDialog::Rejected;
    };
    for (const char* name : {"miKonfiguracja1", "pmiKonfiguracja1"}) {
        QAction* item = window->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(item, nullptr) << name;
        EXPECT_TRUE(item->isEnabled()) << name;
        item->trigger();
    }
    EXPECT_EQ(opened, 2);
}

TEST_F(ConfigWindowTest, StartupBoxMakesAndRemovesTheLogInShortcut)
{
    const fs::path shortcut = home.path() / "autostart" / "Ostrel3.desktop";
    Start();
    Configure([](TwndKonfiguracja& w) {
        EXPECT_FALSE(Box(w, "cbAutostart1"));
        SetBox(w, "cbAutostart1", true);
        Press(w, "btnAnuluj1");
    });
    EXPECT_TRUE(fs::exists(shortcut)) << "the System tab acts at once, Cancel or not";
    Configure([](TwndKonfiguracja& w) {
        EXPECT_TRUE(Box(w, "cbAutostart1"));
        SetBox(w, "cbAutostart1", false);
        PressOk(w);
    });
    EXPECT_FALSE(fs::exists(shortcut));
    EXPECT_TRUE(dialogs->Texts(QStringLiteral("information")).empty());
}

}  // namespace
}  // namespace ostrel::test
