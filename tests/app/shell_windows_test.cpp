// The small pieces around the main window: the dialog filters, Qt's Polish
// texts, the failure message, the About and file-properties windows.

#include <QLabel>
#include <QMouseEvent>
#include <sys/stat.h>

#include "AppTestSupport.h"
#include "app/AppErrors.h"
#include "app/FileProperties.h"
#include "app/OstrelApplication.h"
#include "app/about.h"
#include "support/TestSupport.h"

namespace ostrel::test {
namespace {

TEST(FileFiltersTest, TheProgramsListBecomesQtFilters)
{
    EXPECT_EQ(ConvertFileFilters(QStringLiteral("Wszystkie pliki|*.*|Strony PHP (*.php*,*.inc)|*.php*;*.inc")),
              QStringLiteral("Wszystkie pliki (*);;Strony PHP (*.php* *.inc)"));
    // An empty pattern after the last ";" is dropped.
    EXPECT_EQ(ConvertFileFilters(QStringLiteral("Pascal (*.pas,*.dpr)|*.pas;*.dpr;")),
              QStringLiteral("Pascal (*.pas *.dpr)"));
    // A name without a pattern list of its own gets one.
    EXPECT_EQ(ConvertFileFilters(QStringLiteral("Skrypty|*.js;*.vbs")), QStringLiteral("Skrypty (*.js *.vbs)"));
    EXPECT_EQ(ConvertFileFilters(QString()), QString());
}

TEST(PolishTextsTest, StandardButtonsReadInPolish)
{
    QApplication& app = TestApp();
    LoadPolishTranslations(app);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Tak"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&Nie"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Anuluj"));
}

using FailureTest = MainWindowTest;

TEST_F(FailureTest, AFailedCommandShowsTheProgramsMessageAndTheWindowGoesOn)
{
    window->RunCommand([] { throw std::runtime_error("Disk full"); });
    window->RunCommand([] { throw EAbort(); });
    EXPECT_EQ(dialogs->Texts(QStringLiteral("error")), std::vector<QString>{QStringLiteral("Wystapił błąd: Disk full.")});
    Click("miNowy1");
    EXPECT_EQ(window->DocumentCount(), 2);
}

TEST(AboutWindowTest, ADoubleClickOnTheTitleShowsTheReleaseDate)
{
    TestApp();
    TwndOprogramie about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("O programie..."));
    EXPECT_EQ(about.TitleText(), QStringLiteral("Ostrel 3.2"));
    auto* title = about.findChild<QLabel*>(QStringLiteral("lblTytul1"));
    ASSERT_NE(title, nullptr);
    QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(title, &click);
    EXPECT_EQ(about.TitleText(), QStringLiteral("28 stycznia 2004"));
}

TEST(FilePropertiesTest, ShowsPathSizeAndPermissions)
{
    TestApp();
    TempDir dir;
    WriteFile(dir / "strona.html", std::string(1234, 'x'));
    ::chmod((dir / "strona.html").c_str(), 0640);
    TwndWlasciwosci properties(QString::fromStdString((dir / "strona.html").string()));
    const QStringList rows = properties.Rows();
    EXPECT_TRUE(rows.contains(QStringLiteral("Nazwa: strona.html")));
    EXPECT_TRUE(rows.contains(QStringLiteral("Folder: ") + QString::fromStdString(dir.path().string())));
    EXPECT_TRUE(rows.contains(QStringLiteral("Uprawnienia: rw-r-----")));
    EXPECT_TRUE(rows.filter(QStringLiteral("Rozmiar: ")).first().contains(QStringLiteral("234 B")));
    EXPECT_EQ(properties.windowTitle(), QStringLiteral("Właściwości: strona.html"));
}

TEST(FilePropertiesTest, PermissionTextFollowsTheBits)
{
    EXPECT_EQ(PermissionText(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                             QFileDevice::ReadOther),
              QStringLiteral("rwx---r--"));
    EXPECT_EQ(PermissionText({}), QStringLiteral("---------"));
}

}  // namespace
}  // namespace ostrel::test
