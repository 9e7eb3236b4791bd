#include "device/worker_threads.h"

#include <atomic>

namespace kovrel::device {

void WorkerThreads::Start(std::function<void()> work) {
    std::list<Worker> finished;
    {
        std::lock_guard lock(mutex_);
        for (auto it = workers_.begin(); it != workers_.end();) {
            auto next = std::next(it);
            if (it->done->load()) {
                finished.splice(finished.end(), workers_, it);
            }
            it = next;
        }
        auto done = std::make_shared<std::atomic<bool>>(false);
        workers_.push_back(Worker{std::thread([work = std::move(work), done] {
                                      work();
                                      done->store(true);
                                  }),
                                  done});
    }
    for (auto& worker : finished) {
        worker.thread.join();
    }
}

void WorkerThreads::JoinAll() {
    std::list<Worker> all;
    {
        std::lock_guard lock(mutex_);
        all.swap(workers_);
    }
    for (auto& worker : all) {
        worker.thread.join();
    }
}

} // namespace kovrel::device
