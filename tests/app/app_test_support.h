#pragma once
// Helpers of the application shell's tests: one QApplication for the test program (offscreen),
// running the event loop until something happened, and a private runtime folder per test.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <filesystem>
#include <functional>
#include <future>
#include <optional>
#include <string>

namespace kovrel::app::test {

// Runs the event loop until `done` holds; false when it did not within a generous limit (a hang
// guard: it waits for something to happen and measures nothing).
inline bool WaitUntil(const std::function<bool()>& done) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > 20000) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Runs `work` on a thread of its own while the interface thread keeps its event loop going,
// and returns its result.
template <typename Work>
auto OnWorker(Work work) -> decltype(work()) {
    auto result = std::async(std::launch::async, std::move(work));
    WaitUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    return result.get();
}

// A fresh folder (mode 0700) that XDG_RUNTIME_DIR points at while this object lives, so that the
// instance lock and socket of a test never meet a running program's. Create it before any thread
// starts.
class TemporaryRuntimeFolder {
public:
    TemporaryRuntimeFolder();
    ~TemporaryRuntimeFolder();
    TemporaryRuntimeFolder(const TemporaryRuntimeFolder&) = delete;
    TemporaryRuntimeFolder& operator=(const TemporaryRuntimeFolder&) = delete;

    const std::filesystem::path& Path() const { return root_; }

private:
    std::filesystem::path root_;
    std::optional<std::string> previous_;
};

} // namespace kovrel::app::test
