#pragma once
// Short-lived worker threads started per notification. The service's thread starts them and
// never waits for them; their owner joins whatever is still running when it goes away, so no
// worker outlives the state it touches. Finished workers are reaped at the next start.

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace kovrel::device {

class WorkerThreads {
public:
    WorkerThreads() = default;
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;
    ~WorkerThreads() { JoinAll(); }

    void Start(std::function<void()> work);
    void JoinAll();

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::mutex mutex_;
    std::list<Worker> workers_;
};

} // namespace kovrel::device
