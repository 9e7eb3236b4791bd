/*
 * ondrel.h - public interface of the device service library libOndrel.so.
 *
 * Included by both sides of the link: the application, kovrelctl and the tests (which load the
 * library with dlopen by its bare name and resolve the twelve exports below), and the library and
 * the keyboard side (the daemon Varnolt and the virtual keyboard), which agree on the identifiers,
 * codes, check values and the wire format of the 64-byte reports kept here. Plain C; usable from
 * C and C++.
 *
 * Conventions
 *   - Integers are 32-bit. "id" is one of the three 16-byte request identifiers below, passed as
 *     a pointer to its 16 bytes. "check" is the check value (OndrelCheckValue) of the call.
 *   - Every request export takes (id, callback, code, [data, length,] check, handle*), in that
 *     order. A call that passes no callback passes NULL, no code passes 0, no handle passes NULL.
 *   - Results are hidapi-style: a positive value is success, 0 or a negative value a failure;
 *     the failures carry one of the ONDREL_ERROR_* values where an export says so.
 *   - The library verifies the check value of every request call against the arguments it
 *     received (identifier, callback, code, payload exactly as passed); a wrong check value makes
 *     the call fail with ONDREL_ERROR_CHECK and nothing is sent or registered.
 *
 * Threads
 *   - Exports may be called from any thread, concurrently.
 *   - Callbacks are called on one thread of the library's own, one notification at a time, never
 *     from inside an export call. A callback may call exports (the host re-sends its bank request
 *     from inside a CONS notification); the library must not deadlock on that.
 *   - The notification record and the bytes it points at are valid only during the callback.
 */
#ifndef ONDREL_ONDREL_H
#define ONDREL_ONDREL_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define ONDREL_API __attribute__((visibility("default")))
#else
#define ONDREL_API
#endif

/* ---------------------------------------------------------------------------------------------
 * Identifiers, codes, errors
 * ------------------------------------------------------------------------------------------- */

#define ONDREL_ID_SIZE 16

/* The event identifier: the CONS registration (keyboard events). */
static const uint8_t ONDREL_ID_EVENT[ONDREL_ID_SIZE] = {
    0x33, 0x49, 0x37, 0xE7, 0xD3, 0x7F, 0x26, 0x3B, 0x61, 0x30, 0x8E, 0xBD, 0xED, 0x77, 0x37, 0x2A};
/* The control identifier: the CTRL registration (command replies and count changes), every
 * device-count query and every report write. */
static const uint8_t ONDREL_ID_CONTROL[ONDREL_ID_SIZE] = {
    0x83, 0x40, 0x84, 0xD0, 0x3D, 0xFC, 0x6A, 0x95, 0x8E, 0xB2, 0xF4, 0x7F, 0xCD, 0xDF, 0xA1, 0xD0};
/* The bank identifier: the LED request (which G-key bank is active). */
static const uint8_t ONDREL_ID_BANK[ONDREL_ID_SIZE] = {
    0x40, 0x74, 0x11, 0xFB, 0x62, 0xB3, 0x2F, 0xCB, 0x95, 0x4C, 0x78, 0xDF, 0x32, 0x8C, 0x5D, 0x3C};

/* Request codes: four characters read from the most significant byte. Inside a check value a
 * code counts as its 4 little-endian bytes (LED as 0x44, 0x45, 0x4C, 0x00). */
#define ONDREL_CODE_CONS 0x434F4E53u /* "CONS": keyboard events */
#define ONDREL_CODE_CTRL 0x4354524Cu /* "CTRL": command replies, keyboard count */
#define ONDREL_CODE_LED 0x004C4544u  /* "LED": the bank request */

/* Failure results of the exports (success is always > 0). */
#define ONDREL_ERROR_NO_DEVICE 0      /* no keyboard present */
#define ONDREL_ERROR_CHECK (-1)       /* the check value does not match the call */
#define ONDREL_ERROR_ARGUMENT (-2)    /* null identifier, unknown identifier, bad length ... */
#define ONDREL_ERROR_NOT_READY (-3)   /* Init not called / succeeded, or the daemon is gone */
#define ONDREL_ERROR_IO (-4)          /* the daemon or the keyboard refused the transfer */
#define ONDREL_ERROR_UNSUPPORTED (-5) /* export kept for compatibility, not implemented */

/* ---------------------------------------------------------------------------------------------
 * Notifications
 * ------------------------------------------------------------------------------------------- */

#define ONDREL_KIND_COUNT 0 /* the number of keyboards changed (code CTRL) */
#define ONDREL_KIND_INPUT 1 /* an input for a registered request (code CONS or CTRL) */

typedef struct OndrelNotification {
    /* ONDREL_KIND_INPUT or ONDREL_KIND_COUNT. */
    int32_t kind;
    /* The code the request was registered with (CONS or CTRL). */
    uint32_t code;
    /* Kind 1, CTRL: the reply length in bytes (64).
     * Kind 1, CONS: the length of the event report (64).
     * Kind 0, CTRL: the new number of keyboards. */
    int32_t length;
    /* Kind 1: the report bytes (the reply, or the raw event report); NULL for kind 0. */
    const uint8_t* data;
    /* Kind 1, CONS: the 16-bit event code (bytes 1-2 of the event report, little-endian);
     * 0 otherwise. */
    uint16_t event;
} OndrelNotification;

/* Called for each notification; returns 1, always. */
typedef int (*OndrelCallback)(const OndrelNotification* notification);

/* ---------------------------------------------------------------------------------------------
 * Check value
 *
 * Sum, as a 32-bit unsigned value, of table[b] over the bytes b of: the 16 identifier bytes; the
 * callback address as 4 little-endian bytes (its low 32 bits; 4 zero bytes when no callback);
 * the code as 4 little-endian bytes (4 zero bytes for 0); then the payload exactly as passed
 * (2 bank bytes for LED, the 64-byte report for a report write, nothing for registrations and
 * count queries).
 * ------------------------------------------------------------------------------------------- */

/* A fixed permutation of the byte values 0 to 255, known to both sides. */
static const uint8_t ONDREL_SUBSTITUTION[256] = {
    0xDE, 0xF8, 0xB8, 0x1C, 0x84, 0x76, 0xB3, 0x21, 0x6F, 0x26, 0x97, 0x08, 0x04, 0x99, 0x69, 0x79,
    0xD1, 0xC2, 0xA4, 0x1A, 0xF0, 0xE0, 0xC8, 0x45, 0xAB, 0x33, 0xC6, 0x0D, 0xB9, 0xD8, 0xEF, 0x18,
    0x3D, 0xF1, 0x60, 0x34, 0x5C, 0x2A, 0xE6, 0x7D, 0xED, 0x37, 0x36, 0x06, 0xD4, 0x50, 0x3F, 0xF6,
    0x20, 0xB7, 0xE4, 0x2D, 0x64, 0x5D, 0x4E, 0xD0, 0x11, 0xE2, 0x56, 0xA9, 0x4B, 0x6B, 0x5B, 0x3C,
    0x71, 0x91, 0x19, 0x5E, 0x7B, 0x0E, 0x80, 0x7E, 0x58, 0x8A, 0xFD, 0x15, 0x44, 0x39, 0xB5, 0x3E,
    0x7F, 0x01, 0x81, 0x68, 0xC9, 0xE1, 0xAA, 0x94, 0xDF, 0x54, 0xA0, 0x14, 0x0C, 0xEC, 0xF2, 0x93,
    0xA3, 0xAC, 0xCC, 0xBF, 0xB1, 0x92, 0x72, 0x48, 0x38, 0x27, 0xA8, 0xE8, 0x55, 0x90, 0x67, 0xE9,
    0xD9, 0x1F, 0x2E, 0x5F, 0xBC, 0x75, 0xB0, 0xB4, 0x40, 0x8D, 0xDA, 0x8F, 0x47, 0xA1, 0x8B, 0x32,
    0xD3, 0x95, 0xF9, 0x35, 0xDC, 0xF7, 0xEB, 0x46, 0x30, 0xE7, 0x1D, 0x9A, 0xE3, 0x03, 0x6C, 0x7A,
    0x29, 0xA5, 0x12, 0x6D, 0xB6, 0x8C, 0xC4, 0xCE, 0xAD, 0xBD, 0xEA, 0xFB, 0x52, 0x62, 0x41, 0x4C,
    0x8E, 0x23, 0x07, 0x2B, 0x78, 0xC0, 0x9E, 0x77, 0xB2, 0x05, 0x25, 0xF5, 0xFF, 0x49, 0x70, 0xF4,
    0x85, 0x53, 0x7C, 0x00, 0x31, 0x89, 0x1E, 0x43, 0x3A, 0x0F, 0x5A, 0xA2, 0x0B, 0x74, 0x2C, 0x9B,
    0xC1, 0x96, 0x82, 0xFA, 0x09, 0xC3, 0xAF, 0x9D, 0xD2, 0x4D, 0xA7, 0x73, 0x83, 0x4A, 0x51, 0x87,
    0x57, 0x28, 0xD5, 0xCB, 0x86, 0xA6, 0xFE, 0x13, 0x61, 0x65, 0xF3, 0x66, 0x98, 0x17, 0xC7, 0xBA,
    0xBE, 0xC5, 0xD7, 0x2F, 0x3B, 0xFC, 0x24, 0x1B, 0x4F, 0x59, 0xE5, 0xCA, 0x9C, 0xAE, 0x16, 0x63,
    0xDD, 0x88, 0x9F, 0x10, 0xD6, 0x0A, 0xEE, 0x6A, 0x42, 0xBB, 0x02, 0xCF, 0x6E, 0xDB, 0xCD, 0x22,
};

/* The low 32 bits of a callback's address, as the check value counts it. */
static inline uint32_t OndrelCallbackWord(OndrelCallback callback) {
    return (uint32_t)(uintptr_t)callback;
}

/* The check value of a call. `id` may be NULL only for a malformed call (its bytes then count as
 * zeros); `payload` may be NULL when `length` is 0. */
static inline uint32_t OndrelCheckValue(const uint8_t* id, OndrelCallback callback, uint32_t code,
                                        const void* payload, size_t length) {
    uint32_t sum = 0;
    size_t i;
    const uint32_t word = OndrelCallbackWord(callback);
    const uint8_t* bytes = (const uint8_t*)payload;
    for (i = 0; i < ONDREL_ID_SIZE; ++i) {
        sum += ONDREL_SUBSTITUTION[id ? id[i] : 0];
    }
    for (i = 0; i < 4; ++i) {
        sum += ONDREL_SUBSTITUTION[(word >> (8 * i)) & 0xFFu];
    }
    for (i = 0; i < 4; ++i) {
        sum += ONDREL_SUBSTITUTION[(code >> (8 * i)) & 0xFFu];
    }
    for (i = 0; bytes && i < length; ++i) {
        sum += ONDREL_SUBSTITUTION[bytes[i]];
    }
    return sum;
}

/* ---------------------------------------------------------------------------------------------
 * Wire format between a keyboard and its host (carried unchanged by the library and the daemon)
 *
 * Command report (host to keyboard, an output report written with RequestWriteOne, 64 bytes):
 *   byte 0     report id 0x04
 *   bytes 1-2  checksum, little-endian: the low 16 bits of the sum of bytes 3 to 63
 *   byte 3     command code
 *   byte 4     length: data bytes this report carries or asks for
 *   bytes 5-6  address or offset, little-endian
 *   byte 7     0
 *   bytes 8-63 data
 * Reply (keyboard to host, an input report with id 0x04, 64 bytes; delivered as kind 1 CTRL):
 *   byte 0     report id 0x04
 *   byte 3     the command code of the report it answers
 *   byte 7     status: 0xFF and 0xFE are failures, any other value is success
 *   bytes 8-63 returned data
 * Keyboard event (keyboard to host, an input report with id 0x06, 64 bytes; delivered as kind 1
 * CONS with `event` set):
 *   byte 0     report id 0x06
 *   bytes 1-2  event code, little-endian
 * Bank write (host to keyboard, written with RequestStatusWrite, code LED, 2 bytes): the buffer
 *   0x05, 0x02 | bank is sent as an output report as it stands: its first byte is its report id.
 * ------------------------------------------------------------------------------------------- */

#define ONDREL_REPORT_SIZE 64
#define ONDREL_REPORT_DATA_SIZE 56

#define ONDREL_REPORT_ID_COMMAND 0x04 /* command reports and their replies */
#define ONDREL_REPORT_ID_BANK 0x05    /* the bank write */
#define ONDREL_REPORT_ID_EVENT 0x06   /* keyboard events */

#define ONDREL_OFFSET_CHECKSUM 1 /* 2 bytes, little-endian */
#define ONDREL_OFFSET_COMMAND 3
#define ONDREL_OFFSET_LENGTH 4
#define ONDREL_OFFSET_ADDRESS 5 /* 2 bytes, little-endian */
#define ONDREL_OFFSET_STATUS 7  /* reply status; 0 in a command report */
#define ONDREL_OFFSET_DATA 8
#define ONDREL_OFFSET_EVENT 1 /* event code in an event report, 2 bytes, little-endian */

#define ONDREL_BANK_SIZE 2
#define ONDREL_BANK_BASE 0x02 /* second bank byte: 0x02 | bank (bank 0 or 1) */

/* ---------------------------------------------------------------------------------------------
 * The twelve exports, in the order the host resolves them.
 * ------------------------------------------------------------------------------------------- */

/* Sets the library's trace level (0 off). Returns 1. Kept for compatibility; the host never
 * calls it. */
ONDREL_API int Debug(int level);

/* Starts the library's connection to the daemon; `flags` is 0. Returns 1 once the library is
 * ready (also when already initialised), whether or not the daemon is up: it waits up to about
 * 5 s (ONDREL_INIT_WAIT_MS in the environment overrides) for the daemon's first message, so a
 * keyboard present at start is counted at once, and keeps (re)connecting in the background.
 * ONDREL_ERROR_NOT_READY only when the library cannot start its thread. Until it has succeeded
 * every other export fails with ONDREL_ERROR_NOT_READY. */
ONDREL_API int Init(int flags);

/* Cancels every request, stops the callback thread (waiting for a running callback; never call it
 * from inside a callback) and disconnects. Returns 1; 0 when not initialised. The host never
 * calls it. */
ONDREL_API int End(void);

/* Number of keyboards present: >= 0 (0 for none), as the daemon last reported it. While the
 * daemon is away the previous count stands for about 2 s (a daemon restart is not an unplug),
 * then it is 0 and a count notification says so. Called with (control id, NULL, 0, check, NULL).
 * Fails with ONDREL_ERROR_CHECK, ONDREL_ERROR_ARGUMENT or ONDREL_ERROR_NOT_READY (negative;
 * treat like 0). */
ONDREL_API int RequestGetDeviceCount(const uint8_t* id, OndrelCallback callback, uint32_t code,
                                     uint32_t check, uint32_t* handle);

/* Cancels the request with this handle (from RequestAsyncRead or RequestStatusWrite): no further
 * notifications for it once it returns, except one already being delivered. Returns 1 when a
 * request was cancelled, 0 for handle 0 or an unknown handle, ONDREL_ERROR_NOT_READY. */
ONDREL_API int DeleteRequestFromUnitId(uint32_t handle);

/* The same as DeleteRequestFromUnitId. Kept for compatibility; the host never calls it. */
ONDREL_API int DeleteRequestFromHandle(uint32_t handle);

/* Writes `length` bytes (1 to 64) as one output report, like RequestWriteOne, and returns the
 * number of bytes written (> 0) or a failure. Kept for compatibility; the host never calls it. */
ONDREL_API int RequestWrite(const uint8_t* id, OndrelCallback callback, uint32_t code,
                            const uint8_t* data, int length, uint32_t check, uint32_t* handle);

/* Hands one 64-byte command report to the keyboard. Called with (control id, NULL, 0, report, 64,
 * check over the 64 report bytes, NULL). Returns exactly 1 when the report was handed on; 0 or
 * less otherwise: ONDREL_ERROR_NO_DEVICE (no keyboard), ONDREL_ERROR_CHECK (wrong check value),
 * ONDREL_ERROR_ARGUMENT (length not 64, null report, not the control id), ONDREL_ERROR_NOT_READY
 * (no daemon connected, also during a daemon restart), ONDREL_ERROR_IO. "Handed on" means queued
 * by the daemon for the first keyboard; the reply, if any, arrives later as a kind 1 CTRL
 * notification. */
ONDREL_API int RequestWriteOne(const uint8_t* id, OndrelCallback callback, uint32_t code,
                               const uint8_t* report, int length, uint32_t check, uint32_t* handle);

/* Sends `data` (`length` bytes) as an output report and stores a handle for the request in
 * *handle (when not NULL). Used with (bank id, callback, LED, bank buffer, 2, check, &handle).
 * Returns 1 when sent; ONDREL_ERROR_NO_DEVICE (nothing sent, a handle is still stored),
 * ONDREL_ERROR_CHECK / ONDREL_ERROR_ARGUMENT / ONDREL_ERROR_NOT_READY (no handle stored). No
 * notifications are delivered for it. */
ONDREL_API int RequestStatusWrite(const uint8_t* id, OndrelCallback callback, uint32_t code,
                                  const uint8_t* data, int length, uint32_t check,
                                  uint32_t* handle);

/* Reads a feature/status report. Kept for compatibility; returns ONDREL_ERROR_UNSUPPORTED. */
ONDREL_API int RequestStatusGet(const uint8_t* id, OndrelCallback callback, uint32_t code,
                                uint8_t* data, int capacity, uint32_t check, uint32_t* handle);

/* Registers a standing request and stores its non-zero handle in *handle. Used with
 * (event id, callback, CONS, check, &handle) and (control id, callback, CTRL, check, &handle).
 * From then on the callback receives every keyboard input of that code (kind 1), and a CTRL
 * registration also every change of the keyboard count (kind 0, code CTRL, count in `length`).
 * Works with no keyboard present. Returns 1; ONDREL_ERROR_CHECK, ONDREL_ERROR_ARGUMENT or
 * ONDREL_ERROR_NOT_READY (nothing registered, *handle untouched). */
ONDREL_API int RequestAsyncRead(const uint8_t* id, OndrelCallback callback, uint32_t code,
                                uint32_t check, uint32_t* handle);

/* Sends a feature report. Kept for compatibility; returns ONDREL_ERROR_UNSUPPORTED. */
ONDREL_API int RequestStatusSetFeature(const uint8_t* id, OndrelCallback callback, uint32_t code,
                                       const uint8_t* data, int length, uint32_t check,
                                       uint32_t* handle);

/* Function-pointer types for dlsym. */
typedef int (*OndrelDebugFn)(int level);
typedef int (*OndrelInitFn)(int flags);
typedef int (*OndrelEndFn)(void);
typedef int (*OndrelRequestGetDeviceCountFn)(const uint8_t* id, OndrelCallback callback,
                                             uint32_t code, uint32_t check, uint32_t* handle);
typedef int (*OndrelDeleteRequestFromUnitIdFn)(uint32_t handle);
typedef int (*OndrelDeleteRequestFromHandleFn)(uint32_t handle);
typedef int (*OndrelRequestWriteFn)(const uint8_t* id, OndrelCallback callback, uint32_t code,
                                    const uint8_t* data, int length, uint32_t check,
                                    uint32_t* handle);
typedef int (*OndrelRequestWriteOneFn)(const uint8_t* id, OndrelCallback callback, uint32_t code,
                                       const uint8_t* report, int length, uint32_t check,
                                       uint32_t* handle);
typedef int (*OndrelRequestStatusWriteFn)(const uint8_t* id, OndrelCallback callback, uint32_t code,
                                          const uint8_t* data, int length, uint32_t check,
                                          uint32_t* handle);
typedef int (*OndrelRequestStatusGetFn)(const uint8_t* id, OndrelCallback callback, uint32_t code,
                                        uint8_t* data, int capacity, uint32_t check,
                                        uint32_t* handle);
typedef int (*OndrelRequestAsyncReadFn)(const uint8_t* id, OndrelCallback callback, uint32_t code,
                                        uint32_t check, uint32_t* handle);
typedef int (*OndrelRequestStatusSetFeatureFn)(const uint8_t* id, OndrelCallback callback,
                                               uint32_t code, const uint8_t* data, int length,
                                               uint32_t check, uint32_t* handle);

/* The library's file name, loaded by bare name (RUNPATH $ORIGIN finds it beside the program). */
#define ONDREL_LIBRARY_NAME "libOndrel.so"

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* ONDREL_ONDREL_H */
