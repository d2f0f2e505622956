"""Gives a headless Sway's seat a pointer and a keyboard, made over the bare Wayland wire protocol
(zwlr_virtual_pointer_manager_v1, zwp_virtual_keyboard_manager_v1) and kept while this process runs.
A headless Sway has no input device, and a seat without a pointer gives its clients none: with this,
the clicks made with `swaymsg seat seat0 cursor` reach the programs' windows and not only Sway's own
focus. Run as the compositor's user with WAYLAND_DISPLAY and XDG_RUNTIME_DIR set; prints "ready",
then reads commands from standard input, one a line:

    key CODE [SHIFT]     a press and release of the key with this evdev code (15 is Tab), with Shift
    move X Y W H         the pointer to (X, Y) of an output of W x H, as a mouse moves it
"""

import os
import socket
import struct
import sys
import tempfile
import time

POINTER = "zwlr_virtual_pointer_manager_v1"
KEYBOARD = "zwp_virtual_keyboard_manager_v1"
# libxkbcommon resolves the includes from the system's XKB data, in the compositor and in clients.
KEYMAP = b"""xkb_keymap {
    xkb_keycodes { include "evdev+aliases(qwerty)" };
    xkb_types { include "complete" };
    xkb_compat { include "complete" };
    xkb_symbols { include "pc+us+inet(evdev)" };
};
\0"""
SHIFT_CODE, SHIFT_MASK = 42, 1
# The objects this client makes, by id: 1 is wl_display.
REGISTRY, SYNC, POINTER_MANAGER, POINTER_DEVICE, SEAT, KEYBOARD_MANAGER, KEYBOARD_DEVICE = range(2, 9)


def message(object_id, opcode, payload=b""):
    return struct.pack("=II", object_id, (8 + len(payload)) << 16 | opcode) + payload


def string(text):
    data = text.encode() + b"\0"
    return struct.pack("=I", len(data)) + data + b"\0" * (-len(data) % 4)


def globals_of(connection):
    """{interface: name} of the compositor's globals."""
    connection.sendall(message(1, 1, struct.pack("=I", REGISTRY)) + message(1, 0, struct.pack("=I", SYNC)))
    buffer, found = b"", {}
    while True:
        data = connection.recv(65536)
        if not data:
            sys.exit("the compositor closed the connection")
        buffer += data
        while len(buffer) >= 8:
            object_id, word = struct.unpack_from("=II", buffer)
            size = word >> 16
            if len(buffer) < size:
                break
            payload, buffer = buffer[8:size], buffer[size:]
            if object_id == REGISTRY and word & 0xFFFF == 0:  # wl_registry.global(name, interface, version)
                name, length = struct.unpack_from("=II", payload)
                found[payload[8:8 + length - 1].decode()] = name
            if object_id == SYNC:
                return found


def bind(name, interface, version, new_id):
    return message(REGISTRY, 0, struct.pack("=I", name) + string(interface) + struct.pack("=II", version, new_id))


def main():
    path = os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ.get("WAYLAND_DISPLAY", "wayland-0"))
    connection = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    connection.connect(path)
    found = globals_of(connection)
    for interface in (POINTER, KEYBOARD, "wl_seat"):
        if interface not in found:
            sys.exit(f"the compositor offers no {interface}")
    connection.sendall(bind(found[POINTER], POINTER, 1, POINTER_MANAGER) +
                       message(POINTER_MANAGER, 0, struct.pack("=II", 0, POINTER_DEVICE)) +
                       bind(found["wl_seat"], "wl_seat", 1, SEAT) +
                       bind(found[KEYBOARD], KEYBOARD, 1, KEYBOARD_MANAGER) +
                       message(KEYBOARD_MANAGER, 0, struct.pack("=II", SEAT, KEYBOARD_DEVICE)))
    with tempfile.TemporaryFile() as keymap:
        keymap.write(KEYMAP)
        keymap.flush()
        # keymap(format 1: XKB text, fd, size); the fd travels beside the message.
        keymap_message = message(KEYBOARD_DEVICE, 0, struct.pack("=II", 1, len(KEYMAP)))
        socket.send_fds(connection, [keymap_message], [keymap.fileno()])
    print("ready", flush=True)
    for line in sys.stdin:
        words = line.split()
        stamp = int(time.monotonic() * 1000) & 0xFFFFFFFF
        if words[:1] == ["move"]:
            # motion_absolute(time, x, y, x extent, y extent), then frame.
            x, y, width, height = map(int, words[1:5])
            connection.sendall(message(POINTER_DEVICE, 1, struct.pack("=IIIII", stamp, x, y, width, height)) +
                               message(POINTER_DEVICE, 4))
            print("done", flush=True)
        if words[:1] != ["key"]:
            continue
        code, shift = int(words[1]), "SHIFT" in words[2:]
        modifiers = message(KEYBOARD_DEVICE, 2, struct.pack("=IIII", SHIFT_MASK if shift else 0, 0, 0, 0))
        key = [message(KEYBOARD_DEVICE, 1, struct.pack("=III", stamp, code, state)) for state in (1, 0)]
        connection.sendall((modifiers if shift else b"") + key[0] + key[1] +
                           (message(KEYBOARD_DEVICE, 2, struct.pack("=IIII", 0, 0, 0, 0)) if shift else b""))
        print("done", flush=True)


if __name__ == "__main__":
    main()
