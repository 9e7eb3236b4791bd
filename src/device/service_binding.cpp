#include "device/service_binding.h"

#include "platform/paths.h"

#include <dlfcn.h>

#include <string>

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

// A bare name is found through the RUNPATH of the object that calls dlopen. Under a sanitizer
// runtime that intercepts dlopen, the caller is the runtime, whose RUNPATH does not name our
// program folder; the library the program folder holds is then taken by its full path.
void* OpenService(const char* libraryName) {
    void* library = dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
    if (library != nullptr || std::string(libraryName).find('/') != std::string::npos) {
        return library;
    }
    const auto& folder = platform::ProgramFolder();
    if (folder.empty()) {
        return nullptr;
    }
    return dlopen((folder / libraryName).c_str(), RTLD_NOW | RTLD_LOCAL);
}

} // namespace

BindResult ServiceBinding::Load(const char* libraryName) {
    ready_ = false;
    exports_ = {};
    // Kept loaded for the life of the process: the service's own thread calls back into us.
    void* library = OpenService(libraryName);
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
