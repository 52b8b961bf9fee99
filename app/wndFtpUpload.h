#pragma once
// The window that sends the current document's file to a server: the
// connection parameters, kept for the whole run but never stored (the
// password goes to the desktop's secret store only when the user asks), and
// either the start of the system's FTP client with its script or an SFTP or
// FTPS upload in the background with its progress.

#include <QDialog>
#include <QPointer>
#include <QString>
#include <memory>

#include "platform/FtpScript.h"
#include "platform/FtpScriptFile.h"
#include "platform/upload/CertificatePins.h"
#include "platform/upload/UploadRequest.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace ostrel {

class TDialogs;
class TUploadRunner;
class TwndFtpConsole;

// The protocol combo's items, in its order.
enum class TUploadChoice { ConsoleFtp, Sftp, Ftps };

class TwndFtpUpload : public QDialog {
    Q_OBJECT

public:
    TwndFtpUpload(TDialogs& dialogs, QWidget* parent = nullptr);
    ~TwndFtpUpload() override;

    // The file to send: its full path, and its name as the target name.
    void SetFile(const QString& path);

    void edFtpServer1Change();
    void btnOk1Click();
    void btnAnuluj1Click();
    void btnPrzerwij1Click();
    void cbProtokol1Change();
    // Removes a script that no client has taken yet.
    void DeleteScriptFile();

    // The console of the latest upload, while it is open.
    TwndFtpConsole* Console() const;
    // Whether an SFTP or FTPS upload is on its way.
    bool IsUploading() const;
    TUploadChoice Protocol() const;
    // Where accepted certificates are kept for good; tests point it elsewhere.
    TCertificatePins& CertificatePins() { return certificatePins_; }

    QPlainTextEdit* memPlikDoWyslania1 = nullptr;
    QLineEdit* edFtpServer1 = nullptr;
    QLineEdit* edUser1 = nullptr;
    QLineEdit* edHaslo1 = nullptr;
    QLineEdit* edKatalog1 = nullptr;
    QLineEdit* edNazwaPliku1 = nullptr;
    QComboBox* cbProtokol1 = nullptr;
    QSpinBox* sePort1 = nullptr;
    QSpinBox* seLimitCzasu1 = nullptr;
    QCheckBox* cbZapamietajHaslo1 = nullptr;
    QCheckBox* cbZamknijPoWyslaniu1 = nullptr;
    QProgressBar* pbPostep1 = nullptr;
    QLabel* lblStan1 = nullptr;
    QPushButton* btnOk1 = nullptr;
    QPushButton* btnPrzerwij1 = nullptr;
    QPushButton* btnAnuluj1 = nullptr;

signals:
    // An upload has ended; the text tells how.
    void UploadFinished(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* NewParametersGroup();
    QWidget* NewProgressRow();
    TFtpParameters Parameters() const;
    TUploadRequest Request() const;
    void StartConsoleClient();
    void StartUpload();
    TTrustAnswer AskTrust(bool certificate, const TPeerIdentity& identity);
    void UploadProgress(qint64 sent, qint64 total);
    void UploadEnded(const TUploadResult& result, const QString& note);
    void KeepAcceptedCertificates(const TUploadResult& result);
    QString UploadOutcomeText(const TUploadResult& result) const;
    // The script for the client, read back from its private file, which is
    // gone once this returns.
    QByteArray ScriptForClient(const TFtpParameters& parameters);

    TDialogs& dialogs_;
    QString path_;
    TFtpScriptFile scriptFile_;
    QPointer<TwndFtpConsole> console_;
    QLabel* serverLabel_ = nullptr;
    std::unique_ptr<TUploadRunner> runner_;
    TUploadRequest running_;  // the request of the upload on its way
    TCertificatePins certificatePins_;
    bool passwordStoreAvailable_ = false;
};

}  // namespace ostrel
