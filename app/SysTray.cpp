#include "app/SysTray.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace ostrel {

TSysTray::TSysTray(QObject* parent) : QObject(parent), IsTrayAvailable(&QSystemTrayIcon::isSystemTrayAvailable) {}

TSysTray::~TSysTray()
{
    if (trayIcon_)
        trayIcon_->hide();
}

// Made only once it is needed, so that a desktop without a notification
// area never sees an attempt to show one.
QSystemTrayIcon& TSysTray::TrayIcon()
{
    if (!trayIcon_) {
        trayIcon_ = new QSystemTrayIcon(ShownIcon(), this);
        trayIcon_->setToolTip(hint_);
        trayIcon_->setContextMenu(popupMenu_);
        connect(trayIcon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            const std::function<void()>* handler = nullptr;
            switch (reason) {
            case QSystemTrayIcon::Trigger: handler = &OnClick; break;
            case QSystemTrayIcon::DoubleClick: handler = &OnDblClick; break;
            case QSystemTrayIcon::MiddleClick: handler = &OnMiddleClick; break;
            default: break;
            }
            if (handler && *handler)
                (*handler)();
        });
    }
    return *trayIcon_;
}

QIcon TSysTray::ShownIcon() const { return icon_.isNull() ? QApplication::windowIcon() : icon_; }

void TSysTray::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    if (!Supported())
        return;
    if (visible)
        TrayIcon().show();
    else if (trayIcon_)
        trayIcon_->hide();
}

void TSysTray::SetPopupMenu(QMenu* menu)
{
    popupMenu_ = menu;
    if (trayIcon_)
        trayIcon_->setContextMenu(menu);
}

void TSysTray::SetIcon(const QIcon& icon)
{
    icon_ = icon;
    if (trayIcon_)
        trayIcon_->setIcon(ShownIcon());
}

void TSysTray::SetHint(const QString& hint)
{
    const QString cut = hint.left(kMaxHintLength);
    if (cut == hint_)
        return;
    hint_ = cut;
    if (trayIcon_)
        trayIcon_->setToolTip(hint_);
}

}  // namespace ostrel
