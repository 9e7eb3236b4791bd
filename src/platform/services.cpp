#include "platform/services.h"

namespace kovrel::platform {

Services& CurrentServices() {
    static Services services;
    return services;
}

} // namespace kovrel::platform
