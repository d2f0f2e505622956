#pragma once
// The program's end of the KWin script's channel: a connection of its own
// to the session bus, with one object on it, whose Report method takes the
// script's reports and whose Next method is the script's standing question
// for a command: it is held until the program has one, and answered with
// nothing well before D-Bus would let it time out, whereupon the script asks
// again. A call counts only when KWin itself makes it (the owner of
// org.kde.KWin when the script was loaded) with the token that this run wrote
// into its script. The calls are dispatched on a main context of the
// channel's own, so that waiting for the script runs none of the program's
// other events.
#include <gio/gio.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "platform/kwin/script_report.h"
#include "platform/kwin/script_text.h"

namespace platform::kwin {

class ScriptChannel {
public:
    using ReportHandler = std::function<void(const ScriptReport&)>;

    // nullptr when the session bus or KWin on it cannot be reached.
    static std::unique_ptr<ScriptChannel> open(ReportHandler handler);
    ~ScriptChannel();
    ScriptChannel(const ScriptChannel&) = delete;
    ScriptChannel& operator=(const ScriptChannel&) = delete;

    GDBusConnection* bus() const { return bus_; }
    // Takes calls from whoever owns org.kde.KWin now (a KWin started anew
    // has another name); false when no one does.
    bool followKWin();
    const CallBack& callBack() const { return callBack_; }

    // Hands the reports that arrived so far to the handler, without waiting.
    void takeArrived();
    // Answers the script's question with the command, once it asks; false
    // when it does not ask in time.
    bool command(const std::string& text, std::chrono::milliseconds timeout);
    // Hands reports to the handler until `done` holds or the time is up;
    // false when it is up.
    bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

private:
    ScriptChannel(GMainContext* context, GDBusConnection* bus, std::string kwinOwner, ReportHandler handler);
    void renewOldQuestion();
    static void onCall(GDBusConnection*, const gchar* sender, const gchar*, const gchar*, const gchar* method,
                       GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self);

    GMainContext* context_;
    GDBusConnection* bus_;
    std::string kwinOwner_;
    ReportHandler handler_;
    CallBack callBack_;
    guint registration_ = 0;
    GDBusMethodInvocation* question_ = nullptr;
    std::chrono::steady_clock::time_point askedAt_;
};

}  // namespace platform::kwin
