#include "device/connected_keyboard.h"

#include "device/default_layout.h"

namespace kovrel::device {

ConnectedKeyboard::ConnectedKeyboard() : layout_(BuiltInDefaultLayout()) {}

ProfileBlockBytes ConnectedKeyboard::DefaultLayout() const {
    std::lock_guard lock(mutex_);
    return layout_;
}

void ConnectedKeyboard::SetDefaultLayout(const ProfileBlockBytes& layout) {
    std::lock_guard lock(mutex_);
    layout_ = layout;
}

} // namespace kovrel::device
