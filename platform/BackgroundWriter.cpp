#include "platform/BackgroundWriter.h"

#include <unistd.h>

#include <algorithm>

namespace ostrel {

TBackgroundWriter::TBackgroundWriter() : thread_([this] { Run(); }) {}

TBackgroundWriter::~TBackgroundWriter()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void TBackgroundWriter::Enqueue(TJob job)
{
    {
        const std::lock_guard lock(mutex_);
        if (!job.dispose)
            std::erase_if(jobs_, [&](const TJob& waiting) { return !waiting.dispose && waiting.path == job.path; });
        jobs_.push_back(std::move(job));
    }
    wake_.notify_all();
}

void TBackgroundWriter::Write(const std::string& path, std::vector<std::string> blocks,
                              const TSafeWriteOptions& options)
{
    Enqueue(TJob{path, false, false, std::move(blocks), options});
}

void TBackgroundWriter::Remove(const std::string& path) { Enqueue(TJob{path, true, false, {}, {}}); }

void TBackgroundWriter::Dispose(std::vector<std::string> blocks)
{
    if (!blocks.empty())
        Enqueue(TJob{{}, false, true, std::move(blocks), {}});
}

void TBackgroundWriter::Drain()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

int TBackgroundWriter::Failures() const
{
    const std::lock_guard lock(mutex_);
    return failures_;
}

void TBackgroundWriter::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) {
            if (stopping_)
                return;
            continue;
        }
        TJob job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        bool failed = false;
        if (job.remove) {
            ::unlink(job.path.c_str());
        } else if (!job.dispose) {
            try {
                WriteFileSafely(
                    job.path,
                    [&job](const TBytesSink& put) {
                        for (const std::string& block : job.blocks)
                            put(block);
                    },
                    job.options);
            } catch (const std::exception&) {
                failed = true;
            }
        }
        job = TJob{};  // the memory goes before the lock is taken again
        lock.lock();
        busy_ = false;
        failures_ += failed ? 1 : 0;
        if (jobs_.empty())
            idle_.notify_all();
    }
}

}  // namespace ostrel
