#!/usr/bin/env python3
"""Writes the seed corpus of the state fuzzer into corpus/ next to this script.

Seeds: states as the plug-in writes them, the documented example, hand-edited states a user or
another tool might produce, and truncated or corrupted blocks. Run again after changing it; the
files are committed so the fuzz run needs no Python. Files named regression-*.bin are inputs
the fuzzer once found faulty, kept as they were; this script leaves them alone.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus")
DECL = '<?xml version="1.0" encoding="UTF-8"?> '
ORDER = ["dbEnable", "dbSideChain", "dbHPEnable", "dbInput", "dbRMS", "dbWide", "dbHP", "dbKnee",
         "dbRatio", "dbThreshold", "dbAttack", "dbRelease", "dbOutput", "dbLimit", "dbWet", "dbMSInput"]
SWITCHES = {"dbEnable", "dbSideChain", "dbHPEnable", "dbLimit", "dbMSInput"}


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def snap(v):
    step = f32(0.001)
    return min(1.0, max(0.0, f32(step * math.floor(f32(f32(v) / step) + 0.5))))


def juce_double(x):
    """The double formatting of a grid value as JUCE writes it: 16 significant decimals for
    values from 0.1 up, 17 below, 18 below 0.01; trailing zeros dropped; whole numbers as "n.0"."""
    if x == int(x):
        return "%d.0" % int(x)
    places = 16 if x >= 0.1 else 17 if x >= 0.01 else 18
    return ("%.*f" % (places, x)).rstrip("0")


def element(values, tag="MYPLUGINSETTINGS"):
    attrs = " ".join('%s="%s"' % (k, (("1" if v else "0") if k in SWITCHES else juce_double(snap(v))))
                     for k, v in values.items())
    return DECL + "<%s %s/>" % (tag, attrs)


def block(text, length=None):
    data = text if isinstance(text, bytes) else text.encode("utf-8")
    n = len(data) if length is None else length
    return b"VC2!" + struct.pack("<i", n) + data + b"\0"


def main():
    os.makedirs(OUT, exist_ok=True)
    program0 = dict(zip(ORDER, [1, 0, 0, 0.5, 0, 0, 0, 0, 0.47368422, 0.5011872, 0.0198, 0.26663333,
                                0.5, 0, 1.0, 0]))
    busy = dict(zip(ORDER, [0, 1, 1, 0.137, 0.999, 0.001, 0.5, 0.25, 1.0, 0.017782792, 0.3, 0.09996667,
                            0.587, 1, 0.7, 1]))
    example = dict(zip(ORDER, [1, 0, 0, 0.5, 0, 0, 0, 0, 0, 0, 0, 0, 0.5, 0, 1.0, 0]))
    valid = block(element(program0))

    seeds = {
        "program0": valid,
        "busy": block(element(busy)),
        "example": block(element(example)),
        "lowercase-one-attribute": block(DECL + '<mypluginsettings dbInput="0.25"/>'),
        "number-words": block(DECL + '<MYPLUGINSETTINGS dbEnable="0.3" dbWet="1.7" dbInput="-2" '
                                     'dbOutput="inf" dbHP="-inf" dbKnee="nan" dbLimit="nan" dbRatio="abc" '
                                     'dbAttack="1e-320" dbRelease=" 0.25xyz"/>'),
        "children": block(DECL + '<MYPLUGINSETTINGS dbInput="0.25"><x dbWet="0"/><!-- c -->t</MYPLUGINSETTINGS>'),
        "no-declaration": block('<MYPLUGINSETTINGS dbInput="0.75"/>'),
        "other-root": block(DECL + '<PARAMETERS dbInput="0.25"/>'),
        "entity": block('<!DOCTYPE x [<!ENTITY e "x&e;">]><MYPLUGINSETTINGS dbInput="&e;"/>'),
        "escapes": block(DECL + '<MYPLUGINSETTINGS dbInput="0.25" dbWet="&amp;" x="&lt;&gt;&quot;&apos;&foo;"/>'),
        "wrong-magic": b"VC2?" + valid[4:],
        "length-zero": valid[:4] + struct.pack("<i", 0) + valid[8:],
        "length-negative": valid[:4] + struct.pack("<i", -1) + valid[8:],
        "length-beyond-data": valid[:4] + struct.pack("<i", 0x7FFFFFFF) + valid[8:-1],
        "truncated-header": valid[:8],
        "truncated-text": valid[:len(valid) // 2],
        "empty-text": b"VC2!" + struct.pack("<i", 1) + b"\0",
        "bit-flips": bytes(b ^ (0x20 if i % 37 == 11 else 0) for i, b in enumerate(valid)),
        "overlong-utf8": block(DECL.encode() + b'\xc0\xbcMYPLUGINSETTINGS dbInput="0.25"/>'),
    }
    for name, data in seeds.items():
        with open(os.path.join(OUT, name + ".bin"), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
