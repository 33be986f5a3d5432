#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets (fuzz/corpus/<target>/)
from cases of the test suite, in the input format that each target's
source describes at its top.  Usage: fuzz/seeds.py (from anywhere)."""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    d = os.path.join(here, "corpus", target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


# rendertext: header, then the text.  The defaults are the layout tests'
# (8x16 cells, no gutter, width 200).
def layout(text, flags=1, gw=8, gh=16, x=0, y=0, width=200, bottom=10000,
           tabs=(), q1=None, q2=None, pos1=-1, pos2=-1):
    t = list(tabs) + [0] * (4 - len(tabs))
    mask = (q1 is not None) | (q2 is not None) << 1
    q = [c * 2 for p in (q1, q2) for c in (p or (0, 0))]
    h = struct.pack("<BbbiihiB4iB4hhh", flags, gw, gh, x * 2, y * 2, width,
                    bottom, len(tabs), *t, mask, *q, pos1, pos2)
    return h + text


rendertext = {
    "empty-gutter": layout(b"", flags=0),
    "above-window": layout(b"a\nb", flags=0, y=-100),
    "word-moved": layout(b"ab cdef", width=40),
    "word-broken": layout(b"abcdefgh", width=40),
    "case-change": layout(b"helloWorld ab ABCdef", width=48),
    "hanging-indent": layout(b"  ab cdef", x=20, width=48),
    "gutter-wrap": layout(b"ab cdef", flags=0, width=48),
    "tabs": layout(b"\tab cd\na\tb\tc\nd", width=56, tabs=(25, 50)),
    "tall-row": layout(b"abcdefgh\tx\ny", flags=3, tabs=(25,)),
    "middle-column": layout(b"a\tbcdefghij", tabs=(25, 50)),
    "narrow-cells": layout(b"a\tb", gw=1, width=100, tabs=(33,)),
    "odd-cells": layout(b"ab", gw=9, gh=17),
    "crlf-scroll": layout(b"a\r\nb\nc", flags=0, y=-48),
    "bottom": layout(b"a\nb\nc", bottom=20),
    "no-atlas": layout(b"Wig~a\xe9", flags=0, gh=20),
    "gutter-111": layout(b"a" + b"\na" * 110, flags=0),
    "hits": layout(b"ab\ncd", width=100, q1=(50, 20), q2=(3, 5)),
    "hit-wrap": layout(b"ab cdef", width=40, q1=(30, 5), q2=(30, 20)),
    "hit-column": layout(b"abcdefgh\tx\ny", tabs=(25,), q1=(40, 20)),
    "bars-one": layout(b"ab\ncd", width=100, pos1=1, pos2=1),
    "bars-two": layout(b"ab\ncd", width=100, pos1=0, pos2=5),
}


# editbuf: operations one after the other.
def extra(e):
    return struct.pack("<b", e)


def load(data, e=0):
    return bytes([0, len(data)]) + data + extra(e)


def missing(e=0):
    return bytes([1]) + extra(e)


def directory(e=0):
    return bytes([2]) + extra(e)


def insert(s, pos):
    return bytes([3, len(s)]) + s + struct.pack("<H", pos + 1)


def delete(count, pos):
    return bytes([4]) + struct.pack("<HH", pos + 1, count + 1)


def extend(e):
    return bytes([5]) + extra(e)


TEN = load(b"0123456789", 5)
editbuf = {
    "loads": missing() + missing(5) + load(b"") + load(b"0123456789")
    + directory(7) + load(b"0123456789", -3) + missing(127),
    "nul": load(b"ab\0cd") + insert(b"X", 2) + insert(b"Y", 4)
    + delete(2, 2) + extend(0),
    "reload": load(b"hello") + insert(b"well, ", 0) + load(b"hello", 2),
    "fits": TEN + insert(b"abcde", 10) + delete(2, 3),
    "regrows": TEN + insert(b"abcdef", 10) + insert(b"ab", 0),
    "out-of-range": TEN + insert(b"x", -1) + insert(b"x", 11)
    + delete(1, 10) + delete(11, 0) + delete(-1, 5),
    "delete-all": TEN + delete(10, 0) + insert(b"a first line\n", 0),
    "extend": TEN + extend(0) + extend(20) + extend(-1) + extend(127),
    "no-block": insert(b"x", 0) + delete(0, 0) + extend(5),
}


# parse: the definitions of A, B, C and D, separated by NUL bytes.
def objects(*defs):
    return b"\0".join(d.encode() for d in defs)


parse = {
    "orvcalc": objects("Segment(B,C)", "{3,9}", "{4,10,@string 1}"),
    "values": objects("{,{},{5},{{1,2}},@a \t  b ,@,+5,.5,1 2,-,-2.5e1x}"),
    "params": objects("{B,C,D}", "(x,y) {1,2}", "(x,y", "()7"),
    "objects": objects("{B,B,nosuch}", "{3,9}"),
    "calls": objects("{twice(7),twice(),Segment(1,2),Segment({1,2}),who()}"),
    "nested-calls": objects("Segment(twice(1),2)"),
    "undefined-call": objects("Segment(B,nosuch(2))", "{3,9}"),
    "user-function": objects("D(1,2)", "", "", "(p) {p,7}"),
    "names-exact": objects("{segment(1),{(1,2)}}"),
    "open": objects("{B,C,D}", "{1,2", "5,{1,2", "twice(3"),
    "other-kind": objects("{B,C}", "{1,2)", "twice(4}"),
    "top-closers": objects("{B,C,D}", "1)2", ")", "{1}}2"),
    "self": objects("A"),
    "fan": objects("{A,A}"),
    "mutual": objects("B", "A"),
    "self-call": objects("twice(A(1))"),
    "held": objects("Segment(B,twice(1))", "{twice(3),4}"),
    "trace": objects("{  @a \t b  ,\n}", "u(1,2)", "x ( 1 )"),
    # orv's language: parameters bound, escaped strings
    "bound": objects("{B(1,2),B({3,4}),C(5),C(),B(7),D(D(1))}", "(x, y) {y, x}", "(p) {p, x}",
                     "(q) B(q, C(q))"),
    "escaped": objects('{@"a\\tb", @"x(y" , @"\\"q\\"", @"\\x41\\x00", @"open, @"a" b}'),
}


# util: a flag byte, then texts separated by NUL bytes.
def texts(flags, *t):
    return bytes([flags]) + b"\0".join(x.encode() for x in t)


util = {
    "scan": texts(0, ",{", "ab c,{d"),
    "delims": texts(0, "({,})", "Segment(A,{1, @x y})"),
    "whitespace": texts(0, "", "  a \t\n b  "),
    "blank": texts(0, " ", "   "),
    "crlf": texts(0, "\r\n", "a\r\nb"),
    "trim": texts(0, "", "  a"),
    "quote": texts(0, "", "it's"),
    "slash": texts(0, "", "dir/"),
    "backslash": texts(0, "", "a\\"),
    "join": texts(0, "ab", "c", "d"),
    "join-null": texts(2, "", "cd"),
    "replace": texts(1, "ab", "cd"),
    "replace-inside": texts(5, "abcd", "x"),
}

for name, data in rendertext.items():
    put("rendertext", name, data)
for name, data in editbuf.items():
    put("editbuf", name, data)
for name, data in parse.items():
    put("parse", name, data)
for name, data in util.items():
    put("util", name, data)
