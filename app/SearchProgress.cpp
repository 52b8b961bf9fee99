#include "app/SearchProgress.h"

#include <QCoreApplication>

#include "app/GlobalRes.h"

namespace ostrel {

namespace {

// Events are handled this often while the search runs.
constexpr int kEventIntervalMs = 50;

}  // namespace

TSearchProgress::TSearchProgress(QWidget* window, TOstEdit& editor, TOstRegex& regex, const QString& label)
    : window_(window), editor_(editor), regex_(regex), label_(label)
{
    clock_.start();
    sinceEvents_.start();
    editor_.OnSearchProgress = [this](int done, int total) { return Step(done, total); };
    regex_.SetInterruptCheck([this] { return Interrupted(); });
}

TSearchProgress::~TSearchProgress()
{
    editor_.OnSearchProgress = nullptr;
    regex_.SetInterruptCheck(nullptr);
    delete dialog_.data();
}

void TSearchProgress::Show()
{
    dialog_ = new QProgressDialog(label_, res::kSearchCancel, 0, 1000, window_);
    dialog_->setObjectName(QStringLiteral("dlgPostepWyszukiwania1"));
    dialog_->setWindowTitle(res::kSearchProgressTitle);
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    QObject::connect(dialog_, &QProgressDialog::canceled, [this] { cancelled_ = true; });
    dialog_->show();
}

void TSearchProgress::HandleEvents()
{
    sinceEvents_.restart();
    QCoreApplication::processEvents(QEventLoop::AllEvents, kEventIntervalMs / 2);
}

bool TSearchProgress::Step(int done, int total)
{
    if (cancelled_)
        return false;
    if (sinceEvents_.elapsed() < kEventIntervalMs || clock_.elapsed() < kDelayMs)
        return true;
    if (!dialog_)
        Show();
    if (dialog_ && total > 0)
        dialog_->setValue(static_cast<int>(1000LL * done / total));
    HandleEvents();
    return !cancelled_;
}

// A single long line: the regex engine asks now and then.
bool TSearchProgress::Interrupted()
{
    if (cancelled_)
        return true;
    if (clock_.elapsed() < kDelayMs)
        return false;
    if (!dialog_)
        Show();
    HandleEvents();
    return cancelled_;
}

}  // namespace ostrel
