// The service the Ambrisk 2 extension puts on the session bus: the focused
// window, one window's frame and state, the monitors with their work areas,
// and the placing of a window's frame. Only the program at programPath may
// call it, and only that program hears its signals: the interface can move
// every window of the session.
//
// The build joins this file into the extension of each format: a head that
// imports Gio, GLib, Meta and Main as the GNOME release loads them (gnome43_*
// for GNOME 43 and 44, gnome45_* for 45 and later), the line that sets
// programPath, this file, and a tail that makes that format's extension
// around AmbriskService.

const busName = 'invalid.ambrisk2.Windows';
const objectPath = '/invalid/ambrisk2/Windows';
const interfaceName = 'invalid.ambrisk2.Windows';
const interfaceXml = `<node><interface name="${interfaceName}">
  <method name="Watch">
    <arg direction="out" type="t" name="focus"/><arg direction="out" type="u" name="pid"/>
    <arg direction="out" type="i" name="primary"/><arg direction="out" type="a(iiiiiiii)" name="monitors"/>
  </method>
  <method name="Window">
    <arg direction="in" type="t" name="id"/>
    <arg direction="out" type="b" name="found"/><arg direction="out" type="s" name="title"/>
    <arg direction="out" type="u" name="pid"/><arg direction="out" type="s" name="kind"/>
    <arg direction="out" type="s" name="state"/><arg direction="out" type="(iiii)" name="frame"/>
  </method>
  <method name="Place">
    <arg direction="in" type="t" name="id"/><arg direction="in" type="s" name="state"/>
    <arg direction="in" type="(iiii)" name="frame"/><arg direction="out" type="b" name="placed"/>
  </method>
  <signal name="FocusChanged"><arg type="t" name="focus"/><arg type="u" name="pid"/></signal>
  <signal name="MonitorsChanged"><arg type="i" name="primary"/><arg type="a(iiiiiiii)" name="monitors"/></signal>
</interface></node>`;

// No frame is asked larger than this on a side, nor placed further out.
const largestCoordinate = 1 << 24;

function processId(window) {
    const pid = window.get_pid();
    return pid > 0 ? pid : 0;
}

function kindOf(window) {
    switch (window.get_window_type()) {
        case Meta.WindowType.DESKTOP: return 'desktop';
        case Meta.WindowType.DOCK: return 'panel';
        default: return 'ordinary';
    }
}

// Mutter 49 dropped the flags of maximising; older releases need them.
function isMaximized(window) {
    if (Meta.MaximizeFlags === undefined) return window.is_maximized();
    return window.get_maximized() === Meta.MaximizeFlags.BOTH;
}

// Maximised in either direction, as a window tiled to one half is: either
// keeps the window from taking a size of its own.
function fillsAnyWay(window) {
    if (Meta.MaximizeFlags === undefined) return window.is_maximized();
    return window.get_maximized() !== 0;
}

function maximize(window) {
    if (Meta.MaximizeFlags === undefined)
        window.maximize();
    else
        window.maximize(Meta.MaximizeFlags.BOTH);
}

function unmaximize(window) {
    if (Meta.MaximizeFlags === undefined)
        window.unmaximize();
    else
        window.unmaximize(Meta.MaximizeFlags.BOTH);
}

function stateOf(window) {
    if (window.minimized) return 'minimized';
    return isMaximized(window) ? 'maximized' : 'normal';
}

function rectangleValues(rectangle) {
    return [rectangle.x, rectangle.y, rectangle.width, rectangle.height];
}

class AmbriskService {
    constructor(programPath) {
        this._programPath = programPath;
        // The unique bus names of callers found to be the program, each with
        // the watch that forgets it when it leaves the bus.
        this._callers = new Map();
        this._signals = [];
        this._exported = Gio.DBusExportedObject.wrapJSObject(interfaceXml, this);
        this._exported.export(Gio.DBus.session, objectPath);
        this._nameId =
            Gio.bus_own_name_on_connection(Gio.DBus.session, busName, Gio.BusNameOwnerFlags.NONE, null, null);
        this._connect(
            global.display, 'notify::focus-window', () => this._emit('FocusChanged', '(tu)', this._focus()));
        const monitorsChanged = () => this._emit('MonitorsChanged', '(ia(iiiiiiii))', this._monitors());
        this._connect(global.display, 'workareas-changed', monitorsChanged);
        this._connect(Main.layoutManager, 'monitors-changed', monitorsChanged);
        this._connect(global.workspace_manager, 'active-workspace-changed', monitorsChanged);
    }

    destroy() {
        for (const [object, id] of this._signals) object.disconnect(id);
        for (const watch of this._callers.values()) Gio.bus_unwatch_name(watch);
        this._callers.clear();
        Gio.bus_unown_name(this._nameId);
        this._exported.unexport();
        this._exported = null;
    }

    WatchAsync(parameters, invocation) {
        this._whenCallerIsProgram(invocation, () => {
            const [focus, pid] = this._focus();
            const [primary, monitors] = this._monitors();
            return new GLib.Variant('(tuia(iiiiiiii))', [focus, pid, primary, monitors]);
        });
    }

    WindowAsync([id], invocation) {
        this._whenCallerIsProgram(invocation, () => {
            const window = this._window(id);
            if (!window) return new GLib.Variant('(bsuss(iiii))', [false, '', 0, '', '', [0, 0, 0, 0]]);
            return new GLib.Variant('(bsuss(iiii))', [
                true, window.get_title() ?? '', processId(window), kindOf(window), stateOf(window),
                rectangleValues(window.get_frame_rect())
            ]);
        });
    }

    PlaceAsync([id, state, frame], invocation) {
        this._whenCallerIsProgram(invocation, () => {
            return new GLib.Variant('(b)', [this._place(this._window(id), state, frame)]);
        });
    }

    // Leaves a minimised, maximised or full-screen state, places the frame,
    // then takes the state asked for. A Wayland client takes the new size
    // when it next draws: the caller reads the frame back until it has it.
    _place(window, state, [x, y, width, height]) {
        if (!window || kindOf(window) !== 'ordinary') return false;
        if (!['normal', 'minimized', 'maximized'].includes(state)) return false;
        const fits = value => Math.abs(value) <= largestCoordinate;
        if (width < 1 || height < 1 || ![x, y, width, height].every(fits)) return false;
        if (window.minimized) window.unminimize();
        if (window.is_fullscreen()) window.unmake_fullscreen();
        if (fillsAnyWay(window)) unmaximize(window);
        window.move_resize_frame(true, x, y, width, height);
        if (state === 'maximized')
            maximize(window);
        else if (state === 'minimized')
            window.minimize();
        return true;
    }

    // A window that the user could size: none of the shell's own.
    _window(id) {
        const found = global.display.list_all_windows().find(window => window.get_id() === id);
        return found && !found.is_override_redirect() ? found : null;
    }

    _focus() {
        const window = global.display.focus_window;
        return window ? [window.get_id(), processId(window)] : [0, 0];
    }

    _monitors() {
        const workspace = global.workspace_manager.get_active_workspace();
        const monitors = [];
        for (let i = 0; i < global.display.get_n_monitors(); ++i) {
            monitors.push([
                ...rectangleValues(global.display.get_monitor_geometry(i)),
                ...rectangleValues(workspace.get_work_area_for_monitor(i))
            ]);
        }
        return [global.display.get_primary_monitor(), monitors];
    }

    _connect(object, signal, handler) {
        this._signals.push([object, object.connect(signal, handler)]);
    }

    // Signals go to the program's connections alone, not to the whole bus.
    _emit(name, type, values) {
        const parameters = new GLib.Variant(type, values);
        for (const caller of this._callers.keys())
            Gio.DBus.session.emit_signal(caller, objectPath, interfaceName, name, parameters);
    }

    // Runs answer for a caller whose process runs the program's own file,
    // and refuses any other. The check is made once per connection.
    _whenCallerIsProgram(invocation, answer) {
        const caller = invocation.get_sender();
        const reply = () => {
            try {
                invocation.return_value(answer());
            } catch (e) {
                invocation.return_dbus_error('org.freedesktop.DBus.Error.Failed', String(e));
            }
        };
        if (this._callers.has(caller)) {
            reply();
            return;
        }
        Gio.DBus.session.call(
            'org.freedesktop.DBus', '/org/freedesktop/DBus', 'org.freedesktop.DBus', 'GetConnectionUnixProcessID',
            new GLib.Variant('(s)', [caller]), new GLib.VariantType('(u)'), Gio.DBusCallFlags.NONE, 1000, null,
            (bus, result) => {
                if (!this._runsProgram(bus, result)) {
                    invocation.return_dbus_error(
                        'org.freedesktop.DBus.Error.AccessDenied', 'This interface serves Ambrisk 2 alone.');
                    return;
                }
                if (!this._callers.has(caller)) {
                    this._callers.set(
                        caller,
                        Gio.bus_watch_name_on_connection(
                            bus, caller, Gio.BusNameWatcherFlags.NONE, null, () => this._forget(caller)));
                }
                reply();
            });
    }

    // The same file, whatever links lead to it; a process whose file was
    // replaced since it started runs the old one, which is not the program.
    _runsProgram(bus, result) {
        try {
            const [pid] = bus.call_finish(result).deepUnpack();
            const fileId = path => Gio.File.new_for_path(path).query_info('id::file', Gio.FileQueryInfoFlags.NONE,
                null).get_attribute_string('id::file');
            return fileId(`/proc/${pid}/exe`) === fileId(this._programPath);
        } catch (e) {
            return false;
        }
    }

    _forget(caller) {
        const watch = this._callers.get(caller);
        if (watch === undefined) return;
        Gio.bus_unwatch_name(watch);
        this._callers.delete(caller);
    }
}
