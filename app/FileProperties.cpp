#include "app/FileProperties.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace ostrel {

namespace {

QString DateText(const QDateTime& when)
{
    return when.isValid() ? QLocale(QLocale::Polish).toString(when, QLocale::LongFormat) : QStringLiteral("-");
}

QString SizeText(qint64 bytes)
{
    return QLocale(QLocale::Polish).toString(bytes) + QStringLiteral(" B");
}

}  // namespace

QString PermissionText(QFileDevice::Permissions p)
{
    const QFileDevice::Permission bits[9] = {
        QFileDevice::ReadOwner, QFileDevice::WriteOwner, QFileDevice::ExeOwner,
        QFileDevice::ReadGroup, QFileDevice::WriteGroup, QFileDevice::ExeGroup,
        QFileDevice::ReadOther, QFileDevice::WriteOther, QFileDevice::ExeOther,
    };
    const char letters[] = "rwx";
    QString text;
    for (int i = 0; i < 9; ++i)
        text += p.testFlag(bits[i]) ? QChar::fromLatin1(letters[i % 3]) : u'-';
    return text;
}

TwndWlasciwosci::TwndWlasciwosci(const QString& path, QWidget* parent) : QDialog(parent)
{
    const QFileInfo info(path);
    setObjectName(QStringLiteral("TwndWlasciwosci"));
    setWindowTitle(QStringLiteral("Właściwości: ") + info.fileName());
    auto* layout = new QVBoxLayout(this);
    form_ = new QFormLayout();
    layout->addLayout(form_);

    AddRow(QStringLiteral("Nazwa"), info.fileName());
    AddRow(QStringLiteral("Folder"), info.absolutePath());
    AddRow(QStringLiteral("Rozmiar"), SizeText(info.size()));
    AddRow(QStringLiteral("Utworzony"), DateText(info.birthTime()));
    AddRow(QStringLiteral("Zmodyfikowany"), DateText(info.lastModified()));
    AddRow(QStringLiteral("Ostatnio otwarty"), DateText(info.lastRead()));
    AddRow(QStringLiteral("Właściciel"), info.owner() + u':' + info.group());
    AddRow(QStringLiteral("Uprawnienia"), PermissionText(info.permissions()));
    AddRow(QStringLiteral("Tylko do odczytu"), info.isWritable() ? QStringLiteral("nie") : QStringLiteral("tak"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
}

void TwndWlasciwosci::AddRow(const QString& label, const QString& value)
{
    rows_ << label + QStringLiteral(": ") + value;
    auto* field = new QLabel(value, this);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form_->addRow(label + u':', field);
}

}  // namespace ostrel
