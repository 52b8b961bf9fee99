#pragma once
// The About window: the program's title and icon; a double click on the
// title shows the release date instead.

#include <QDialog>

class QLabel;

namespace ostrel {

class TwndOprogramie : public QDialog {
    Q_OBJECT

public:
    explicit TwndOprogramie(QWidget* parent = nullptr);
    QString TitleText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* lblTytul1_;
};

}  // namespace ostrel
