#pragma once
// The list of documents a crash left unsaved, shown at the next start: each
// one checked, to be restored unless the user unchecks it.

#include <QDialog>
#include <QStringList>
#include <vector>

class QListWidget;

namespace ostrel {

class TdlgRecovery : public QDialog {
    Q_OBJECT

public:
    TdlgRecovery(QWidget* owner, const QStringList& items);
    // Which items stay checked.
    std::vector<bool> Chosen() const;

private:
    QListWidget* lbDokumenty1;
};

}  // namespace ostrel
