#pragma once
// The program's icon in the desktop's notification area, with its tooltip
// and popup menu; mouse actions on the icon are reported as events.
//
// Where the desktop has no notification area the icon is never shown; the
// owner asks Supported() and falls back to minimising.

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QMenu;
class QSystemTrayIcon;

namespace ostrel {

class TSysTray : public QObject {
    Q_OBJECT

public:
    // The longest tooltip the notification area has ever promised to show.
    static constexpr int kMaxHintLength = 63;

    explicit TSysTray(QObject* parent = nullptr);
    // The icon leaves the notification area with the component.
    ~TSysTray() override;

    // True while the icon is in the notification area; only a change reaches
    // the desktop, and nothing does where it has no notification area.
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    QMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu* menu);
    // An empty icon means the application's own.
    const QIcon& Icon() const { return icon_; }
    void SetIcon(const QIcon& icon);
    const QString& Hint() const { return hint_; }
    void SetHint(const QString& hint);

    // Whether the desktop shows icons in a notification area; replaceable
    // so that the tests can pretend either way.
    std::function<bool()> IsTrayAvailable;
    bool Supported() const { return IsTrayAvailable(); }

    // The desktop reports clicks, double clicks and middle clicks on the
    // icon; the right button opens the popup menu by itself.
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void()> OnMiddleClick;

private:
    QSystemTrayIcon& TrayIcon();
    QIcon ShownIcon() const;

    QPointer<QSystemTrayIcon> trayIcon_;  // made on first need, a child of this object
    QPointer<QMenu> popupMenu_;
    QIcon icon_;
    QString hint_;
    bool visible_ = false;
};

}  // namespace ostrel
