// Ambrisk 2's channel into KWin. The program fills `setup` in a private copy
// of this file for each use: where to call back (its own unique bus name, so
// that nothing else on the bus hears what the script reports), a token that
// proves the call comes from this copy, and one request:
//   watch: report now, and again whenever another window becomes active or
//          the outputs change, for as long as the script stays loaded;
//   query: report one window;
//   apply: give one window a frame and a show state, report it, and report
//          it again each time its frame or state changes (its program
//          answers a new size in its own time).
// A report is one text of key=value fields joined by "&", each value
// URI-encoded: the request's serial (0 for news), the active window's id,
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
    callDBus(setup.service, setup.path, 'org.ambrisk2.KWinScript', 'Report', setup.token, fields.join('&'));
}

function find(id) {
    for (const window of allWindows())
        if (idOf(window) === id) return window;
    return null;
}

function apply(window, request) {
    if (window.fullScreen) window.fullScreen = false;
    if (window.minimized) window.minimized = false;
    if (maximized(window)) window.setMaximize(false, false);
    window.frameGeometry = {x: request.x, y: request.y, width: request.width, height: request.height};
    if (request.show === 'maximized') window.setMaximize(true, true);
    if (request.show === 'minimized') window.minimized = true;
    const again = () => report(window, request.serial);
    window.frameGeometryChanged.connect(again);
    window.minimizedChanged.connect(again);
}

function watch() {
    const pushActive = () => report(activeWindow(), 0);
    (plasma6 ? workspace.windowActivated : workspace.clientActivated).connect(pushActive);
    for (const name of ['screensChanged', 'numberScreensChanged', 'screenResized', 'virtualScreenGeometryChanged'])
        if (workspace[name]) workspace[name].connect(pushActive);
    pushActive();
}

if (setup) {
    const request = setup.request;
    if (request.kind === 'watch') {
        watch();
    } else {
        const window = find(request.window);
        if (window && request.kind === 'apply') apply(window, request);
        report(window, request.serial);
    }
}
