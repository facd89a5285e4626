#pragma once
// Keeps the player hearing the session bus whatever size of message arrives.
//
// Qt D-Bus reads the bus on a thread of its own, while a call to the player is handled,
// and its message freed, on the user-interface thread. libdbus stops reading once the
// messages it has handed out and not yet got back pass its receive limit (63 MB by
// default) and starts again from the thread that frees the one that brings them below
// it: ours. Qt's socket notifier can't be switched on from there ("Socket notifiers
// cannot be enabled or disabled from another thread"), so one OpenUri of 67 MB left the
// player deaf on the bus for the rest of its run. Without the limit the reading is never
// switched off; what one message may hold stays bounded by libdbus (128 MB) and the bus.
class QDBusConnection;

// Lifts libdbus's limits on the bytes and the descriptors the connection's received
// messages may hold at once. False when libdbus's functions are not found.
bool liftReceiveLimits(const QDBusConnection& bus);
