#pragma once

#include "platform/serial/EventDispatcher.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace lcdiag::test {

// The test's user-interface thread: jobs queue up until the test runs them.
class TQueueDispatcher : public TEventDispatcher {
public:
    void Post(std::function<void()> job) override {
        {
            std::lock_guard lock(mutex_);
            jobs_.push_back(std::move(job));
        }
        posted_.notify_all();
    }

    // Runs jobs as they come until the condition holds; false when it still does not after
    // the limit, which is generous: it only ends a test that has failed.
    bool RunUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            std::function<void()> job;
            {
                std::unique_lock lock(mutex_);
                if (!posted_.wait_until(lock, end, [this] { return !jobs_.empty(); })) {
                    return done();
                }
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            job();
        }
        return true;
    }

    // Runs the jobs queued now.
    void RunPending() {
        RunUntil([] { return false; }, std::chrono::milliseconds(0));
    }

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> jobs_;
};

} // namespace lcdiag::test
