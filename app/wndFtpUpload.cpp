#include "app/wndFtpUpload.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/AppErrors.h"
#include "app/Dialogs.h"
#include "app/GlobalRes.h"
#include "app/wndFtpConsole.h"

namespace ostrel {

namespace {

QLineEdit* NewField(QWidget* parent, const char* name, const QString& text = {})
{
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

// The server and the client speak UTF-8 names on this system.
std::string Utf8(const QLineEdit* field) { return field->text().toUtf8().toStdString(); }

}  // namespace

TwndFtpUpload::TwndFtpUpload(TDialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Tool), dialogs_(dialogs)
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
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
}

QWidget* TwndFtpUpload::NewParametersGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Parametry FTP"), this);
    group->setObjectName(QStringLiteral("gbParametryFtp1"));
    edFtpServer1 = NewField(group, "edFtpServer1");
    edUser1 = NewField(group, "edUser1");
    edHaslo1 = NewField(group, "edHaslo1");
    edHaslo1->setEchoMode(QLineEdit::Password);
    edKatalog1 = NewField(group, "edKatalog1", QStringLiteral("/"));
    edNazwaPliku1 = NewField(group, "edNazwaPliku1");
    for (QLineEdit* field : {edFtpServer1, edUser1, edNazwaPliku1})
        connect(field, &QLineEdit::textChanged, this, &TwndFtpUpload::edFtpServer1Change);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("Adres &serwera, ftp://"), edFtpServer1);
    form->addRow(QStringLiteral("&Użytkownik:"), edUser1);
    form->addRow(QStringLiteral("&Hasło:"), edHaslo1);
    form->addRow(QStringLiteral("&Zdalny katalog:"), edKatalog1);
    form->addRow(QStringLiteral("&Docelowa nazwa pliku:"), edNazwaPliku1);
    return group;
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
                       !edNazwaPliku1->text().isEmpty());
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

QByteArray TwndFtpUpload::ScriptForClient(const TFtpParameters& parameters)
{
    scriptFile_.Write(BuildFtpScript(parameters));
    const std::string script = scriptFile_.OpenForClient().ReadAll();
    return QByteArray::fromStdString(script);
}

void TwndFtpUpload::btnOk1Click()
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
    console_->show();
    console_->Start(client, arguments, script);
    btnAnuluj1->setFocus();
}

void TwndFtpUpload::btnAnuluj1Click() { close(); }

TwndFtpConsole* TwndFtpUpload::Console() const { return console_; }

void TwndFtpUpload::DeleteScriptFile() { scriptFile_.DeleteScriptFile(); }

}  // namespace ostrel
