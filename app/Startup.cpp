#include "app/Startup.h"

#include <climits>
#include <csignal>
#include <cstdio>
#include <optional>

#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>

#include "app/Mein.h"
#include "app/OstrelApplication.h"
#include "app/SingleInstance.h"
#include "app/qt/Icons.h"
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
// silently without disturbing the first instance. Nothing when the file did
// not reach the first instance: this start then opens it itself.
std::optional<int> RunSecondInstance(int argc, char** argv, const QString& firstArgument)
{
    const QFileInfo file(firstArgument);
    if (firstArgument.isEmpty() || !file.isFile())
        return 0;
    const QString path = file.absoluteFilePath();
    if (path.toLocal8Bit().size() >= PATH_MAX)
        return 1;
    QCoreApplication app(argc, argv);
    const TChannelAnswer handedOver = TSingleInstance::HandOver(path);
    if (handedOver.answer)
        return 0;
    TellUser(handedOver.failure + QStringLiteral("; plik zostanie otwarty w nowym oknie"));
    return std::nullopt;
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
    const TChannelAnswer documents = TSingleInstance::QueryDocuments();
    if (!documents.answer) {
        TellUser(documents.failure);
        return 1;
    }
    for (const QString& path : *documents.answer)
        std::printf("%s\n", path.toLocal8Bit().constData());
    return 0;
}

// The window, as the first instance or, where no channel can be had or the
// hand-over failed, standing alone: then instance is null and later starts
// cannot reach this one.
int RunWindow(int argc, char** argv, const QString& firstArgument, TSingleInstance* instance)
{
    TOstrelApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ostrel"));
    // No display name: the desktop would append it to the window caption,
    // which shows exactly the document and "Ostrel 3.2".
    QGuiApplication::setDesktopFileName(QStringLiteral("ostrel"));
    QApplication::setWindowIcon(ProgramIcon());
    LoadPolishTranslations(app);

    TFirstPaintReporter firstPaint;
    if (qEnvironmentVariableIsSet("OSTREL_REPORT_FIRST_PAINT"))
        app.installEventFilter(&firstPaint);

    TOstrel3Main window(firstArgument);
    app.SetExceptionHandler([&window](const std::exception& error) { window.ExceptionProgramu(error); });
    if (instance) {
        instance->OnOpen = [&window](const QString& path) { window.OpenHandedOver(path); };
        instance->OnListDocuments = [&window] { return window.DocumentPaths(); };
        if (!instance->Listen())
            TellUser(instance->Refusal() + QStringLiteral("; kolejne uruchomienia otworzą własne okna"));
    }

    window.ShowAtStart();
    return app.exec();
}

}  // namespace

int RunProgram(int argc, char** argv)
{
    // Under a file-size limit a save fails with its message instead of
    // ending the program with its documents unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    const QString firstArgument = FirstArgument(argc, argv);
    if (firstArgument == kListDocumentsOption)
        return ListDocuments(argc, argv);

    TSingleInstance instance;
    const TSingleInstance::TClaim claim = instance.TryClaim();
    if (claim == TSingleInstance::TClaim::Second) {
        if (const std::optional<int> ended = RunSecondInstance(argc, argv, firstArgument))
            return *ended;
    } else if (claim == TSingleInstance::TClaim::NoChannel) {
        TellUser(instance.Refusal() + QStringLiteral("; każde uruchomienie programu otwiera więc własne okno"));
    }
    return RunWindow(argc, argv, firstArgument, claim == TSingleInstance::TClaim::First ? &instance : nullptr);
}

}  // namespace ostrel
