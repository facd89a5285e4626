#pragma once
// The four exports a self-registering server offers, with their meaning in a GStreamer
// process. Results are 32-bit COM-style codes.
#include <cstdint>

#define ZARVEX_EXPORT extern "C" __attribute__((visibility("default")))

namespace zarvex {
inline constexpr std::uint32_t kOk = 0x00000000;                 // S_OK
inline constexpr std::uint32_t kFalse = 0x00000001;              // S_FALSE
inline constexpr std::uint32_t kFail = 0x80004005;               // E_FAIL
inline constexpr std::uint32_t kNoInterface = 0x80004002;        // E_NOINTERFACE
inline constexpr std::uint32_t kPointer = 0x80004003;            // E_POINTER
inline constexpr std::uint32_t kClassNotAvailable = 0x80040111;  // CLASS_E_CLASSNOTAVAILABLE
inline constexpr const char* kIidUnknown = "{00000000-0000-0000-C000-000000000046}";
inline constexpr const char* kIidClassFactory = "{00000001-0000-0000-C000-000000000046}";
}  // namespace zarvex

// Registers the plug-in and its element with the process's registry (initialising
// GStreamer first when nobody has). Registering again changes nothing.
ZARVEX_EXPORT std::uint32_t DllRegisterServer();

// Removes the plug-in and its element from the process's registry; succeeds when they
// were not registered. The library itself stays loaded: a registered GType can't be
// unloaded from a process, and live elements keep using its code.
ZARVEX_EXPORT std::uint32_t DllUnregisterServer();

// For the renderer's class identifier and the interface IClassFactory or IUnknown (both
// in braced text form), hands out a new reference to the renderer's GstElementFactory,
// which creates the element (gst_element_factory_create) and is released with
// gst_object_unref. Another class identifier gives CLASS_E_CLASSNOTAVAILABLE, as does the
// renderer's while it is not registered; another interface gives E_NOINTERFACE.
ZARVEX_EXPORT std::uint32_t DllGetClassObject(const char* classId, const char* interfaceId,
                                              void** object);

// S_OK when no renderer instance is alive, else S_FALSE.
ZARVEX_EXPORT std::uint32_t DllCanUnloadNow();
