
export default class AmbriskExtension extends Extension {
    enable() {
        this._service = new AmbriskService(programPath);
    }

    disable() {
        this._service.destroy();
        this._service = null;
    }
}
