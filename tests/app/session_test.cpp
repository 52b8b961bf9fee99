// The session: the documents open at the end come back at the next start,
// with their carets and the current tab, unless the user turned it off.

#include <QTabWidget>

#include "SettingsTestSupport.h"

namespace ostrel::test {
namespace {

class SessionTest : public SettingsTest {
protected:
    QString File(const std::string& name, const std::string& text) const
    {
        WriteFile(files / name, text);
        return QString::fromStdString((files / name).string());
    }
    // Opens the files, puts each caret, makes one tab current and ends.
    void EndWith(const std::vector<std::pair<QString, TBufferCoord>>& documents, int current)
    {
        Start();
        for (const auto& [path, caret] : documents) {
            window->OpenDocument(path);
            Current().Editor().SetCaretXY(caret);
        }
        window->pcEdytory1->setCurrentIndex(current);
        ASSERT_TRUE(Close());
    }
    QStringList OpenPaths() const
    {
        QStringList paths;
        for (int i = 0; i < window->DocumentCount(); ++i)
            paths << window->DocumentAt(i)->Path();
        return paths;
    }

    TempDir files;
};

TEST_F(SessionTest, OpenDocumentsComeBackWithCaretsAndTheCurrentTab)
{
    const QString a = File("a.txt", "one\ntwo\nthree\n");
    const QString b = File("b.html", "<p>\n  tekst\n</p>\n");
    EndWith({{a, {3, 2}}, {b, {4, 3}}}, 1);  // the untitled first tab stays out
    Start();
    // The session's documents replace the untitled one a start would make.
    ASSERT_EQ(OpenPaths(), (QStringList{a, b}));
    EXPECT_EQ(Current().Path(), a) << "the tab that was current";
    EXPECT_EQ(Current().Editor().CaretXY(), (TBufferCoord{3, 2}));
    EXPECT_EQ(window->DocumentAt(1)->Editor().CaretXY(), (TBufferCoord{4, 3}));
    EXPECT_FALSE(Current().Editor().Modified());
}

TEST_F(SessionTest, TurnedOffInTheConfigurationWindowNothingReopens)
{
    const QString a = File("a.txt", "one\n");
    Start();
    Configure([](TwndKonfiguracja& w) {
        EXPECT_TRUE(Box(w, "cbPrzywracajSesje1")) << "on by default";
        SetBox(w, "cbPrzywracajSesje1", false);
        Press(w, "btnOk1");
    });
    window->OpenDocument(a);
    ASSERT_TRUE(Close());
    EXPECT_EQ(std::get<int32_t>(Stored().at("RestoreSession")), 0);
    Start();
    ASSERT_EQ(window->DocumentCount(), 1);
    EXPECT_TRUE(Current().Path().isEmpty()) << "a fresh untitled document";
}

// A file removed since, a damaged caret and a wild count are passed over;
// a file named on the command line opens beside the session.
TEST_F(SessionTest, DamagedOrStaleEntriesAreSkipped)
{
    const QString a = File("a.txt", "one\ntwo\n");
    const QString c = File("c.txt", "three\n");
    Seed({{"Count", 2000000000}, {"Current", 7}, {"File0", (files / "gone.txt").string()},
          {"File1", a.toStdString()}, {"Caret1", std::string("x:-4")}, {"File2", a.toStdString()}},
         "Session");
    Start(c);
    ASSERT_EQ(OpenPaths(), (QStringList{a, c}));
    EXPECT_EQ(window->DocumentAt(0)->Editor().CaretXY(), (TBufferCoord{1, 1}));
    EXPECT_EQ(Current().Path(), c);
}

TEST_F(SessionTest, OnlyUntitledDocumentsLeaveNoSession)
{
    const QString a = File("a.txt", "one\n");
    EndWith({{a, {2, 1}}}, 0);
    Start();
    ASSERT_EQ(OpenPaths(), QStringList{a});
    window->findChild<QAction*>(QStringLiteral("miZamknijWszystkie1"))->trigger();
    ASSERT_TRUE(Close());
    Start();
    ASSERT_EQ(window->DocumentCount(), 1);
    EXPECT_TRUE(Current().Path().isEmpty());
}

}  // namespace
}  // namespace ostrel::test
