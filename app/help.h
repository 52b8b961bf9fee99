#pragma once
// The help window: how to use the program, questions and answers, and the
// keyboard shortcuts.

#include <QDialog>

namespace ostrel {

class TwndPomoc : public QDialog {
    Q_OBJECT

public:
    explicit TwndPomoc(QWidget* parent = nullptr);
};

}  // namespace ostrel
