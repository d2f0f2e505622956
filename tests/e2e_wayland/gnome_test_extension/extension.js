'use strict';
// The tests' own view of the headless shell, independent of the extension
// under test: every window with its frame, the focus given to a window the way
// a click gives it, and screenshots. It exists only in the tests' private
// session, where the headless shell has no input devices.
const {Gio, Meta, Shell} = imports.gi;
const Main = imports.ui.main;

const interfaceXml = `<node><interface name="invalid.ambrisk2.Test">
  <method name="Windows"><arg direction="out" type="s" name="json"/></method>
  <method name="WorkArea"><arg direction="out" type="s" name="json"/></method>
  <method name="Activate">
    <arg direction="in" type="s" name="title"/><arg direction="in" type="i" name="pid"/>
    <arg direction="out" type="b" name="done"/>
  </method>
  <method name="Close">
    <arg direction="in" type="s" name="title"/><arg direction="in" type="i" name="pid"/>
    <arg direction="out" type="b" name="done"/>
  </method>
  <method name="Maximize"><arg direction="in" type="s" name="title"/></method>
  <method name="Screenshot"><arg direction="in" type="s" name="path"/></method>
</interface></node>`;

function windows() {
    return global.get_window_actors().map(actor => actor.meta_window).filter(w => !w.is_override_redirect());
}

// The window with this title, of this process unless pid is 0.
function windowOf(title, pid) {
    return windows().find(w => w.get_title() === title && (pid === 0 || w.get_pid() === pid));
}

class TestAid {
    Windows() {
        const focus = global.display.focus_window;
        return JSON.stringify(windows().map(w => {
            const r = w.get_frame_rect();
            return {title: w.get_title(), pid: w.get_pid(), focused: w === focus, minimized: w.minimized,
                maximized: w.get_maximized() !== 0, frame: [r.x, r.y, r.width, r.height]};
        }));
    }

    WorkArea() {
        const r = global.workspace_manager.get_active_workspace().get_work_area_for_monitor(
            global.display.get_primary_monitor());
        return JSON.stringify([r.x, r.y, r.width, r.height]);
    }

    Activate(title, pid) {
        // The shell starts in the overview, and leaving it ends by focusing a
        // window of its own choice: the caller asks again once it has left.
        if (Main.overview.visible) {
            Main.overview.hide();
            return false;
        }
        const found = windowOf(title, pid);
        // As a click does.
        if (found) Main.activateWindow(found);
        return found !== undefined;
    }

    // As the title bar's close button does.
    Close(title, pid) {
        const found = windowOf(title, pid);
        if (found) found.delete(global.get_current_time());
        return found !== undefined;
    }

    Maximize(title) {
        windowOf(title, 0)?.maximize(Meta.MaximizeFlags.BOTH);
    }

    ScreenshotAsync([path], invocation) {
        const stream = Gio.File.new_for_path(path).replace(null, false, Gio.FileCreateFlags.NONE, null);
        new Shell.Screenshot().screenshot(false, stream, (shooter, result) => {
            try {
                shooter.screenshot_finish(result);
                stream.close(null);
                invocation.return_value(null);
            } catch (e) {
                invocation.return_dbus_error('org.freedesktop.DBus.Error.Failed', String(e));
            }
        });
    }
}

class TestExtension {
    enable() {
        this._exported = Gio.DBusExportedObject.wrapJSObject(interfaceXml, new TestAid());
        this._exported.export(Gio.DBus.session, '/invalid/ambrisk2/Test');
        this._name = Gio.bus_own_name_on_connection(Gio.DBus.session, 'invalid.ambrisk2.Test',
            Gio.BusNameOwnerFlags.NONE, null, null);
    }

    disable() {
        Gio.bus_unown_name(this._name);
        this._exported.unexport();
    }
}

function init() {
    return new TestExtension();
}
