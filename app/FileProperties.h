#pragma once
// The properties of a document's file: path, size, dates, owner and
// permissions, in a small window of the program's own.

#include <QDialog>
#include <QFileDevice>

class QFormLayout;

namespace ostrel {

class TwndWlasciwosci : public QDialog {
    Q_OBJECT

public:
    TwndWlasciwosci(const QString& path, QWidget* parent = nullptr);
    // The shown rows as "label: value" lines, in order.
    QStringList Rows() const { return rows_; }

private:
    void AddRow(const QString& label, const QString& value);
    QFormLayout* form_ = nullptr;
    QStringList rows_;
};

// "rwxr-x---" style text of the permission bits.
QString PermissionText(QFileDevice::Permissions permissions);

}  // namespace ostrel
