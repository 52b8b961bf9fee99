// The real open, save and font dialogs: where the file dialogs start (the
// current document's folder, or the last one used) and what they remember
// (the folder of the file chosen, also of a path typed in the name field);
// the editor's font dialog starting on the font in use, fixed pitch only.

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QTimer>

#include "AppTestSupport.h"
#include "app/qt/QtCanvas.h"

namespace ostrel::test {
namespace {

// Runs once the next modal dialog of type T is up, then lets it close.
template <class T>
void WhenShown(std::function<void(T&)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(*dialog);
        }
    });
    timer->start();
}

QString Canonical(const QString& folder) { return QDir(folder).canonicalPath(); }

// A path typed into the name field, then OK.
void TypeAndAccept(QFileDialog& dialog, const QString& path)
{
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(path);
    QMetaObject::invokeMethod(&dialog, "accept");
}

TEST(FileDialogs, StartInTheDocumentsFolderAndRememberTheFolderOfATypedPath)
{
    TestApp();
    const TempDir dir;
    std::filesystem::create_directories(dir.path() / "doc");
    std::filesystem::create_directories(dir.path() / "other");
    WriteFile(dir.path() / "other" / "typed.txt", "x");
    TQtDialogs dialogs;
    dialogs.SetDocumentFolder(Q(dir.path() / "doc"));
    QString started;
    WhenShown<QFileDialog>([&](QFileDialog& d) {
        started = d.directory().absolutePath();
        TypeAndAccept(d, Q(dir.path() / "other" / "typed.txt"));
    });
    std::optional<TOstEncoding> encoding;
    const QStringList chosen = dialogs.OpenFiles(nullptr, QStringLiteral("Wszystkie|*.*"), encoding);
    EXPECT_EQ(Canonical(started), Canonical(Q(dir.path() / "doc")));
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(Canonical(QFileInfo(chosen[0]).absolutePath()), Canonical(Q(dir.path() / "other")));

    // An untitled document: the dialog starts where the last one ended.
    dialogs.SetDocumentFolder({});
    WhenShown<QFileDialog>([&](QFileDialog& d) {
        started = d.directory().absolutePath();
        d.reject();
    });
    dialogs.OpenFiles(nullptr, QStringLiteral("Wszystkie|*.*"), encoding);
    EXPECT_EQ(Canonical(started), Canonical(Q(dir.path() / "other")));
}

TEST(FileDialogs, SaveRemembersTheFolderOfTheTypedName)
{
    TestApp();
    const TempDir dir;
    std::filesystem::create_directories(dir.path() / "doc");
    std::filesystem::create_directories(dir.path() / "target");
    TQtDialogs dialogs;
    dialogs.SetDocumentFolder(Q(dir.path() / "doc"));
    QString started;
    WhenShown<QFileDialog>([&](QFileDialog& d) {
        started = d.directory().absolutePath();
        TypeAndAccept(d, Q(dir.path() / "target" / "new.txt"));
    });
    const QString chosen = dialogs.SaveFile(nullptr, TFileDialogId::Save, QStringLiteral("Wszystkie|*.*"), QString());
    EXPECT_EQ(Canonical(started), Canonical(Q(dir.path() / "doc")));
    EXPECT_EQ(QFileInfo(chosen).fileName(), QStringLiteral("new.txt"));
    dialogs.SetDocumentFolder({});
    WhenShown<QFileDialog>([&](QFileDialog& d) {
        started = d.directory().absolutePath();
        d.reject();
    });
    dialogs.SaveFile(nullptr, TFileDialogId::Save, QStringLiteral("Wszystkie|*.*"), QString());
    EXPECT_EQ(Canonical(started), Canonical(Q(dir.path() / "target")));
}

TEST(FontDialog, EditorFontOffersFixedPitchOnlyFromTheFontInUse)
{
    TestApp();
    TQtDialogs dialogs;
    const QFont inUse(QtCanvas::InstalledFamily("Courier New"), 10);
    bool monospacedOnly = false;
    QString family;
    WhenShown<QFontDialog>([&](QFontDialog& d) {
        monospacedOnly = d.testOption(QFontDialog::MonospacedFonts);
        family = d.currentFont().family();
        d.accept();
    });
    const std::optional<QFont> chosen = dialogs.ChooseEditorFont(nullptr, inUse);
    EXPECT_TRUE(monospacedOnly);
    EXPECT_EQ(family, inUse.family());
    ASSERT_TRUE(chosen.has_value());
    // OK without a change keeps a fixed-pitch family.
    EXPECT_TRUE(QFontInfo(*chosen).fixedPitch()) << chosen->family().toStdString();
}

class DialogFolderTest : public MainWindowTest {};

TEST_F(DialogFolderTest, TheWindowTellsTheCurrentDocumentsFolder)
{
    const TempDir dir;
    OpenFile(dir.path(), "a.txt", "a");
    dialogs->openChoices.push_back({});
    Click("miOtworz1");
    EXPECT_EQ(dialogs->documentFolder, Q(dir.path()));
    window->Nowy1Click();
    dialogs->saveChoices.push_back({});
    Click("miZapiszjako1");
    EXPECT_EQ(dialogs->documentFolder, QString()) << "an untitled document names no folder";
}

}  // namespace
}  // namespace ostrel::test
