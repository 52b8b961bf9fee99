#pragma once
// The console of one upload: the system's FTP client runs in a process of
// its own, its dialogue with the server shows here as it happens, and a line
// below takes what the user answers or asks it. The program never waits for
// the client, and gives it a time limit: a client that has not got the
// server to confirm or refuse the file within it is ended as failed. Once
// the upload is decided the connection stays the user's, without a limit.

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include "platform/FtpTranscript.h"

class QLineEdit;
class QPlainTextEdit;
class QProcess;
class QPushButton;
class QTimer;

namespace ostrel {

// What the status bar says about an upload that has ended.
QString FtpOutcomeText(const TFtpTranscript& transcript);

class TwndFtpConsole : public QDialog {
    Q_OBJECT

public:
    explicit TwndFtpConsole(QWidget* parent = nullptr);
    ~TwndFtpConsole() override;

    // Starts the client and hands it the script as its first input.
    void Start(const QString& client, const QStringList& arguments, const QByteArray& script);
    // The limit for the next Start, in seconds.
    void SetTimeLimit(int seconds) { timeLimit_ = seconds; }
    bool IsRunning() const;
    const TFtpTranscript& Transcript() const { return transcript_; }

    QPlainTextEdit* memDialog1 = nullptr;  // the client's output
    QLineEdit* edPolecenie1 = nullptr;     // a line for the client's input
    QPushButton* btnZamknij1 = nullptr;

signals:
    // The client has ended; the text tells whether the file arrived.
    void Finished(bool succeeded, const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ReadOutput();
    void SendLine();
    void ClientFinished();
    void ClientFailed();
    void TimeLimitReached();
    void Append(const QString& text);

    QProcess* process_ = nullptr;  // owned as a child
    QTimer* limit_ = nullptr;      // owned as a child
    int timeLimit_ = 300;
    QByteArray script_;
    QStringDecoder decoder_{QStringDecoder::System};
    TFtpTranscript transcript_;
    bool ended_ = false;
};

}  // namespace ostrel
