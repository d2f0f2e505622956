
class AmbriskExtension {
    enable() {
        this._service = new AmbriskService(programPath);
    }

    disable() {
        this._service.destroy();
        this._service = null;
    }
}

function init() {
    return new AmbriskExtension();
}
