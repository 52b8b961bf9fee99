#include "app/about.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "app/GlobalRes.h"

namespace ostrel {

namespace {

QLabel* IconLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    return label;
}

}  // namespace

TwndOprogramie::TwndOprogramie(QWidget* parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("TwndOprogramie"));
    setWindowTitle(QStringLiteral("O programie..."));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout();
    lblTytul1_ = new QLabel(res::kMainCaption, this);
    lblTytul1_->setObjectName(QStringLiteral("lblTytul1"));
    QFont big = lblTytul1_->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    lblTytul1_->setFont(big);
    lblTytul1_->setAlignment(Qt::AlignCenter);
    lblTytul1_->installEventFilter(this);
    row->addWidget(IconLabel(this));
    row->addWidget(lblTytul1_, 1);
    row->addWidget(IconLabel(this));
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString TwndOprogramie::TitleText() const { return lblTytul1_->text(); }

bool TwndOprogramie::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblTytul1_ && event->type() == QEvent::MouseButtonDblClick)
        lblTytul1_->setText(res::kReleaseDate);
    return QDialog::eventFilter(watched, event);
}

}  // namespace ostrel
