#pragma once
// One SFTP or FTPS upload in a thread of its own, so the window that started
// it goes on. Progress and the outcome arrive as signals on the window's
// thread; a question about the server's identity is asked there too, while
// the upload waits for the answer. Destroying the runner cancels the upload
// and waits for its thread.

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <thread>

#include "platform/upload/UploadRequest.h"

namespace ostrel {

class TUploadRunner : public QObject {
    Q_OBJECT

public:
    // Asks the user about a host key (certificate false) or a certificate.
    using TAsk = std::function<TTrustAnswer(bool certificate, const TPeerIdentity& identity)>;

    TUploadRunner(TUploadRequest request, TAsk ask, QObject* parent = nullptr);
    ~TUploadRunner() override;

    // The desktop's secret store: look the password up when the request has
    // none, and keep it there once the server has taken it.
    void UsePasswordStore(bool use) { usePasswordStore_ = use; }

    void Start();
    void Cancel() { cancelled_ = true; }
    bool IsRunning() const { return running_; }

signals:
    void Progress(qint64 sent, qint64 total);
    // note: what the secret store said, when it failed.
    void Finished(const ostrel::TUploadResult& result, const QString& note);

private:
    class TObserver;

    void Work();
    TTrustAnswer Ask(bool certificate, const TPeerIdentity& identity);

    TUploadRequest request_;
    TAsk ask_;
    bool usePasswordStore_ = false;
    bool running_ = false;
    std::atomic<bool> cancelled_{false};
    std::thread thread_;
};

}  // namespace ostrel
