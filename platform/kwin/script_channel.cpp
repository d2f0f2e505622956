#include "platform/kwin/script_channel.h"

#include <random>
#include <string_view>
#include <utility>

#include "platform/linux/session_bus.h"

namespace platform::kwin {

namespace {

constexpr const char* objectPath = "/org/ambrisk2/KWinScript";
// KWin waits 25 s for an answer to the script's calls.
constexpr std::chrono::seconds renewAfter{20};

constexpr const char* interfaceXml =
    "<node><interface name='org.ambrisk2.KWinScript'>"
    "<method name='Report'><arg type='s' name='token' direction='in'/>"
    "<arg type='s' name='report' direction='in'/></method>"
    "<method name='Next'><arg type='s' name='token' direction='in'/>"
    "<arg type='s' name='command' direction='out'/></method>"
    "</interface></node>";

// 128 random bits as hex, from the system's random source.
std::string newToken() {
    std::random_device source;
    static constexpr char hex[] = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t word = source();
        for (int shift = 28; shift >= 0; shift -= 4) token += hex[(word >> shift) & 0xF];
    }
    return token;
}

GDBusConnection* newSessionConnection() {
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (address == nullptr) return nullptr;
    GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
        address,
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    g_free(address);
    return bus;
}

gboolean wakeOnly(gpointer) { return G_SOURCE_REMOVE; }

}  // namespace

std::unique_ptr<ScriptChannel> ScriptChannel::open(ReportHandler handler) {
    GMainContext* context = g_main_context_new();
    // Created with its context current, so that the connection's calls are
    // dispatched there.
    g_main_context_push_thread_default(context);
    GDBusConnection* bus = newSessionConnection();
    g_main_context_pop_thread_default(context);
    std::string owner = bus ? posix::ownerOf(bus, "org.kde.KWin") : std::string();
    if (owner.empty()) {
        if (bus) g_object_unref(bus);
        g_main_context_unref(context);
        return nullptr;
    }
    return std::unique_ptr<ScriptChannel>(new ScriptChannel(context, bus, std::move(owner), std::move(handler)));
}

ScriptChannel::ScriptChannel(GMainContext* context, GDBusConnection* bus, std::string kwinOwner,
                             ReportHandler handler)
    : context_(context), bus_(bus), kwinOwner_(std::move(kwinOwner)), handler_(std::move(handler)) {
    callBack_ = {g_dbus_connection_get_unique_name(bus_), objectPath, newToken()};
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(interfaceXml, nullptr);
    static const GDBusInterfaceVTable vtable{&ScriptChannel::onCall, nullptr, nullptr, {}};
    g_main_context_push_thread_default(context_);
    registration_ =
        g_dbus_connection_register_object(bus_, objectPath, node->interfaces[0], &vtable, this, nullptr, nullptr);
    g_main_context_pop_thread_default(context_);
    g_dbus_node_info_unref(node);
}

ScriptChannel::~ScriptChannel() {
    handler_ = nullptr;
    if (question_)
        g_dbus_method_invocation_return_error_literal(question_, G_DBUS_ERROR, G_DBUS_ERROR_FAILED, "ended");
    if (registration_ != 0) g_dbus_connection_unregister_object(bus_, registration_);
    // The last scripts' unloading is sent, not awaited: it must leave first.
    g_dbus_connection_flush_sync(bus_, nullptr, nullptr);
    g_dbus_connection_close_sync(bus_, nullptr, nullptr);
    g_object_unref(bus_);
    // Calls that arrived but were never handed out hold references to
    // the connection until dispatched.
    while (g_main_context_iteration(context_, FALSE)) {
    }
    g_main_context_unref(context_);
}

void ScriptChannel::onCall(GDBusConnection*, const gchar* sender, const gchar*, const gchar*, const gchar* method,
                           GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
    auto& channel = *static_cast<ScriptChannel*>(self);
    const std::string_view name(method);
    const gchar* token = nullptr;
    const gchar* text = "";
    if (name == "Report")
        g_variant_get(parameters, "(&s&s)", &token, &text);
    else
        g_variant_get(parameters, "(&s)", &token);
    if (sender == nullptr || channel.kwinOwner_ != sender || channel.callBack_.token != token) {
        g_dbus_method_invocation_return_error_literal(invocation, G_DBUS_ERROR, G_DBUS_ERROR_ACCESS_DENIED,
                                                      "Only Ambrisk 2's own KWin script calls here.");
        return;
    }
    if (name == "Next") {
        // The script asks once at a time; a question that stands already
        // ends without an answer, so that only one chain of them goes on.
        if (channel.question_)
            g_dbus_method_invocation_return_error_literal(channel.question_, G_DBUS_ERROR, G_DBUS_ERROR_FAILED,
                                                          "asked again");
        channel.question_ = invocation;
        channel.askedAt_ = std::chrono::steady_clock::now();
        return;
    }
    g_dbus_method_invocation_return_value(invocation, nullptr);
    const std::optional<ScriptReport> report = readReport(text);
    if (report && channel.handler_) channel.handler_(*report);
}

void ScriptChannel::renewOldQuestion() {
    if (question_ && std::chrono::steady_clock::now() - askedAt_ >= renewAfter)
        g_dbus_method_invocation_return_value(std::exchange(question_, nullptr), g_variant_new("(s)", ""));
}

bool ScriptChannel::command(const std::string& text, std::chrono::milliseconds timeout) {
    if (!waitUntil([this] { return question_ != nullptr; }, timeout)) return false;
    g_dbus_method_invocation_return_value(std::exchange(question_, nullptr), g_variant_new("(s)", text.c_str()));
    return true;
}

bool ScriptChannel::followKWin() {
    std::string owner = posix::ownerOf(bus_, "org.kde.KWin");
    if (owner.empty()) return false;
    kwinOwner_ = std::move(owner);
    return true;
}

void ScriptChannel::takeArrived() {
    while (g_main_context_iteration(context_, FALSE)) {
    }
    renewOldQuestion();
}

bool ScriptChannel::waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    takeArrived();
    while (!done()) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        GSource* timer = g_timeout_source_new(static_cast<guint>(left.count()));
        g_source_set_callback(timer, wakeOnly, nullptr, nullptr);
        g_source_attach(timer, context_);
        g_main_context_iteration(context_, TRUE);
        g_source_destroy(timer);
        g_source_unref(timer);
    }
    return true;
}

}  // namespace platform::kwin
