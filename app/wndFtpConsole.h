#pragma once
// The console of one upload: the system's FTP client runs in a process of
// its own, its dialogue with the server shows here as it happens, and a line
// below takes what the user answers or asks it. The program never waits for
// the client.

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
    void Append(const QString& text);

    QProcess* process_ = nullptr;  // owned as a child
    QByteArray script_;
    QStringDecoder decoder_{QStringDecoder::System};
    TFtpTranscript transcript_;
    bool ended_ = false;
};

}  // namespace ostrel
