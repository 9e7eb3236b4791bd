#include "app/named_events.h"

#include <cstdio>
#include <fcntl.h>

namespace kovrel::app {

NamedEvents::NamedEvents(std::string prefix) {
    events_.reserve(kNamedEventCount);
    for (int number = 1; number <= kNamedEventCount; ++number) {
        Event event;
        event.semaphoreName = "/" + Name(prefix, number);
        event.semaphore = ::sem_open(event.semaphoreName.c_str(), O_CREAT, 0600, 0);
        events_.push_back(std::move(event));
    }
}

NamedEvents::~NamedEvents() {
    Close();
}

void NamedEvents::Close() {
    for (Event& event : events_) {
        if (event.semaphore != SEM_FAILED) {
            ::sem_close(event.semaphore);
            ::sem_unlink(event.semaphoreName.c_str());
        }
    }
    events_.clear();
}

std::string NamedEvents::Name(const std::string& prefix, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", number);
    return prefix + "Main_" + digits;
}

int NamedEvents::Created() const {
    int created = 0;
    for (const Event& event : events_) {
        created += event.semaphore != SEM_FAILED ? 1 : 0;
    }
    return created;
}

} // namespace kovrel::app
