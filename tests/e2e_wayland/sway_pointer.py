"""Gives a headless Sway's seat a pointer, so that the clicks made with `swaymsg seat seat0 cursor`
reach the programs' windows and not only Sway's own focus: a headless Sway has no input device, and
a seat without a pointer gives its clients none. It is a virtual pointer
(zwlr_virtual_pointer_manager_v1), made over the bare Wayland wire protocol, kept while this process
runs. Run as the compositor's user with WAYLAND_DISPLAY and XDG_RUNTIME_DIR set; prints "ready".

    python3 sway_pointer.py
"""

import os
import socket
import struct
import sys

MANAGER = "zwlr_virtual_pointer_manager_v1"


def message(object_id, opcode, payload):
    return struct.pack("=II", object_id, (8 + len(payload)) << 16 | opcode) + payload


def string(text):
    data = text.encode() + b"\0"
    return struct.pack("=I", len(data)) + data + b"\0" * (-len(data) % 4)


def read_messages(connection, buffer):
    """(object id, opcode, payload) of each whole message in buffer plus what arrives next."""
    buffer += connection.recv(65536)
    if not buffer:
        sys.exit("the compositor closed the connection")
    messages = []
    while len(buffer) >= 8:
        object_id, word = struct.unpack_from("=II", buffer)
        size = word >> 16
        if len(buffer) < size:
            break
        messages.append((object_id, word & 0xFFFF, buffer[8:size]))
        buffer = buffer[size:]
    return messages, buffer


def main():
    path = os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ.get("WAYLAND_DISPLAY", "wayland-0"))
    connection = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    connection.connect(path)
    # wl_display (1).get_registry -> 2; wl_display.sync -> 3, done once every global is announced.
    connection.sendall(message(1, 1, struct.pack("=I", 2)) + message(1, 0, struct.pack("=I", 3)))
    buffer, manager, synced = b"", None, False
    while not synced:
        messages, buffer = read_messages(connection, buffer)
        for object_id, opcode, payload in messages:
            if object_id == 2 and opcode == 0:  # wl_registry.global(name, interface, version)
                name, length = struct.unpack_from("=II", payload)
                if payload[8:8 + length - 1].decode() == MANAGER:
                    manager = name
            synced |= object_id == 3
    if manager is None:
        sys.exit(f"the compositor offers no {MANAGER}")
    # wl_registry.bind(name, interface, version 1, new id 4); then the manager's
    # create_virtual_pointer(seat: none, the default seat; new id 5).
    connection.sendall(message(2, 0, struct.pack("=I", manager) + string(MANAGER) + struct.pack("=II", 1, 4)) +
                       message(4, 0, struct.pack("=II", 0, 5)))
    print("ready", flush=True)
    while True:
        read_messages(connection, b"")


if __name__ == "__main__":
    main()
