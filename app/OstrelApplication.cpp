#include "app/OstrelApplication.h"

#include <QLibraryInfo>
#include <QTranslator>

#include "app/AppErrors.h"

namespace ostrel {

TOstrelApplication::TOstrelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void TOstrelApplication::SetExceptionHandler(std::function<void(const std::exception&)> handler)
{
    handler_ = std::move(handler);
}

bool TOstrelApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); },
               [this](const std::exception& error) {
                   if (handler_)
                       handler_(error);
               });
    return handled;
}

void LoadPolishTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    else
        delete translator;
}

}  // namespace ostrel
