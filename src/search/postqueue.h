// A thread-safe queue of work for one owner thread, for programs without an event loop.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

// Any thread posts work; the owner thread runs it in posting order by draining the queue. Fits
// TFindFile::SetPostToOwner where no event loop exists (command line, tests).
class TPostQueue {
public:
    void Post(std::function<void()> work);
    // Runs everything queued now; returns how many items ran.
    int RunPending();
    // Waits up to timeout for at least one item, then runs everything queued. Returns how many
    // items ran.
    int WaitAndRun(std::chrono::milliseconds timeout);

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> queue_;
};
