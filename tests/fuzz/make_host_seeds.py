#!/usr/bin/python3
"""Writes the host boundary's seeds: sessions a host might play, encoded as the fuzzer decodes
them (each value is read from the end of the input, one byte per small choice). Run from this
directory: /usr/bin/python3 make_host_seeds.py"""
import struct


class Session:
    def __init__(self):
        self.read = []  # bytes in the order the fuzzer reads them

    def byte(self, value):
        self.read.append(value & 0xFF)

    def op(self, code):
        self.byte(code)

    def valid(self, value):  # pickEnum: a value of the enumeration
        self.byte(5)
        self.byte(value)

    def create(self, path=0, rotation=0):
        self.op(0)
        self.byte(path)
        self.valid(rotation)

    def speaker(self, value=0):
        self.op(11)
        self.valid(value)

    def frames(self, count, step=7):  # step 7: five frames' time, 8: one frame
        self.op(2)
        self.byte(count - 1)
        self.byte(step)

    def bands(self, levels):
        self.op(5)
        self.byte(4)
        self.byte(len(levels) - 1)
        for level in levels:  # in -120..20, read as a 32-bit fraction of the range
            self.byte(8)
            fraction = min(int((level + 120.0) / 140.0 * 0xFFFFFFFF), 0xFFFFFFFF)
            for b in struct.pack(">I", fraction):
                self.byte(b)

    def special_bands(self, choices):  # pickFloat choices 0..6: NaN, inf, -inf, max, -max, ...
        self.op(5)
        self.byte(4)
        self.byte(len(choices) - 1)
        for choice in choices:
            self.byte(choice)

    def track_change(self):
        self.op(4)

    def sound_class(self, value):
        self.op(8)
        self.valid(value)

    def rotate(self, target):
        self.op(9)
        self.valid(target)

    def degree_abort(self):
        self.op(10)
        self.byte(1)

    def terminate(self):
        self.op(1)

    def data(self):
        return bytes(reversed(self.read))


def music(s, loud):
    s.bands([-30.0 if loud else -80.0] + [-60.0 + 3 * i for i in range(15)])


def playing():
    s = Session()
    s.speaker(3)
    s.create()
    for i in range(12):
        music(s, i % 2 == 0)
        s.frames(12)
    s.sound_class(1)
    s.track_change()
    for i in range(6):
        music(s, i % 3 == 0)
        s.frames(8)
    return s


def rotating():
    s = playing()
    s.rotate(1)
    s.frames(6, 8)
    s.degree_abort()
    s.frames(4, 8)
    s.rotate(1)
    s.frames(20, 8)
    return s


def recreating():
    s = playing()
    s.terminate()
    s.frames(2)
    s.speaker(9)
    s.create(1, 1)
    music(s, True)
    s.frames(30)
    return s


def hostile():
    s = Session()
    s.speaker(0)
    s.create()
    s.special_bands([0, 1, 2, 3, 4, 5, 6])
    s.frames(16)
    s.op(12)  # a clock jump of an hour
    s.byte(1)
    s.byte(4)
    s.special_bands([1, 2])
    s.frames(16)
    s.track_change()
    s.frames(16)
    return s


for name, session in {"playing": playing(), "rotating": rotating(),
                      "recreating": recreating(), "hostile": hostile()}.items():
    with open("host_boundary/" + name, "wb") as f:
        f.write(session.data())
