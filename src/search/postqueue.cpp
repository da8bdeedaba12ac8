// A thread-safe queue of work for one owner thread.
#include "search/postqueue.h"

void TPostQueue::Post(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
    }
    posted_.notify_all();
}

int TPostQueue::RunPending() {
    std::deque<std::function<void()>> work;
    {
        std::lock_guard lock(mutex_);
        work.swap(queue_);
    }
    for (auto &item : work)
        item();
    return static_cast<int>(work.size());
}

int TPostQueue::WaitAndRun(std::chrono::milliseconds timeout) {
    {
        std::unique_lock lock(mutex_);
        posted_.wait_for(lock, timeout, [this] { return !queue_.empty(); });
    }
    return RunPending();
}
