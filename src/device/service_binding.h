#pragma once
// The binding to the device service library: loaded by its bare file name (the loader finds it
// beside the program through RUNPATH $ORIGIN), its twelve exports resolved by name, and Init(0).
// The library is never unloaded and End is never called.

#include <ondrel/ondrel.h>

namespace kovrel::device {

struct ServiceExports {
    OndrelDebugFn Debug = nullptr;
    OndrelInitFn Init = nullptr;
    OndrelEndFn End = nullptr;
    OndrelRequestGetDeviceCountFn RequestGetDeviceCount = nullptr;
    OndrelDeleteRequestFromUnitIdFn DeleteRequestFromUnitId = nullptr;
    OndrelDeleteRequestFromHandleFn DeleteRequestFromHandle = nullptr;
    OndrelRequestWriteFn RequestWrite = nullptr;
    OndrelRequestWriteOneFn RequestWriteOne = nullptr;
    OndrelRequestStatusWriteFn RequestStatusWrite = nullptr;
    OndrelRequestStatusGetFn RequestStatusGet = nullptr;
    OndrelRequestAsyncReadFn RequestAsyncRead = nullptr;
    OndrelRequestStatusSetFeatureFn RequestStatusSetFeature = nullptr;
};

enum class BindResult {
    Ready,         // loaded, every export found, Init(0) > 0
    NoLibrary,     // the library could not be loaded
    MissingExport, // one of the twelve exports is missing
    InitFailed,    // Init(0) returned 0 or less
};

class ServiceBinding {
public:
    // Loads `libraryName` (bare name; tests pass the stand-in's), resolves the exports in the
    // order Debug, Init, End, RequestGetDeviceCount, DeleteRequestFromUnitId,
    // DeleteRequestFromHandle, RequestWrite, RequestWriteOne, RequestStatusWrite,
    // RequestStatusGet, RequestAsyncRead, RequestStatusSetFeature, then calls Init(0). Any
    // failure leaves the binding not ready; the caller ends the process.
    BindResult Load(const char* libraryName = ONDREL_LIBRARY_NAME);

    bool Ready() const { return ready_; }
    const ServiceExports& Exports() const { return exports_; }

private:
    ServiceExports exports_;
    bool ready_ = false;
};

} // namespace kovrel::device
