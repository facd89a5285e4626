// A stand-in plug-in library for the registration tests: its registration export refuses
// with "access denied", and it has no unregistration export at all.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) std::uint32_t DllRegisterServer() {
    return 0x80070005;
}
