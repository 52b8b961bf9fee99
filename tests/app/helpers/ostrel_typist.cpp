// The real program with a user at its keyboard, for the crash test. It
// starts the program through its own entry point; once the window is up it
//  - OSTREL_TYPIST=type: types OSTREL_TYPE_FIRST into the document it
//    opened, makes a new document as the menu does and types
//    OSTREL_TYPE_SECOND there, then prints what each document holds and
//    "typed", and goes on running until it is killed;
//  - OSTREL_TYPIST=restore: presses "Przywróć" in the recovery list as soon
//    as it shows, prints what each document holds and ends at once.

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/Document.h"
#include "app/Mein.h"
#include "app/Startup.h"
#include "app/qt/OstEditWidget.h"

namespace {

using namespace ostrel;

TOstrel3Main* MainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<TOstrel3Main*>(widget); window && window->DocumentCount() > 0)
            return window;
    return nullptr;
}

// Letters beyond ASCII come as a Polish layout gives them: a key without a
// code of its own, carrying the letter.
void TypeInto(TDocumentPage& document, const QString& text)
{
    QWidget* target = &document.EditWidget();
    for (const QChar c : text) {
        if (c == u'\n')
            QTest::keyClick(target, Qt::Key_Return);
        else if (c.unicode() < 0x80)
            QTest::keyClick(target, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// One line per document: path, caption, modified, encoding, line breaks,
// the caret, and the file's bytes in hex.
void PrintDocuments(TOstrel3Main& window)
{
    for (int i = 0; i < window.DocumentCount(); ++i) {
        TDocumentPage& document = *window.DocumentAt(i);
        const TOstEdit& editor = document.Editor();
        std::printf("doc\t%s\t%s\t%d\t%s\t%d\t%d:%d\t%s\n", document.NativePath().c_str(),
                    window.pcEdytory1->tabText(i).toUtf8().constData(), editor.Modified() ? 1 : 0,
                    std::string(EncodingName(editor.Lines().Encoding())).c_str(),
                    static_cast<int>(editor.Lines().LineBreakStyle()), editor.CaretX(), editor.CaretY(),
                    Hex(editor.Lines().FileBytes()).c_str());
    }
}

void TypeAndWait()
{
    TOstrel3Main* window = MainWindow();
    if (!window || !window->isVisible()) {
        QTimer::singleShot(50, TypeAndWait);
        return;
    }
    TypeInto(*window->CurrentDocument(), qEnvironmentVariable("OSTREL_TYPE_FIRST"));
    window->findChild<QAction*>(QStringLiteral("miNowy1"))->trigger();
    TypeInto(*window->CurrentDocument(), qEnvironmentVariable("OSTREL_TYPE_SECOND"));
    PrintDocuments(*window);
    std::printf("typed\n");
    std::fflush(stdout);
}

void RestoreAndReport()
{
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* restore = modal->findChild<QPushButton*>(QStringLiteral("btnPrzywroc1")))
            restore->click();
        QTimer::singleShot(50, RestoreAndReport);
        return;
    }
    TOstrel3Main* window = MainWindow();
    if (!window || !window->isVisible()) {
        QTimer::singleShot(50, RestoreAndReport);
        return;
    }
    PrintDocuments(*window);
    std::fflush(stdout);
    std::_Exit(0);  // closing would ask about the restored changes
}

void StartTypist()
{
    const QByteArray mode = qgetenv("OSTREL_TYPIST");
    if (mode == "type")
        QTimer::singleShot(0, TypeAndWait);
    else if (mode == "restore")
        QTimer::singleShot(0, RestoreAndReport);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartTypist)

int main(int argc, char** argv) { return ostrel::RunProgram(argc, argv); }
