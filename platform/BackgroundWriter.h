#pragma once
// Writes files on a thread of its own, through the safe writer, so that a
// large file never keeps the window from the keys typed meanwhile. Only the
// newest content waiting for a path is written; a removal drops what waits
// for its path and happens after what is already being written.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/SafeWrite.h"

namespace ostrel {

class TBackgroundWriter {
public:
    TBackgroundWriter();
    // Finishes what waits, then ends the thread.
    ~TBackgroundWriter();
    TBackgroundWriter(const TBackgroundWriter&) = delete;
    TBackgroundWriter& operator=(const TBackgroundWriter&) = delete;

    void Write(const std::string& path, std::vector<std::string> blocks, const TSafeWriteOptions& options = {});
    void Remove(const std::string& path);
    // Frees the blocks on the writer's thread: giving back a hundred
    // megabytes takes longer than a keystroke may wait.
    void Dispose(std::vector<std::string> blocks);
    // Waits until nothing waits or runs.
    void Drain();
    // How many writes failed so far (the file then keeps its older content).
    int Failures() const;

private:
    struct TJob {
        std::string path;
        bool remove = false;
        bool dispose = false;
        std::vector<std::string> blocks;
        TSafeWriteOptions options;
    };
    void Enqueue(TJob job);
    void Run();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<TJob> jobs_;
    bool busy_ = false;
    bool stopping_ = false;
    int failures_ = 0;
    std::thread thread_;  // last: it starts once everything above exists
};

}  // namespace ostrel
