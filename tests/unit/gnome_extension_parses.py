"""Checks that each format of the GNOME Shell extension in the build tree parses in GJS, the engine
that GNOME Shell runs it in: the GNOME 45 one as an ES module, the GNOME 43 one as a script. Only the
GNOME 43 one can run here (Debian 12's shell); this catches a syntax slip in the other.

    python3 gnome_extension_parses.py BUILD/gnome-shell
"""

import ctypes
import json
import os
import sys

UUID = "ambrisk2@ambrisk2.invalid"


class GError(ctypes.Structure):
    _fields_ = [("domain", ctypes.c_uint32), ("code", ctypes.c_int), ("message", ctypes.c_char_p)]


def main(folder):
    gjs = ctypes.CDLL("libgjs.so.0")
    gjs.gjs_context_new.restype = ctypes.c_void_p
    gjs.gjs_context_register_module.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p,
                                                ctypes.POINTER(ctypes.POINTER(GError))]
    gjs.gjs_context_eval.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_ssize_t, ctypes.c_char_p,
                                     ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.POINTER(GError))]
    context = gjs.gjs_context_new()
    failures = 0
    for format in ("gnome43", "gnome45"):
        path = os.path.abspath(os.path.join(folder, format, UUID, "extension.js"))
        error = ctypes.POINTER(GError)()
        if format == "gnome45":
            # Registering compiles the module without linking its imports, which only the shell has.
            parsed = gjs.gjs_context_register_module(context, format.encode(), f"file://{path}".encode(),
                                                     ctypes.byref(error))
        else:
            with open(path, encoding="utf-8") as f:
                script = f"new Function({json.dumps(f.read())});".encode()
            status = ctypes.c_int()
            parsed = gjs.gjs_context_eval(context, script, len(script), path.encode(), ctypes.byref(status),
                                          ctypes.byref(error))
        print(f"{format}: {'parses' if parsed else error.contents.message.decode()}")
        failures += not parsed
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
