#include "registrations.h"

#include <algorithm>

namespace kovrel::ondrel {

std::uint32_t Registrations::Add(OndrelCallback callback, std::uint32_t code, bool listens) {
    std::lock_guard lock(mutex_);
    std::uint32_t handle = next_++;
    if (handle == 0) { // after 2^32 registrations; 0 means "no handle" to callers
        handle = next_++;
    }
    entries_.push_back(Entry{Listener{handle, callback, code}, listens});
    return handle;
}

bool Registrations::Remove(std::uint32_t handle) {
    if (handle == 0) {
        return false;
    }
    std::lock_guard lock(mutex_);
    return std::erase_if(entries_, [&](const Entry& e) { return e.listener.handle == handle; }) > 0;
}

void Registrations::Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

std::vector<Registrations::Listener> Registrations::ListenersOf(std::uint32_t code) const {
    std::lock_guard lock(mutex_);
    std::vector<Listener> out;
    for (const auto& e : entries_) {
        if (e.listens && e.listener.code == code) {
            out.push_back(e.listener);
        }
    }
    return out;
}

bool Registrations::Contains(std::uint32_t handle) const {
    std::lock_guard lock(mutex_);
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.listener.handle == handle; });
}

} // namespace kovrel::ondrel
