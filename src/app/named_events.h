#pragma once
// The 208 named events "Kovrel_Event_Main_01" to "Kovrel_Event_Main_208", which exist while the
// main window lives so that other programs can open them by name. The program itself never
// signals or waits on them. Here they are POSIX named semaphores "/" + name, value 0, mode 0600;
// a failure to create one is ignored. Closing (or destruction) closes and unlinks them.

#include <semaphore.h>
#include <string>
#include <vector>

namespace kovrel::app {

inline constexpr int kNamedEventCount = 208;
inline constexpr const char* kNamedEventPrefix = "Kovrel_Event_";

class NamedEvents {
public:
    // Creates the events (an existing one, left by a crashed run, is opened and taken over).
    // `prefix` is for tests, so they stay clear of a running program's events.
    explicit NamedEvents(std::string prefix = kNamedEventPrefix);
    NamedEvents(const NamedEvents&) = delete;
    NamedEvents& operator=(const NamedEvents&) = delete;
    ~NamedEvents();

    void Close();

    // The name of event `number` (1 to 208): prefix + "Main_" + at least two digits.
    static std::string Name(const std::string& prefix, int number);
    // How many were created.
    int Created() const;

private:
    struct Event {
        std::string semaphoreName; // "/" + name
        sem_t* semaphore = SEM_FAILED;
    };
    std::vector<Event> events_;
};

} // namespace kovrel::app
