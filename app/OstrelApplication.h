#pragma once
// The application object: Qt's, with the application-wide handler for every
// failure that no command handles itself.

#include <QApplication>
#include <exception>
#include <functional>

namespace ostrel {

class TOstrelApplication : public QApplication {
    Q_OBJECT

public:
    TOstrelApplication(int& argc, char** argv);

    // Receives every exception raised while an event is delivered; the
    // program goes on afterwards.
    void SetExceptionHandler(std::function<void(const std::exception&)> handler);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::function<void(const std::exception&)> handler_;
};

// Installs Qt's own Polish texts (standard buttons "Tak", "Nie", "Anuluj").
void LoadPolishTranslations(QCoreApplication& app);

}  // namespace ostrel
