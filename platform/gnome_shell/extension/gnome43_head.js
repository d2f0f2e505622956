'use strict';
// The Ambrisk 2 extension for GNOME Shell 43 and 44.
const {Gio, GLib, Meta} = imports.gi;
const Main = imports.ui.main;
