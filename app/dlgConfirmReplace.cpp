// The question before each replacement.

#include "app/dlgConfirmReplace.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/GlobalRes.h"

namespace ostrel {

namespace {

QPushButton* AddResultButton(QDialog& dialog, QHBoxLayout* row, const char* name, const QString& caption,
                             int result)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, result] { dialog.done(result); });
    row->addWidget(button);
    return button;
}

}  // namespace

TConfirmReplaceDialog::TConfirmReplaceDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ConfirmReplaceDialog"));
    setWindowTitle(QStringLiteral("Potwierdź zamianę"));

    imgIcon = new QLabel;
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    imgIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(side, side));
    lblConfirmation = new QLabel;
    lblConfirmation->setObjectName(QStringLiteral("lblConfirmation"));
    lblConfirmation->setWordWrap(true);
    lblConfirmation->setTextFormat(Qt::PlainText);
    auto* question = new QHBoxLayout;
    question->addWidget(imgIcon, 0, Qt::AlignTop);
    question->addWidget(lblConfirmation, 1);

    auto* row = new QHBoxLayout;
    btnReplace = AddResultButton(*this, row, "btnReplace", QStringLiteral("&Tak"), Yes);
    btnSkip = AddResultButton(*this, row, "btnSkip", QStringLiteral("&Nie"), No);
    btnCancel = AddResultButton(*this, row, "btnCancel", QStringLiteral("Anuluj"), Cancel);
    btnReplaceAll = AddResultButton(*this, row, "btnReplaceAll", QStringLiteral("&Wszystkie"), All);
    btnReplace->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(question);
    layout->addLayout(row);
    setSizeGripEnabled(false);
    SetReplacedText({});
}

void TConfirmReplaceDialog::SetReplacedText(const QString& text)
{
    lblConfirmation->setText(res::kConfirmReplace.arg(text));
}

QString TConfirmReplaceDialog::Message() const { return lblConfirmation->text(); }

void TConfirmReplaceDialog::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers others = event->modifiers() & ~(Qt::AltModifier | Qt::KeypadModifier);
    if (others == Qt::NoModifier) {
        for (QPushButton* button : {btnReplace, btnSkip, btnReplaceAll}) {
            const QKeySequence letter = QKeySequence::mnemonic(button->text());
            if (!letter.isEmpty() && letter[0].key() == event->key()) {
                button->click();
                return;
            }
        }
    }
    QDialog::keyPressEvent(event);
}

TOstReplaceAction ReplaceActionOf(int result)
{
    switch (result) {
    case TConfirmReplaceDialog::Yes:
        return raReplace;
    case TConfirmReplaceDialog::No:
        return raSkip;
    case TConfirmReplaceDialog::All:
        return raReplaceAll;
    default:
        return raCancel;
    }
}

}  // namespace ostrel
