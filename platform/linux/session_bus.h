#pragma once
// What the start-up and the desktops reached over D-Bus (KWin, GNOME Shell)
// share of the session bus: a connection that is let go, and who owns a name.
#include <gio/gio.h>

#include <memory>
#include <string>

namespace platform::posix {

struct BusUnref {
    void operator()(GDBusConnection* bus) const { g_object_unref(bus); }
};
using Bus = std::unique_ptr<GDBusConnection, BusUnref>;

// The unique name that owns the well-known name now; empty when none does or
// the bus does not answer in time.
inline std::string ownerOf(GDBusConnection* bus, const char* name, int timeoutMs = 1000) {
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetNameOwner",
        g_variant_new("(s)", name), G_VARIANT_TYPE("(s)"), G_DBUS_CALL_FLAGS_NONE, timeoutMs, nullptr, nullptr);
    if (reply == nullptr) return {};
    const gchar* owner = nullptr;
    g_variant_get(reply, "(&s)", &owner);
    std::string found = owner;
    g_variant_unref(reply);
    return found;
}

}  // namespace platform::posix
