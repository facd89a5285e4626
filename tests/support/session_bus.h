#pragma once
// A private session bus for one test, as dbus-run-session gives one: a dbus-daemon of its
// own, whose address DBUS_SESSION_BUS_ADDRESS carries to every program the test starts.
// The daemon ends and the variable comes back when the object goes.
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

class SessionBus {
  public:
    // Throws std::runtime_error when dbus-daemon can't be started.
    SessionBus();
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    const std::string& address() const { return address_; }

  private:
    std::string address_;
    int pid_ = -1;
    std::optional<std::string> previous_;
};

// Runs a tool (no shell, at most 10 s) and gives its standard output without the final
// line break; "" when it fails to start or ends with an error.
std::string toolOutput(const std::vector<std::string>& argv);

}  // namespace testsupport
