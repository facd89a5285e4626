#pragma once
// 32-bit result codes that MediaGraph keeps in its lastResult, in the COM style the rest of
// the program knows: 0 success, negative (bit 31 set) failure.
#include <cstdint>
#include <string>

namespace result {
inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kFail = static_cast<std::int32_t>(0x80004005);     // E_FAIL
inline constexpr std::int32_t kNotImpl = static_cast<std::int32_t>(0x80004001);  // E_NOTIMPL
inline constexpr std::int32_t kNoInterface =
    static_cast<std::int32_t>(0x80004002);  // E_NOINTERFACE
inline constexpr std::int32_t kOutOfMemory =
    static_cast<std::int32_t>(0x8007000E);  // an element can't be made
inline constexpr std::int32_t kFileNotFound =
    static_cast<std::int32_t>(0x80070002);  // ERROR_FILE_NOT_FOUND
inline constexpr std::int32_t kAccessDenied =
    static_cast<std::int32_t>(0x80070005);  // ERROR_ACCESS_DENIED
inline constexpr std::int32_t kClassNotRegistered =
    static_cast<std::int32_t>(0x80040154);  // no discard renderer
inline constexpr std::int32_t kCannotRender =
    static_cast<std::int32_t>(0x80040218);  // VFW_E_CANNOT_RENDER: no audio stream
inline constexpr std::int32_t kTimeout = static_cast<std::int32_t>(0x8004022E);  // VFW_E_TIMEOUT
inline constexpr std::int32_t kInvalidFileFormat =
    static_cast<std::int32_t>(0x8004022F);  // VFW_E_INVALID_FILE_FORMAT
inline constexpr std::int32_t kUnsupportedStream =
    static_cast<std::int32_t>(0x80040265);  // VFW_E_UNSUPPORTED_STREAM
}  // namespace result

// The fixed text of a code, for failures that carry no message of their own; "" for codes
// without one (and for success).
std::string resultCodeText(std::int32_t code);
