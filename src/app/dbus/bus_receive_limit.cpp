#include "app/dbus/bus_receive_limit.h"

#include <dlfcn.h>
#include <QDBusConnection>

#include <climits>

namespace {

// libdbus's own functions, looked up in the libdbus Qt D-Bus already uses: its headers are
// not needed to build the program.
using SetLimit = void (*)(void* connection, long limit);

SetLimit libdbusFunction(const char* name) {
    return reinterpret_cast<SetLimit>(::dlsym(RTLD_DEFAULT, name));
}

}  // namespace

bool liftReceiveLimits(const QDBusConnection& bus) {
    void* connection = bus.internalPointer();
    const SetLimit bytes = libdbusFunction("dbus_connection_set_max_received_size");
    const SetLimit descriptors = libdbusFunction("dbus_connection_set_max_received_unix_fds");
    if (connection == nullptr || bytes == nullptr || descriptors == nullptr)
        return false;
    bytes(connection, LONG_MAX);
    descriptors(connection, LONG_MAX);
    return true;
}
