// Ambrisk 2's channel into KWin, loaded once for the program's run. The
// program fills `setup` in a private copy of this file: where to call back
// (its own unique bus name, so that nothing else on the bus hears what the
// script reports) and a token that proves the call comes from this copy.
// The script reports the active window and the outputs when it starts and
// whenever they change, and asks the program for its next command, which the
// program answers when it has one (or with nothing, before the call would
// time out, and the script asks again). A command is JSON:
//   {kind: "query", serial, window}: report the window;
//   {kind: "apply", serial, window, show, x, y, width, height}: give it a
//       frame and a show state, report it, and report it again each time its
//       frame or state changes (its program takes a new size in its own time);
//   {kind: "forget"}: stop reporting those changes.
// A report is one text of key=value fields joined by "&", each value
// URI-encoded: the command's serial (0 for news), the active window's id,
// each output's area and work area, and the window concerned if any.
// Runs on KWin 5.27 (activeClient, clientList, screens by number) and on
// Plasma 6 (activeWindow, windowList, screens as objects).
const setup = /*@SETUP@*/ null;

const plasma6 = 'activeWindow' in workspace;

function activeWindow() {
    return plasma6 ? workspace.activeWindow : workspace.activeClient;
}
function allWindows() {
    return plasma6 ? workspace.windowList() : workspace.clientList();
}
function outputs() {
    if (plasma6) return workspace.screens;
    const numbers = [];
    for (let screen = 0; screen < workspace.numScreens; ++screen) numbers.push(screen);
    return numbers;
}
function area(option, output) {
    return workspace.clientArea(option, output, workspace.currentDesktop);
}
function idOf(window) {
    return window ? String(window.internalId) : '';
}

function sameRect(a, b) {
    return a.x === b.x && a.y === b.y && a.width === b.width && a.height === b.height;
}
function maximized(window) {
    // KWin 5.27 does not show scripts the maximised state; there a window
    // that fills its work area exactly counts as maximised.
    if (window.maximizeMode !== undefined) return window.maximizeMode === 3;
    return sameRect(window.frameGeometry, workspace.clientArea(KWin.MaximizeArea, window));
}
function showState(window) {
    if (window.minimized) return 'minimized';
    return maximized(window) ? 'maximized' : 'normal';
}
function kindOf(window) {
    if (window.desktopWindow) return 'desktop';
    return window.dock ? 'panel' : 'ordinary';
}

function field(key, value) {
    return key + '=' + encodeURIComponent(String(value));
}
function rectText(r) {
    return [r.x, r.y, r.width, r.height].join(',');
}

function call(method, argument, callback) {
    callDBus(setup.service, setup.path, 'org.ambrisk2.KWinScript', method, setup.token, argument, callback);
}

function report(window, serial) {
    const fields = [field('serial', serial), field('active', idOf(activeWindow()))];
    for (const output of outputs())
        fields.push(field(
            'screen', rectText(area(KWin.ScreenArea, output)) + ',' + rectText(area(KWin.MaximizeArea, output))));
    if (window) {
        const frame = window.frameGeometry;
        fields.push(
            field('id', idOf(window)), field('pid', window.pid), field('caption', window.caption),
            field('frame', rectText(frame)), field('state', showState(window)), field('kind', kindOf(window)));
    }
    call('Report', fields.join('&'));
}

function find(id) {
    for (const window of allWindows())
        if (idOf(window) === id) return window;
    return null;
}

// The window whose changes are reported, with the handler that does it.
let followed = null;

function forget() {
    if (!followed) return;
    followed.window.frameGeometryChanged.disconnect(followed.handler);
    followed.window.minimizedChanged.disconnect(followed.handler);
    followed = null;
}

function apply(window, command) {
    if (window.fullScreen) window.fullScreen = false;
    if (window.minimized) window.minimized = false;
    if (maximized(window)) window.setMaximize(false, false);
    window.frameGeometry = {x: command.x, y: command.y, width: command.width, height: command.height};
    if (command.show === 'maximized') window.setMaximize(true, true);
    if (command.show === 'minimized') window.minimized = true;
    followed = {window: window, handler: () => report(window, command.serial)};
    window.frameGeometryChanged.connect(followed.handler);
    window.minimizedChanged.connect(followed.handler);
}

function serve(text) {
    forget();
    // An empty answer only renews the question.
    if (!text) return;
    const command = JSON.parse(text);
    if (command.kind === 'forget') return;
    const window = find(command.window);
    if (window && command.kind === 'apply') apply(window, command);
    report(window, command.serial);
}

function askForCommands() {
    call('Next', undefined, text => {
        serve(text);
        askForCommands();
    });
}

if (setup) {
    const pushActive = () => report(activeWindow(), 0);
    (plasma6 ? workspace.windowActivated : workspace.clientActivated).connect(pushActive);
    for (const name of ['screensChanged', 'numberScreensChanged', 'screenResized', 'virtualScreenGeometryChanged'])
        if (workspace[name]) workspace[name].connect(pushActive);
    pushActive();
    askForCommands();
}
