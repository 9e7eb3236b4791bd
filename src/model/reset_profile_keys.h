#pragma once
// The store's part of restoring a profile's defaults: the records behind the nine G buttons of
// the current G-key bank and the 104 key buttons become all zero. Text table entries stay; the
// window refreshes its buttons and enables Apply.

#include "model/configuration_store.h"

namespace kovrel {

void ResetProfileKeys(ConfigurationStore& working, int area, int gBank);

} // namespace kovrel
