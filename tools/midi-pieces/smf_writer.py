"""A small Standard MIDI File writer: format 1, one conductor track and note tracks."""

import struct


def _var_len(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


def _chunk(kind, body):
    return kind + struct.pack(">I", len(body)) + body


def _track(events):
    """events: list of (tick, order, bytes); `order` sorts events of one tick (note-offs first)."""
    body = b""
    now = 0
    for tick, _, data in sorted(events, key=lambda e: (e[0], e[1])):
        body += _var_len(tick - now) + data
        now = tick
    body += _var_len(0) + b"\xff\x2f\x00"
    return _chunk(b"MTrk", body)


def meta(kind, data):
    return bytes([0xFF, kind]) + _var_len(len(data)) + data


def write_smf(path, ppqn, conductor, tracks):
    """conductor and every entry of tracks: lists of (tick, order, bytes)."""
    all_tracks = [conductor] + tracks
    header = _chunk(b"MThd", struct.pack(">HHH", 1, len(all_tracks), ppqn))
    with open(path, "wb") as f:
        f.write(header + b"".join(_track(t) for t in all_tracks))
