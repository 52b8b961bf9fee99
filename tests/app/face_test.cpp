// The window's face: fonts that resolve to installed monospaced families,
// line numbers in the text's size, and toolbar icons that fit.

#include <QFontDatabase>
#include <QFontInfo>

#include "AppTestSupport.h"
#include "app/qt/OstEditWidget.h"
#include "app/qt/QtCanvas.h"

using namespace ostrel;
using namespace ostrel::test;

TEST(FontResolution, AMonospacedFontTheSystemLacksBecomesAnInstalledOne)
{
    TestApp();
    const QString courier = QtCanvas::InstalledFamily("Courier New");
    EXPECT_TRUE(courier == QStringLiteral("Liberation Mono") || courier == QStringLiteral("DejaVu Sans Mono") ||
                QFontDatabase::hasFamily(QStringLiteral("Courier New")))
        << courier.toStdString();
    const QFont font = QtCanvas::ToQFont(TOstFont{}, 0);
    EXPECT_TRUE(QFontInfo(font).fixedPitch()) << QFontInfo(font).family().toStdString();
    EXPECT_EQ(QtCanvas::InstalledFamily("Liberation Mono"), QStringLiteral("Liberation Mono"));
}

class FaceTest : public MainWindowTest {};

TEST_F(FaceTest, LineNumbersFollowTheTextsSize)
{
    TOstEdit& editor = Current().Editor();
    editor.Gutter().SetVisible(true);
    editor.Gutter().SetShowLineNumbers(true);
    EXPECT_FALSE(editor.Gutter().UseFontStyle()) << "the numbers take the editor's font";
    const int narrow = editor.GutterWidth();
    Current().EditWidget().Zoom(4);
    EXPECT_GT(editor.GutterWidth(), narrow) << "zoomed numbers need a wider gutter";
}
