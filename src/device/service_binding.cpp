#include "device/service_binding.h"

#include <dlfcn.h>

namespace kovrel::device {

namespace {

template <typename Fn>
bool Resolve(void* library, const char* name, Fn& out) {
    void* symbol = dlsym(library, name);
    if (symbol == nullptr) {
        return false;
    }
    out = reinterpret_cast<Fn>(symbol);
    return true;
}

} // namespace

BindResult ServiceBinding::Load(const char* libraryName) {
    ready_ = false;
    exports_ = {};
    // Kept loaded for the life of the process: the service's own thread calls back into us.
    void* library = dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return BindResult::NoLibrary;
    }
    ServiceExports e;
    const bool all = Resolve(library, "Debug", e.Debug) && Resolve(library, "Init", e.Init) &&
                     Resolve(library, "End", e.End) &&
                     Resolve(library, "RequestGetDeviceCount", e.RequestGetDeviceCount) &&
                     Resolve(library, "DeleteRequestFromUnitId", e.DeleteRequestFromUnitId) &&
                     Resolve(library, "DeleteRequestFromHandle", e.DeleteRequestFromHandle) &&
                     Resolve(library, "RequestWrite", e.RequestWrite) &&
                     Resolve(library, "RequestWriteOne", e.RequestWriteOne) &&
                     Resolve(library, "RequestStatusWrite", e.RequestStatusWrite) &&
                     Resolve(library, "RequestStatusGet", e.RequestStatusGet) &&
                     Resolve(library, "RequestAsyncRead", e.RequestAsyncRead) &&
                     Resolve(library, "RequestStatusSetFeature", e.RequestStatusSetFeature);
    if (!all) {
        return BindResult::MissingExport;
    }
    if (e.Init(0) <= 0) {
        return BindResult::InitFailed;
    }
    exports_ = e;
    ready_ = true;
    return BindResult::Ready;
}

} // namespace kovrel::device
