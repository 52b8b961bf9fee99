#include "app/UploadRunner.h"

#include <chrono>
#include <future>
#include <memory>

#include "app/GlobalRes.h"
#include "platform/upload/CurlUpload.h"
#include "platform/upload/PasswordStore.h"

namespace ostrel {

class TUploadRunner::TObserver final : public TUploadObserver {
public:
    explicit TObserver(TUploadRunner& runner) : runner_(runner) {}

    // Only a change of a tenth of a percent reaches the window, so a fast
    // transfer does not flood its event queue.
    void Progress(uint64_t sent, uint64_t total) override
    {
        const uint64_t step = total / 1000 + 1;
        if (sent / step == lastStep_ && sent != total)
            return;
        lastStep_ = sent / step;
        QMetaObject::invokeMethod(
            &runner_, [runner = &runner_, sent, total] { emit runner->Progress(qint64(sent), qint64(total)); },
            Qt::QueuedConnection);
    }
    TTrustAnswer TrustHostKey(const TPeerIdentity& key) override { return runner_.Ask(false, key); }
    TTrustAnswer TrustCertificate(const TPeerIdentity& certificate) override { return runner_.Ask(true, certificate); }
    bool Cancelled() const override { return runner_.cancelled_; }

private:
    TUploadRunner& runner_;
    uint64_t lastStep_ = ~uint64_t(0);
};

TUploadRunner::TUploadRunner(TUploadRequest request, TAsk ask, QObject* parent)
    : QObject(parent), request_(std::move(request)), ask_(std::move(ask))
{
}

TUploadRunner::~TUploadRunner()
{
    cancelled_ = true;
    if (thread_.joinable())
        thread_.join();
}

void TUploadRunner::Start()
{
    running_ = true;
    thread_ = std::thread([this] { Work(); });
}

namespace {

TPasswordKey KeyOf(const TUploadRequest& r)
{
    return {ProtocolName(r.protocol), r.host, r.port > 0 ? r.port : DefaultPort(r.protocol), r.user};
}

}  // namespace

void TUploadRunner::Work()
{
    std::string storeError;
    const bool lookedUp = usePasswordStore_ && request_.password.empty();
    if (lookedUp)
        request_.password = TPasswordStore::Lookup(KeyOf(request_), storeError).value_or(std::string());
    TObserver observer(*this);
    const TUploadResult result = TCurlUpload(request_, observer).Run();
    if (result.Succeeded() && usePasswordStore_ && !lookedUp && !request_.password.empty())
        TPasswordStore::Save(KeyOf(request_), request_.password, storeError);
    const QString note = storeError.empty() ? QString() : res::kPasswordNotStored.arg(QString::fromStdString(storeError));
    QMetaObject::invokeMethod(
        this,
        [this, result, note] {
            if (thread_.joinable())
                thread_.join();
            running_ = false;
            emit Finished(result, note);
        },
        Qt::QueuedConnection);
}

// The question waits on the window's thread; the upload waits for it here,
// but gives up when cancelled, or when the runner goes and takes the
// question with it.
TTrustAnswer TUploadRunner::Ask(bool certificate, const TPeerIdentity& identity)
{
    auto promise = std::make_shared<std::promise<TTrustAnswer>>();
    std::future<TTrustAnswer> answer = promise->get_future();
    QMetaObject::invokeMethod(
        this, [this, promise, certificate, identity] { promise->set_value(ask_(certificate, identity)); },
        Qt::QueuedConnection);
    while (answer.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready)
        if (cancelled_)
            return TTrustAnswer::Reject;
    try {
        return answer.get();
    } catch (const std::future_error&) {
        return TTrustAnswer::Reject;
    }
}

}  // namespace ostrel
