#include "app/dlgRecovery.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/GlobalRes.h"

namespace ostrel {

TdlgRecovery::TdlgRecovery(QWidget* owner, const QStringList& items) : QDialog(owner)
{
    setObjectName(QStringLiteral("dlgRecovery"));
    setWindowTitle(res::kMessageCaption);
    auto* label = new QLabel(res::kRecoveryPrompt, this);
    label->setWordWrap(true);
    lbDokumenty1 = new QListWidget(this);
    lbDokumenty1->setObjectName(QStringLiteral("lbDokumenty1"));
    for (const QString& text : items) {
        auto* item = new QListWidgetItem(text, lbDokumenty1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* restore = buttons->addButton(res::kRecoveryRestore, QDialogButtonBox::AcceptRole);
    restore->setObjectName(QStringLiteral("btnPrzywroc1"));
    restore->setDefault(true);
    QPushButton* later = buttons->addButton(res::kRecoveryLater, QDialogButtonBox::RejectRole);
    later->setObjectName(QStringLiteral("btnPozniej1"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(lbDokumenty1, 1);
    layout->addWidget(buttons);
    resize(520, 300);
}

std::vector<bool> TdlgRecovery::Chosen() const
{
    std::vector<bool> chosen;
    for (int i = 0; i < lbDokumenty1->count(); ++i)
        chosen.push_back(lbDokumenty1->item(i)->checkState() == Qt::Checked);
    return chosen;
}

}  // namespace ostrel
