#pragma once
// Scoped states of the user interface: the hourglass cursor and frozen
// repainting. Both are undone on every way out of the scope.

#include <QApplication>
#include <QCursor>
#include <QWidget>

namespace ostrel {

class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

// Nests: only the outermost guard turns repainting back on.
class TUpdatesFrozen {
public:
    explicit TUpdatesFrozen(QWidget* widget) : widget_(widget), wasEnabled_(widget->updatesEnabled())
    {
        widget_->setUpdatesEnabled(false);
    }
    ~TUpdatesFrozen()
    {
        if (wasEnabled_)
            widget_->setUpdatesEnabled(true);
    }
    TUpdatesFrozen(const TUpdatesFrozen&) = delete;
    TUpdatesFrozen& operator=(const TUpdatesFrozen&) = delete;

private:
    QWidget* widget_;
    bool wasEnabled_;
};

}  // namespace ostrel
