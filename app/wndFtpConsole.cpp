#include "app/wndFtpConsole.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <csignal>

#include "app/GlobalRes.h"

namespace ostrel {

namespace {

QString FailureReason(TFtpOutcome outcome)
{
    switch (outcome) {
    case TFtpOutcome::NotConnected:
        return res::kFtpNotConnected;
    case TFtpOutcome::LoginRefused:
        return res::kFtpLoginRefused;
    case TFtpOutcome::RemoteRefused:
        return res::kFtpRemoteRefused;
    case TFtpOutcome::LocalFailure:
        return res::kFtpLocalFailure;
    default:
        return res::kFtpNoConfirmation;
    }
}

}  // namespace

QString FtpOutcomeText(const TFtpTranscript& transcript)
{
    const QString line = QString::fromLocal8Bit(transcript.DecidingLine());
    if (transcript.Succeeded())
        return res::kFtpSent.arg(line);
    if (line.isEmpty())
        return res::kFtpFailed.arg(FailureReason(transcript.Outcome()));
    return res::kFtpFailedWith.arg(FailureReason(transcript.Outcome()), line);
}

TwndFtpConsole::TwndFtpConsole(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("wndFtpConsole"));
    setWindowTitle(res::kFtpConsoleCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(600, 360);

    memDialog1 = new QPlainTextEdit(this);
    memDialog1->setObjectName(QStringLiteral("memDialog1"));
    memDialog1->setReadOnly(true);
    memDialog1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edPolecenie1 = new QLineEdit(this);
    edPolecenie1->setObjectName(QStringLiteral("edPolecenie1"));
    auto* label = new QLabel(res::kFtpConsoleInput, this);
    label->setBuddy(edPolecenie1);
    btnZamknij1 = new QPushButton(QStringLiteral("Z&amknij"), this);
    btnZamknij1->setObjectName(QStringLiteral("btnZamknij1"));
    btnZamknij1->setAutoDefault(false);
    connect(edPolecenie1, &QLineEdit::returnPressed, this, &TwndFtpConsole::SendLine);
    connect(btnZamknij1, &QPushButton::clicked, this, &QDialog::close);

    auto* input = new QHBoxLayout;
    input->addWidget(label);
    input->addWidget(edPolecenie1, 1);
    input->addWidget(btnZamknij1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memDialog1, 1);
    layout->addLayout(input);

    process_ = new QProcess(this);
    process_->setProcessChannelMode(QProcess::MergedChannels);
    // The client gets the default of the signal the program ignores.
    process_->setChildProcessModifier([] { ::signal(SIGXFSZ, SIG_DFL); });
    connect(process_, &QProcess::readyReadStandardOutput, this, &TwndFtpConsole::ReadOutput);
    connect(process_, &QProcess::finished, this, &TwndFtpConsole::ClientFinished);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            ClientFailed();
    });
    limit_ = new QTimer(this);
    limit_->setSingleShot(true);
    connect(limit_, &QTimer::timeout, this, &TwndFtpConsole::TimeLimitReached);
    connect(process_, &QProcess::started, this, [this] {
        process_->write(script_);
        script_.fill('\0');  // it holds the password
        script_.clear();
    });
}

// A client still running ends with its console; QProcess would do so as
// well, but only after the signals that report it are gone.
TwndFtpConsole::~TwndFtpConsole()
{
    if (IsRunning()) {
        disconnect(process_, nullptr, this, nullptr);
        process_->kill();
        process_->waitForFinished();
    }
}

void TwndFtpConsole::Start(const QString& client, const QStringList& arguments, const QByteArray& script)
{
    script_ = script;
    Append(client + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) + QLatin1Char('\n'));
    limit_->start(std::chrono::seconds(timeLimit_));
    process_->start(client, arguments);
}

bool TwndFtpConsole::IsRunning() const { return process_->state() != QProcess::NotRunning; }

void TwndFtpConsole::ReadOutput()
{
    const QByteArray output = process_->readAllStandardOutput();
    transcript_.Feed(std::string_view(output.constData(), static_cast<size_t>(output.size())));
    Append(decoder_.decode(output));
}

// The client does not echo what it reads, so the console shows it.
void TwndFtpConsole::SendLine()
{
    if (!IsRunning())
        return;
    const QString line = edPolecenie1->text();
    Append(QStringLiteral("> ") + line + QLatin1Char('\n'));
    process_->write(line.toLocal8Bit() + '\n');
    edPolecenie1->clear();
}

void TwndFtpConsole::ClientFinished()
{
    limit_->stop();
    if (ended_)
        return;
    ended_ = true;
    ReadOutput();
    transcript_.Finish();
    edPolecenie1->setEnabled(false);
    const QString text = FtpOutcomeText(transcript_);
    Append(QLatin1Char('\n') + text + QLatin1Char('\n'));
    emit Finished(transcript_.Succeeded(), text);
}

void TwndFtpConsole::TimeLimitReached()
{
    if (ended_ || !IsRunning() || transcript_.Outcome() != TFtpOutcome::Pending)
        return;
    ended_ = true;
    process_->kill();
    process_->waitForFinished();
    edPolecenie1->setEnabled(false);
    const QString text = res::kFtpFailed.arg(res::kUploadTimedOut.arg(timeLimit_));
    Append(QLatin1Char('\n') + text + QLatin1Char('\n'));
    emit Finished(false, text);
}

void TwndFtpConsole::ClientFailed()
{
    if (ended_)
        return;
    ended_ = true;
    edPolecenie1->setEnabled(false);
    Append(res::kFtpClientNotStarted + QLatin1Char('\n'));
    emit Finished(false, res::kFtpClientNotStarted);
}

void TwndFtpConsole::Append(const QString& text)
{
    memDialog1->moveCursor(QTextCursor::End);
    memDialog1->insertPlainText(text);
    memDialog1->moveCursor(QTextCursor::End);
}

// Closing the console ends its client, as closing a terminal would.
void TwndFtpConsole::closeEvent(QCloseEvent* event)
{
    if (IsRunning()) {
        process_->kill();
        process_->waitForFinished();
    }
    QDialog::closeEvent(event);
}

}  // namespace ostrel
