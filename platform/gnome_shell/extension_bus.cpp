#include "platform/gnome_shell/extension_bus.h"

#include <gio/gio.h>

#include <string_view>

#include "platform/linux/session_bus.h"

namespace platform::gnome_shell {

using posix::Bus;

namespace {

constexpr const char* busName = "invalid.ambrisk2.Windows";
constexpr const char* objectPath = "/invalid/ambrisk2/Windows";
constexpr const char* interfaceName = "invalid.ambrisk2.Windows";
constexpr const char* windowsType = "(tuia(iiiiiiii))";
// The first call of a connection waits for the extension to check who calls.
constexpr int firstCallTimeoutMs = 2000;
constexpr int callTimeoutMs = 1000;

struct VariantUnref {
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
};
using Variant = std::unique_ptr<GVariant, VariantUnref>;

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using Error = std::unique_ptr<GError, ErrorFree>;

// The reply, which GDBus has checked against the type; null on an error or
// after the timeout, with the error kept where asked.
Variant callSync(GDBusConnection* bus, const char* destination, const char* path, const char* interface,
                 const char* method, GVariant* arguments, const char* replyType, int timeoutMs = callTimeoutMs,
                 Error* error = nullptr) {
    GError* raw = nullptr;
    Variant reply(g_dbus_connection_call_sync(bus, destination, path, interface, method, arguments,
                                              G_VARIANT_TYPE(replyType), G_DBUS_CALL_FLAGS_NONE, timeoutMs,
                                              nullptr, &raw));
    Error caught(raw);
    if (error) *error = std::move(caught);
    return reply;
}

bool isRemoteError(const Error& error, std::string_view name) {
    if (!error || !g_dbus_error_is_remote_error(error.get())) return false;
    const std::unique_ptr<gchar, decltype(&g_free)> remote(g_dbus_error_get_remote_error(error.get()), &g_free);
    return remote && name == remote.get();
}

MonitorReply monitorsFrom(std::int32_t primary, GVariant* array) {
    MonitorReply reply{primary, {}};
    GVariantIter iter;
    g_variant_iter_init(&iter, array);
    MonitorValues v{};
    while (g_variant_iter_next(&iter, "(iiiiiiii)", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7]))
        reply.values.push_back(v);
    return reply;
}

WatchReply watchReplyFrom(GVariant* reply) {
    guint64 window = 0;
    guint32 pid = 0;
    gint32 primary = 0;
    GVariant* array = nullptr;
    g_variant_get(reply, "(tui@a(iiiiiiii))", &window, &pid, &primary, &array);
    const Variant owned(array);
    return {{window, pid}, monitorsFrom(primary, array)};
}

// Why the extension is not on the bus, as GNOME Shell tells of it.
std::wstring whyAbsent(GDBusConnection* bus) {
    const Variant info = callSync(bus, "org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell.Extensions",
                                  "GetExtensionInfo", g_variant_new("(s)", extensionUuid), "(a{sv})");
    double state = 0;
    if (!info) return absentExtension(std::nullopt);
    GVariant* dictionary = g_variant_get_child_value(info.get(), 0);
    const Variant owned(dictionary);
    if (!g_variant_lookup(dictionary, "state", "d", &state)) return absentExtension(std::nullopt);
    return absentExtension(state);
}

}  // namespace

class ExtensionBus::Connection {
public:
    Connection(Bus bus, std::string owner, ExtensionEvents events)
        : bus_(std::move(bus)), owner_(std::move(owner)), events_(std::move(events)) {
        subscribe();
        nameWatch_ = g_bus_watch_name_on_connection(bus_.get(), busName, G_BUS_NAME_WATCHER_FLAGS_NONE, onAppeared,
                                                    onVanished, this, nullptr);
    }
    ~Connection() {
        g_bus_unwatch_name(nameWatch_);
        g_dbus_connection_signal_unsubscribe(bus_.get(), subscription_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Asks the extension to send its signals here, which it does only for
    // this program; the refusal is set when it will not.
    std::optional<WatchReply> watch(std::wstring& refusal) {
        Error error;
        const Variant reply = callSync(bus_.get(), owner_.c_str(), objectPath, interfaceName, "Watch", nullptr,
                                       windowsType, firstCallTimeoutMs, &error);
        if (reply) return watchReplyFrom(reply.get());
        refusal = isRemoteError(error, "org.freedesktop.DBus.Error.AccessDenied") ? extensionRefused
                                                                                  : extensionSilent;
        return std::nullopt;
    }

    Variant call(const char* method, GVariant* arguments, const char* replyType) {
        return callSync(bus_.get(), owner_.c_str(), objectPath, interfaceName, method, arguments, replyType);
    }

private:
    void subscribe() {
        subscription_ = g_dbus_connection_signal_subscribe(bus_.get(), owner_.c_str(), interfaceName, nullptr,
                                                           objectPath, nullptr, G_DBUS_SIGNAL_FLAGS_NONE, onSignal,
                                                           this, nullptr);
    }

    static void onSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name,
                         GVariant* parameters, gpointer data) {
        auto* self = static_cast<Connection*>(data);
        const std::string_view signal(name);
        if (signal == "FocusChanged" && g_variant_is_of_type(parameters, G_VARIANT_TYPE("(tu)"))) {
            guint64 window = 0;
            guint32 pid = 0;
            g_variant_get(parameters, "(tu)", &window, &pid);
            self->events_.focusChanged({window, pid});
        } else if (signal == "MonitorsChanged" &&
                   g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ia(iiiiiiii))"))) {
            gint32 primary = 0;
            GVariant* array = nullptr;
            g_variant_get(parameters, "(i@a(iiiiiiii))", &primary, &array);
            const Variant owned(array);
            self->events_.monitorsChanged(monitorsFrom(primary, array));
        }
    }

    // The extension comes back on the same connection of the shell, or on a
    // new one when the shell itself started again (on X11).
    static void onAppeared(GDBusConnection*, const gchar*, const gchar* owner, gpointer data) {
        auto* self = static_cast<Connection*>(data);
        if (!self->gone_) return;
        self->gone_ = false;
        if (self->owner_ != owner) {
            g_dbus_connection_signal_unsubscribe(self->bus_.get(), self->subscription_);
            self->owner_ = owner;
            self->subscribe();
        }
        std::wstring refusal;
        if (const std::optional<WatchReply> reply = self->watch(refusal)) self->events_.returned(*reply);
    }

    static void onVanished(GDBusConnection*, const gchar*, gpointer data) {
        auto* self = static_cast<Connection*>(data);
        if (self->gone_) return;
        self->gone_ = true;
        self->events_.left();
    }

    Bus bus_;
    std::string owner_;
    ExtensionEvents events_;
    guint subscription_ = 0;
    guint nameWatch_ = 0;
    bool gone_ = false;
};

std::unique_ptr<ExtensionBus> ExtensionBus::connect(ExtensionEvents events, WatchReply& first,
                                                    std::wstring& refusal) {
    Bus bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr));
    if (!bus) {
        refusal = L"Ambrisk 2 cannot reach the session bus, through which GNOME Shell lets it size windows.";
        return nullptr;
    }
    // The unique name of the shell's connection: signals are taken from it alone.
    const std::string name = posix::ownerOf(bus.get(), busName);
    if (name.empty()) {
        refusal = whyAbsent(bus.get());
        return nullptr;
    }
    auto connection = std::make_unique<Connection>(std::move(bus), name, std::move(events));
    const std::optional<WatchReply> reply = connection->watch(refusal);
    if (!reply) return nullptr;
    first = *reply;
    return std::unique_ptr<ExtensionBus>(new ExtensionBus(std::move(connection)));
}

ExtensionBus::ExtensionBus(std::unique_ptr<Connection> connection) : connection_(std::move(connection)) {}
ExtensionBus::~ExtensionBus() = default;

std::optional<WindowReply> ExtensionBus::window(std::uint64_t id) {
    const Variant reply =
        connection_->call("Window", g_variant_new("(t)", static_cast<guint64>(id)), "(bsuss(iiii))");
    if (!reply) return std::nullopt;
    gboolean found = FALSE;
    const gchar *title = nullptr, *kind = nullptr, *state = nullptr;
    WindowReply window;
    g_variant_get(reply.get(), "(b&su&s&s(iiii))", &found, &title, &window.pid, &kind, &state, &window.frame.x,
                  &window.frame.y, &window.frame.width, &window.frame.height);
    if (!found) return std::nullopt;
    window.title = title;
    window.kind = kind;
    window.state = state;
    return window;
}

bool ExtensionBus::place(std::uint64_t id, std::string_view state, const ShellRectangle& frame) {
    const std::string stateText(state);
    const Variant reply =
        connection_->call("Place",
                          g_variant_new("(ts(iiii))", static_cast<guint64>(id), stateText.c_str(), frame.x,
                                        frame.y, frame.width, frame.height),
                          "(b)");
    gboolean placed = FALSE;
    if (reply) g_variant_get(reply.get(), "(b)", &placed);
    return placed;
}

}  // namespace platform::gnome_shell
