#include "app/wndFtpUpload.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/AppErrors.h"
#include "app/Dialogs.h"
#include "app/GlobalRes.h"
#include "app/UploadRunner.h"
#include "app/wndFtpConsole.h"
#include "platform/upload/KnownHosts.h"
#include "platform/upload/PasswordStore.h"

namespace ostrel {

namespace {

QLineEdit* NewField(QWidget* parent, const char* name, const QString& text = {})
{
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

QSpinBox* NewNumber(QWidget* parent, const char* name, int low, int high, int value)
{
    auto* number = new QSpinBox(parent);
    number->setObjectName(QString::fromLatin1(name));
    number->setRange(low, high);
    number->setValue(value);
    return number;
}

// The server and the client speak UTF-8 names on this system.
std::string Utf8(const QLineEdit* field) { return field->text().toUtf8().toStdString(); }

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

QString FailureReason(TUploadError error, int timeLimit)
{
    switch (error) {
    case TUploadError::BadRequest:
        return res::kUploadBadRequest;
    case TUploadError::LocalFile:
        return res::kUploadLocalFile;
    case TUploadError::NotConnected:
        return res::kFtpNotConnected;
    case TUploadError::NoTls:
        return res::kUploadNoTls;
    case TUploadError::LoginRefused:
        return res::kFtpLoginRefused;
    case TUploadError::HostKeyUnknown:
        return res::kUploadHostKeyUnknown;
    case TUploadError::HostKeyChanged:
        return res::kUploadHostKeyChanged;
    case TUploadError::CertificateUntrusted:
        return res::kUploadCertificateUntrusted;
    case TUploadError::RemoteRefused:
        return res::kFtpRemoteRefused;
    case TUploadError::TimedOut:
        return res::kUploadTimedOut.arg(timeLimit);
    case TUploadError::Cancelled:
        return res::kUploadCancelled;
    case TUploadError::Incomplete:
        return res::kUploadIncomplete;
    default:
        return res::kUploadOther;
    }
}

QString ServerName(const TPeerIdentity& identity) { return Text(KnownHostsName(identity.host, identity.port)); }

}  // namespace

TwndFtpUpload::TwndFtpUpload(TDialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Tool),
      dialogs_(dialogs),
      certificatePins_(DefaultCertificatePinsFile()),
      passwordStoreAvailable_(TPasswordStore::Available())
{
    setObjectName(QStringLiteral("wndFtpUpload"));
    setWindowTitle(QStringLiteral("Wyślij na FTP"));
    setModal(true);

    memPlikDoWyslania1 = new QPlainTextEdit(this);
    memPlikDoWyslania1->setObjectName(QStringLiteral("memPlikDoWyslania1"));
    memPlikDoWyslania1->setReadOnly(true);
    memPlikDoWyslania1->setFixedHeight(memPlikDoWyslania1->fontMetrics().lineSpacing() * 3);
    cbZamknijPoWyslaniu1 = new QCheckBox(QStringLiteral("Zamknij po wysłaniu"), this);
    cbZamknijPoWyslaniu1->setObjectName(QStringLiteral("cbZamknijPoWyslaniu1"));
    btnOk1 = new QPushButton(QStringLiteral("&Wyślij na FTP"), this);
    btnOk1->setObjectName(QStringLiteral("btnOk1"));
    btnOk1->setEnabled(false);
    btnOk1->setDefault(true);
    btnAnuluj1 = new QPushButton(QStringLiteral("Z&amknij"), this);
    btnAnuluj1->setObjectName(QStringLiteral("btnAnuluj1"));
    // A script that cannot be written goes to the application-wide message.
    connect(btnOk1, &QPushButton::clicked, this, [this] {
        RunGuarded([this] { btnOk1Click(); },
                   [this](const std::exception& error) { dialogs_.Error(this, ProgramErrorText(error)); });
    });
    connect(btnAnuluj1, &QPushButton::clicked, this, &TwndFtpUpload::btnAnuluj1Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cbZamknijPoWyslaniu1);
    buttons->addStretch();
    buttons->addWidget(btnOk1);
    buttons->addWidget(btnAnuluj1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Plik do wysłania:"), this));
    layout->addWidget(memPlikDoWyslania1);
    layout->addWidget(NewParametersGroup());
    layout->addWidget(NewProgressRow());
    layout->addLayout(buttons);
    cbProtokol1Change();
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
}

// An upload still on its way ends with the window.
TwndFtpUpload::~TwndFtpUpload() = default;

QWidget* TwndFtpUpload::NewParametersGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Parametry FTP"), this);
    group->setObjectName(QStringLiteral("gbParametryFtp1"));
    cbProtokol1 = new QComboBox(group);
    cbProtokol1->setObjectName(QStringLiteral("cbProtokol1"));
    cbProtokol1->addItems({res::kProtocolConsoleFtp, res::kProtocolSftp, res::kProtocolFtps});
    edFtpServer1 = NewField(group, "edFtpServer1");
    sePort1 = NewNumber(group, "sePort1", 1, 65535, 21);
    edUser1 = NewField(group, "edUser1");
    edHaslo1 = NewField(group, "edHaslo1");
    edHaslo1->setEchoMode(QLineEdit::Password);
    cbZapamietajHaslo1 = new QCheckBox(QStringLiteral("Zapamiętaj hasło w ma&gazynie haseł pulpitu"), group);
    cbZapamietajHaslo1->setObjectName(QStringLiteral("cbZapamietajHaslo1"));
    if (!passwordStoreAvailable_)
        cbZapamietajHaslo1->setToolTip(res::kSecretStoreMissing);
    edKatalog1 = NewField(group, "edKatalog1", QStringLiteral("/"));
    edNazwaPliku1 = NewField(group, "edNazwaPliku1");
    seLimitCzasu1 = NewNumber(group, "seLimitCzasu1", 1, 24 * 3600, kDefaultUploadTimeLimit);
    seLimitCzasu1->setSuffix(QStringLiteral(" s"));
    for (QLineEdit* field : {edFtpServer1, edUser1, edNazwaPliku1})
        connect(field, &QLineEdit::textChanged, this, &TwndFtpUpload::edFtpServer1Change);
    connect(cbProtokol1, &QComboBox::currentIndexChanged, this, &TwndFtpUpload::cbProtokol1Change);

    auto* server = new QHBoxLayout;
    server->addWidget(edFtpServer1, 1);
    auto* portLabel = new QLabel(QStringLiteral("P&ort:"), group);
    portLabel->setBuddy(sePort1);
    server->addWidget(portLabel);
    server->addWidget(sePort1);
    serverLabel_ = new QLabel(res::kServerLabelFtp, group);
    serverLabel_->setBuddy(edFtpServer1);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("&Protokół:"), cbProtokol1);
    form->addRow(serverLabel_, server);
    form->addRow(QStringLiteral("&Użytkownik:"), edUser1);
    form->addRow(QStringLiteral("&Hasło:"), edHaslo1);
    form->addRow(QString(), cbZapamietajHaslo1);
    form->addRow(QStringLiteral("&Zdalny katalog:"), edKatalog1);
    form->addRow(QStringLiteral("&Docelowa nazwa pliku:"), edNazwaPliku1);
    form->addRow(QStringLiteral("&Limit czasu:"), seLimitCzasu1);
    return group;
}

QWidget* TwndFtpUpload::NewProgressRow()
{
    auto* row = new QWidget(this);
    pbPostep1 = new QProgressBar(row);
    pbPostep1->setObjectName(QStringLiteral("pbPostep1"));
    pbPostep1->setRange(0, 1000);
    pbPostep1->setValue(0);
    btnPrzerwij1 = new QPushButton(QStringLiteral("Prz&erwij"), row);
    btnPrzerwij1->setObjectName(QStringLiteral("btnPrzerwij1"));
    btnPrzerwij1->setEnabled(false);
    btnPrzerwij1->setAutoDefault(false);
    connect(btnPrzerwij1, &QPushButton::clicked, this, &TwndFtpUpload::btnPrzerwij1Click);
    lblStan1 = new QLabel(row);
    lblStan1->setObjectName(QStringLiteral("lblStan1"));
    lblStan1->setWordWrap(true);
    auto* bar = new QHBoxLayout;
    bar->addWidget(pbPostep1, 1);
    bar->addWidget(btnPrzerwij1);
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(lblStan1);
    return row;
}

void TwndFtpUpload::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());
}

void TwndFtpUpload::SetFile(const QString& path)
{
    path_ = path;
    memPlikDoWyslania1->setPlainText(path);
    edNazwaPliku1->setText(QFileInfo(path).fileName());
}

void TwndFtpUpload::edFtpServer1Change()
{
    btnOk1->setEnabled(!edFtpServer1->text().isEmpty() && !edUser1->text().isEmpty() &&
                       !edNazwaPliku1->text().isEmpty() && !IsUploading());
}

TUploadChoice TwndFtpUpload::Protocol() const { return static_cast<TUploadChoice>(cbProtokol1->currentIndex()); }

// The console client takes its port in the server field and alone can keep
// its connection open; the secret store serves the protocols of our own.
void TwndFtpUpload::cbProtokol1Change()
{
    const TUploadChoice choice = Protocol();
    const bool console = choice == TUploadChoice::ConsoleFtp;
    sePort1->setValue(choice == TUploadChoice::Sftp ? DefaultPort(TUploadProtocol::Sftp)
                                                    : DefaultPort(TUploadProtocol::Ftps));
    sePort1->setEnabled(!console);
    serverLabel_->setText(console ? res::kServerLabelFtp : res::kServerLabel);
    cbZamknijPoWyslaniu1->setEnabled(console);
    cbZapamietajHaslo1->setEnabled(!console && passwordStoreAvailable_);
    if (!passwordStoreAvailable_)
        cbZapamietajHaslo1->setChecked(false);
}

TFtpParameters TwndFtpUpload::Parameters() const
{
    TFtpParameters p;
    p.server = Utf8(edFtpServer1);
    p.user = Utf8(edUser1);
    p.password = Utf8(edHaslo1);
    p.folder = Utf8(edKatalog1);
    p.localPath = QFile::encodeName(path_).toStdString();
    p.targetName = Utf8(edNazwaPliku1);
    p.closeAfterSending = cbZamknijPoWyslaniu1->isChecked();
    return p;
}

TUploadRequest TwndFtpUpload::Request() const
{
    TUploadRequest r;
    r.protocol = Protocol() == TUploadChoice::Sftp ? TUploadProtocol::Sftp : TUploadProtocol::Ftps;
    r.host = edFtpServer1->text().trimmed().toUtf8().toStdString();
    r.port = sePort1->value();
    r.user = Utf8(edUser1);
    r.password = Utf8(edHaslo1);
    r.folder = Utf8(edKatalog1);
    r.localPath = QFile::encodeName(path_).toStdString();
    r.targetName = Utf8(edNazwaPliku1);
    r.timeLimitSeconds = seLimitCzasu1->value();
    r.knownHostsPath = DefaultKnownHostsPath();
    if (r.protocol == TUploadProtocol::Ftps)
        r.trustedFingerprints = certificatePins_.For(r.host, r.port);
    return r;
}

QByteArray TwndFtpUpload::ScriptForClient(const TFtpParameters& parameters)
{
    scriptFile_.Write(BuildFtpScript(parameters));
    const std::string script = scriptFile_.OpenForClient().ReadAll();
    return QByteArray::fromStdString(script);
}

void TwndFtpUpload::btnOk1Click()
{
    if (Protocol() == TUploadChoice::ConsoleFtp)
        StartConsoleClient();
    else
        StartUpload();
}

void TwndFtpUpload::StartConsoleClient()
{
    DeleteScriptFile();
    const QString client = QString::fromLocal8Bit(FindFtpClient(qgetenv("PATH").toStdString()));
    if (client.isEmpty()) {
        dialogs_.Error(this, res::kFtpClientMissing);
        return;
    }
    QByteArray script;
    try {
        script = ScriptForClient(Parameters());
    } catch (const EFtpScript&) {
        dialogs_.Error(this, res::kFtpLineBreak);
        return;
    }
    QStringList arguments;
    for (const std::string& argument : FtpClientArguments())
        arguments << QString::fromStdString(argument);
    console_ = new TwndFtpConsole(this);
    connect(console_, &TwndFtpConsole::Finished, this,
            [this](bool, const QString& text) { emit UploadFinished(text); });
    console_->SetTimeLimit(seLimitCzasu1->value());
    console_->show();
    console_->Start(client, arguments, script);
    btnAnuluj1->setFocus();
}

void TwndFtpUpload::StartUpload()
{
    running_ = Request();
    runner_ = std::make_unique<TUploadRunner>(
        running_, [this](bool certificate, const TPeerIdentity& identity) { return AskTrust(certificate, identity); });
    runner_->UsePasswordStore(cbZapamietajHaslo1->isChecked());
    connect(runner_.get(), &TUploadRunner::Progress, this, &TwndFtpUpload::UploadProgress);
    connect(runner_.get(), &TUploadRunner::Finished, this, &TwndFtpUpload::UploadEnded);
    pbPostep1->setValue(0);
    lblStan1->setText(res::kUploadRunning.arg(QString::fromLatin1(ProtocolName(running_.protocol))));
    btnOk1->setEnabled(false);
    btnPrzerwij1->setEnabled(true);
    cbProtokol1->setEnabled(false);
    runner_->Start();
    btnPrzerwij1->setFocus();
}

TTrustAnswer TwndFtpUpload::AskTrust(bool certificate, const TPeerIdentity& identity)
{
    if (certificate) {
        const QString text = res::kCertificateQuestion.arg(ServerName(identity), Text(identity.fingerprint),
                                                           Text(identity.details));
        switch (dialogs_.Question(this, text, true)) {
        case TAnswer::Yes:
            return TTrustAnswer::AcceptAndRemember;
        case TAnswer::No:
            return TTrustAnswer::AcceptOnce;
        default:
            return TTrustAnswer::Reject;
        }
    }
    const QString text = res::kHostKeyQuestion.arg(ServerName(identity), Text(identity.keyType),
                                                   Text(identity.fingerprint), Text(running_.knownHostsPath));
    return dialogs_.Question(this, text, false) == TAnswer::Yes ? TTrustAnswer::AcceptAndRemember
                                                                : TTrustAnswer::Reject;
}

void TwndFtpUpload::UploadProgress(qint64 sent, qint64 total)
{
    pbPostep1->setValue(total > 0 ? int(sent * 1000 / total) : 0);
}

void TwndFtpUpload::UploadEnded(const TUploadResult& result, const QString& note)
{
    // The runner's thread has ended; the runner itself goes once this
    // signal is done with it.
    runner_.release()->deleteLater();
    btnPrzerwij1->setEnabled(false);
    cbProtokol1->setEnabled(true);
    edFtpServer1Change();
    if (result.Succeeded())
        pbPostep1->setValue(pbPostep1->maximum());
    KeepAcceptedCertificates(result);
    const QString text = UploadOutcomeText(result);
    lblStan1->setText(note.isEmpty() ? text : text + QLatin1Char('\n') + note);
    if (result.error == TUploadError::HostKeyChanged)
        dialogs_.Warning(this, res::kHostKeyChangedWarning.arg(ServerName(result.identity),
                                                               Text(result.identity.keyType),
                                                               Text(result.identity.fingerprint),
                                                               Text(running_.knownHostsPath)));
    emit UploadFinished(text);
}

void TwndFtpUpload::KeepAcceptedCertificates(const TUploadResult& result)
{
    for (const TPeerIdentity& identity : result.acceptedOnce)
        if (identity.keyType == "certificate")
            certificatePins_.PinForSession(identity.host, identity.port, identity.fingerprint);
    for (const TPeerIdentity& identity : result.acceptedForGood) {
        if (identity.keyType != "certificate")
            continue;
        try {
            certificatePins_.Remember(identity.host, identity.port, identity.fingerprint);
        } catch (const std::exception& error) {
            dialogs_.Error(this, res::kTrustNotStored.arg(QString::fromLocal8Bit(error.what())));
        }
    }
}

QString TwndFtpUpload::UploadOutcomeText(const TUploadResult& result) const
{
    const QString protocol = QString::fromLatin1(ProtocolName(running_.protocol));
    if (result.Succeeded())
        return res::kUploadSent.arg(protocol).arg(result.bytesSent);
    return res::kUploadFailed.arg(protocol, FailureReason(result.error, running_.timeLimitSeconds),
                                  Text(result.detail));
}

bool TwndFtpUpload::IsUploading() const { return runner_ && runner_->IsRunning(); }

void TwndFtpUpload::btnPrzerwij1Click()
{
    if (runner_)
        runner_->Cancel();
}

void TwndFtpUpload::btnAnuluj1Click() { close(); }

TwndFtpConsole* TwndFtpUpload::Console() const { return console_; }

void TwndFtpUpload::DeleteScriptFile() { scriptFile_.DeleteScriptFile(); }

}  // namespace ostrel
