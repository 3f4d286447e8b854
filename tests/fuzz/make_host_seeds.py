#!/usr/bin/python3
"""Writes the host boundary's seeds: what a host might do up to a frame, encoded as the fuzzer
decodes it (each value is read from the end of the input, one byte per small choice, the most
significant byte first). Run from this directory: /usr/bin/python3 make_host_seeds.py"""
import os
import struct

# Where each call first appears in the fuzzer's table of 32 (kCalls).
BANDS, FRAME, SOUND, DEGREE, ROTATE = 0, 10, 16, 18, 21
TRACK_CHANGE, BEATS, SPEAKER, CREATE, TERMINATE, CLOCK, MEDDLE = 23, 24, 25, 26, 27, 28, 29

# pickFloat's choices of a value no host should send.
NAN, INF, MINUS_INF, FLT_MAX, MINUS_FLT_MAX, DENORMAL, MINUS_ZERO = 8, 9, 10, 11, 12, 13, 14


class Session:
    def __init__(self):
        self.read = []  # bytes in the order the fuzzer reads them

    def byte(self, value):
        self.read.append(value & 0xFF)

    def fraction(self, value):  # ConsumeProbability: 32 bits
        for b in struct.pack(">I", min(int(value * 0xFFFFFFFF), 0xFFFFFFFF)):
            self.byte(b)

    def valid(self, value):  # pickEnum: a value of the enumeration
        self.byte(0)
        self.byte(value)

    def enum_value(self, choice):  # pickEnum: 4 is -1, 5 the count, 6 an extreme
        self.byte(choice)
        if choice == 6:
            self.byte(1)  # the smallest

    def bands(self, levels, odd=None, at=0):
        self.byte(BANDS)
        self.byte(0)  # a count of 1 to 64
        self.byte(len(levels) - 1)
        for level in levels:  # in -120..20
            self.byte(round((level + 120.0) / 140.0 * 255))
        if odd is None:
            self.byte(0)
        else:
            self.byte(7)
            self.byte(at)
            self.byte(odd)

    def long_bands(self, choice, extra=0):  # 4: 1024 values, 5: 1025 + extra
        self.byte(BANDS)
        self.byte(choice)
        if choice == 5:
            for b in struct.pack(">H", extra):
                self.byte(b)
        for i in range(64):
            self.byte(96 + (i * 5) % 64)
        self.byte(0)

    def missing_bands(self, count):
        self.byte(BANDS)
        self.byte(7)
        self.byte(count)
        self.byte(1)  # a record with a count and no values

    def null_bands(self):
        self.byte(BANDS)
        self.byte(7)
        self.byte(0)
        self.byte(0)  # no record at all

    def frame(self, step=0):  # 0: 99 ms, 1: a 60th of a second
        self.byte(FRAME)
        self.byte(step)

    def stalled_frame(self, clock_choice):
        self.byte(FRAME)
        self.byte(4)
        self.byte(clock_choice)

    def sound_class(self, value):
        self.byte(SOUND)
        self.valid(value)

    def rotate(self, target):
        self.byte(ROTATE)
        self.valid(target)

    def degree(self, degrees):
        self.byte(DEGREE)
        self.byte(0)  # not the abort value
        self.byte(0)  # within -360..450
        self.fraction((degrees + 360.0) / 810.0)

    def degree_special(self, choice):
        self.byte(DEGREE)
        self.byte(0)
        self.byte(choice)

    def degree_abort(self):
        self.byte(DEGREE)
        self.byte(1)

    def speaker(self, value):
        self.byte(SPEAKER)
        self.valid(value)

    def create(self, path=0, rotation=0):  # path: res, /res/, "", no/such/dir, res/images, \res
        self.byte(CREATE)
        self.byte(path)
        self.valid(rotation)

    def terminate(self):
        self.byte(TERMINATE)

    def track_change(self):
        self.byte(TRACK_CHANGE)

    def beats(self, value):
        self.byte(BEATS)
        for b in struct.pack(">I", (value + 2**31) & 0xFFFFFFFF):  # read as an offset from INT_MIN
            self.byte(b)

    def clock(self, choice):  # 2: an hour back, 4: an hour on, 5: a day on
        self.byte(CLOCK)
        self.byte(choice)

    def meddle(self, choice, *arguments):
        self.byte(MEDDLE)
        self.byte(choice)
        for argument in arguments:
            self.byte(argument)

    def data(self):
        return bytes(reversed(self.read))


def music(s, loud):
    s.bands([-30.0 if loud else -80.0] + [-60.0 + 3 * i for i in range(15)])


def playing():
    s = Session()
    music(s, True)
    s.sound_class(3)
    s.beats(120)
    music(s, False)
    s.frame()
    return s


def track_change():
    s = Session()
    music(s, True)
    s.track_change()
    music(s, False)
    s.frame()
    return s


def rotating():
    s = Session()
    music(s, True)
    s.rotate(1)
    s.degree(45.0)
    s.degree_abort()
    s.rotate(0)
    s.degree(90.0)
    s.frame(1)
    return s


def recreating():
    s = Session()
    s.terminate()
    s.track_change()  # dropped: no instance
    s.speaker(9)
    s.create(1, 1)
    music(s, True)
    s.frame()
    return s


def missing_assets():
    s = Session()
    s.terminate()
    s.speaker(3)
    s.create(3)
    music(s, True)
    s.frame()
    return s


def hostile():
    s = Session()
    s.bands([-40.0] * 8, NAN, 3)
    s.bands([-40.0] * 8, INF, 0)
    s.long_bands(4)
    s.long_bands(5, 3000)
    s.missing_bands(2)
    s.null_bands()
    s.sound_class(0)
    s.byte(SOUND)
    s.enum_value(5)
    s.byte(ROTATE)
    s.enum_value(6)
    s.degree_special(NAN)
    s.byte(SPEAKER)
    s.enum_value(4)
    s.create(2)  # an empty resource path while the instance lives
    s.clock(4)
    s.meddle(7)  # a GL error left pending
    s.bands([-50.0] * 16, MINUS_FLT_MAX, 15)
    s.stalled_frame(5)
    return s


def host_state():
    s = Session()
    music(s, True)
    s.meddle(1)  # scissor
    s.meddle(2)  # colour mask
    s.meddle(3)  # blending
    s.meddle(4)  # culling
    s.meddle(5)  # depth
    s.meddle(6, 0x10, 0x00, 0x20, 0x20)  # pixel store: row length 4096, rows and pixels
    s.meddle(0, 0, 0, 0, 0)  # an empty viewport off the target
    s.frame()
    return s


os.makedirs("host_boundary", exist_ok=True)
for name in os.listdir("host_boundary"):
    os.remove(os.path.join("host_boundary", name))
for name, session in {"playing": playing(), "track_change": track_change(),
                      "rotating": rotating(), "recreating": recreating(),
                      "missing_assets": missing_assets(), "hostile": hostile(),
                      "host_state": host_state()}.items():
    with open(os.path.join("host_boundary", name), "wb") as f:
        f.write(session.data())
