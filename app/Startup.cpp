#include "app/Startup.h"

#include <climits>
#include <cstdio>

#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>

#include "app/Mein.h"
#include "app/OstrelApplication.h"
#include "app/SingleInstance.h"
#include "app/qt/OstEditWidget.h"

namespace ostrel {

namespace {

// Asks the running instance which files it holds; a way for scripts and
// tests to see what a hand-over did.
const QString kListDocumentsOption = QStringLiteral("--list-documents");

QString FirstArgument(int argc, char** argv)
{
    return argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
}

// A later start: only an existing file is handed over; anything else ends
// silently without disturbing the first instance.
int RunSecondInstance(const QString& firstArgument)
{
    const QFileInfo file(firstArgument);
    if (firstArgument.isEmpty() || !file.isFile())
        return 0;
    const QString path = file.absoluteFilePath();
    if (path.toLocal8Bit().size() >= PATH_MAX)
        return 1;
    return TSingleInstance::HandOver(path) ? 0 : 1;
}

// With OSTREL_REPORT_FIRST_PAINT set, the program says on standard error
// when an editor has first been painted and the event loop is free again;
// the start-up benchmark waits for this line. Set to "quit", the program
// ends right after it, so a whole run can be timed from outside.
class TFirstPaintReporter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->parent() &&
            qobject_cast<TOstEditWidget*>(watched->parent())) {
            QCoreApplication::instance()->removeEventFilter(this);
            QTimer::singleShot(0, this, [] {
                std::fprintf(stderr, "ostrel: first paint\n");
                std::fflush(stderr);
                if (qgetenv("OSTREL_REPORT_FIRST_PAINT") == "quit")
                    QCoreApplication::exit(0);
            });
        }
        return false;
    }
};

int ListDocuments(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::optional<QStringList> paths = TSingleInstance::QueryDocuments();
    if (!paths)
        return 1;
    for (const QString& path : *paths)
        std::printf("%s\n", path.toLocal8Bit().constData());
    return 0;
}

}  // namespace

int RunProgram(int argc, char** argv)
{
    const QString firstArgument = FirstArgument(argc, argv);
    if (firstArgument == kListDocumentsOption)
        return ListDocuments(argc, argv);

    TSingleInstance instance;
    if (!instance.TryClaim()) {
        QCoreApplication app(argc, argv);
        return RunSecondInstance(firstArgument);
    }

    TOstrelApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ostrel"));
    // No display name: the desktop would append it to the window caption,
    // which shows exactly the document and "Ostrel 3.2".
    QGuiApplication::setDesktopFileName(QStringLiteral("ostrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/ostrel/ostrel.png")));
    LoadPolishTranslations(app);

    TFirstPaintReporter firstPaint;
    if (qEnvironmentVariableIsSet("OSTREL_REPORT_FIRST_PAINT"))
        app.installEventFilter(&firstPaint);

    TOstrel3Main window(firstArgument);
    app.SetExceptionHandler([&window](const std::exception& error) { window.ExceptionProgramu(error); });
    instance.OnOpen = [&window](const QString& path) { window.OpenHandedOver(path); };
    instance.OnListDocuments = [&window] { return window.DocumentPaths(); };
    instance.Listen();

    window.ShowAtStart();
    return app.exec();
}

}  // namespace ostrel
