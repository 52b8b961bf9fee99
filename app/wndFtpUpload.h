#pragma once
// The window that sends the current document's file to an FTP server: the
// connection parameters, kept for the whole run but never stored, and the
// start of the system's FTP client with its script.

#include <QDialog>
#include <QPointer>
#include <QString>

#include "platform/FtpScript.h"
#include "platform/FtpScriptFile.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace ostrel {

class TDialogs;
class TwndFtpConsole;

class TwndFtpUpload : public QDialog {
    Q_OBJECT

public:
    TwndFtpUpload(TDialogs& dialogs, QWidget* parent = nullptr);

    // The file to send: its full path, and its name as the target name.
    void SetFile(const QString& path);

    void edFtpServer1Change();
    void btnOk1Click();
    void btnAnuluj1Click();
    // Removes a script that no client has taken yet.
    void DeleteScriptFile();

    // The console of the latest upload, while it is open.
    TwndFtpConsole* Console() const;

    QPlainTextEdit* memPlikDoWyslania1 = nullptr;
    QLineEdit* edFtpServer1 = nullptr;
    QLineEdit* edUser1 = nullptr;
    QLineEdit* edHaslo1 = nullptr;
    QLineEdit* edKatalog1 = nullptr;
    QLineEdit* edNazwaPliku1 = nullptr;
    QCheckBox* cbZamknijPoWyslaniu1 = nullptr;
    QPushButton* btnOk1 = nullptr;
    QPushButton* btnAnuluj1 = nullptr;

signals:
    // An upload has ended; the text tells how.
    void UploadFinished(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* NewParametersGroup();
    TFtpParameters Parameters() const;
    // The script for the client, read back from its private file, which is
    // gone once this returns.
    QByteArray ScriptForClient(const TFtpParameters& parameters);

    TDialogs& dialogs_;
    QString path_;
    TFtpScriptFile scriptFile_;
    QPointer<TwndFtpConsole> console_;
};

}  // namespace ostrel
