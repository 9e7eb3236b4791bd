// The twelve exports of libOndrel.so, with C linkage, as the device service's public header
// declares them; each forwards to the process's one Service.

#include "service.h"

using kovrel::ondrel::Service;

extern "C" {

ONDREL_API int Debug(int /*level*/) {
    return 1;
}

ONDREL_API int Init(int /*flags*/) {
    return Service::Instance().Init();
}

ONDREL_API int End(void) {
    return Service::Instance().End();
}

ONDREL_API int RequestGetDeviceCount(const uint8_t* id, OndrelCallback callback, uint32_t code,
                                     uint32_t check, uint32_t* /*handle*/) {
    return Service::Instance().DeviceCount(id, callback, code, check);
}

ONDREL_API int DeleteRequestFromUnitId(uint32_t handle) {
    return Service::Instance().Cancel(handle);
}

ONDREL_API int DeleteRequestFromHandle(uint32_t handle) {
    return Service::Instance().Cancel(handle);
}

ONDREL_API int RequestWrite(const uint8_t* id, OndrelCallback callback, uint32_t code,
                            const uint8_t* data, int length, uint32_t check, uint32_t* /*handle*/) {
    return Service::Instance().WriteReport(id, callback, code, data, length, check, false);
}

ONDREL_API int RequestWriteOne(const uint8_t* id, OndrelCallback callback, uint32_t code,
                               const uint8_t* report, int length, uint32_t check,
                               uint32_t* /*handle*/) {
    return Service::Instance().WriteReport(id, callback, code, report, length, check, true);
}

ONDREL_API int RequestStatusWrite(const uint8_t* id, OndrelCallback callback, uint32_t code,
                                  const uint8_t* data, int length, uint32_t check,
                                  uint32_t* handle) {
    return Service::Instance().StatusWrite(id, callback, code, data, length, check, handle);
}

ONDREL_API int RequestStatusGet(const uint8_t*, OndrelCallback, uint32_t, uint8_t*, int, uint32_t,
                                uint32_t*) {
    return ONDREL_ERROR_UNSUPPORTED;
}

ONDREL_API int RequestAsyncRead(const uint8_t* id, OndrelCallback callback, uint32_t code,
                                uint32_t check, uint32_t* handle) {
    return Service::Instance().AsyncRead(id, callback, code, check, handle);
}

ONDREL_API int RequestStatusSetFeature(const uint8_t*, OndrelCallback, uint32_t, const uint8_t*,
                                       int, uint32_t, uint32_t*) {
    return ONDREL_ERROR_UNSUPPORTED;
}

} // extern "C"
