#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora, fuzz/corpus/TARGET/, from the test fixtures.

usage: make_fuzz_corpus.py PIGMENTARIA_CLI

The picture readers start from the codec fixtures (the reader targets take the read warning
action from the first byte, so each seed gets a 0 in front; the BMP target takes the file as it
is). The metafile readers start from the exported test metafiles and from small metafiles written
here that use every kind of record the player draws. The painting file target starts from
paintings the command line traces from fixture pictures. The corpora are committed; run this
again only to change them.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "tests", "data")
CORPUS = os.path.join(ROOT, "fuzz", "corpus")

READERS = {
    "jpeg_reader_fuzz": ("jpeg", (".jpg",)),
    "png_reader_fuzz": ("png", (".png",)),
    "pcx_reader_fuzz": ("pcx", (".pcx",)),
    "pnm_reader_fuzz": ("pnm", (".pbm", ".pgm", ".ppm")),
    "tga_reader_fuzz": ("tga", (".tga",)),
    "tiff_reader_fuzz": ("tiff", (".tif",)),
}


def fresh(target):
    folder = os.path.join(CORPUS, target)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


def fixtures(sub, extensions):
    folder = os.path.join(DATA, "image", sub)
    for name in sorted(os.listdir(folder)):
        # Reference pixels (NAME.ppm beside NAME.png, NAME.ref.ppm in pnm/) are not inputs.
        stem, ext = os.path.splitext(name)
        if ext not in extensions or ".ref" in name:
            continue
        if ext == ".ppm" and sub != "pnm":
            continue
        yield name, open(os.path.join(folder, name), "rb").read()


# ---- metafiles --------------------------------------------------------------------------------

def wmf_record(function, words, tail=b""):
    if len(tail) % 2:
        tail += b"\0"
    body = b"".join(struct.pack("<h" if w < 0 else "<H", w) for w in words) + tail
    return struct.pack("<IH", 3 + len(body) // 2, function) + body


def wmf(records, right=64, bottom=48, objects=8):
    header = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, right, bottom, 96, 0)
    checksum = 0
    for i in range(0, 20, 2):
        checksum ^= struct.unpack_from("<H", header, i)[0]
    header += struct.pack("<H", checksum)
    body = b"".join(records) + wmf_record(0, [])
    standard = struct.pack("<HHHIHIH", 1, 9, 0x0300, 9 + len(body) // 2, objects, 0, 0)
    return header + standard + body


def lo(v):
    return v & 0xFFFF


def hi(v):
    return (v >> 16) & 0xFFFF


def dib(width, height, bits, palette=()):
    stride = (width * bits + 31) // 32 * 4
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, stride * height, 0, 0,
                       len(palette), 0)
    info += b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    pixels = bytes((x * 37 + y * 11) & 0xFF for y in range(height) for x in range(stride))
    return info, pixels


def emf_record(kind, values, tail=b""):
    body = b"".join(struct.pack("<i" if isinstance(v, int) and v < 0 else "<I", v)
                    if isinstance(v, int) else struct.pack("<f", v) for v in values) + tail
    body += b"\0" * (-len(body) % 4)
    return struct.pack("<II", kind, 8 + len(body)) + body


def emf(records, width=64, height=48, palette=()):
    eof = struct.pack("<IIII", 14, 20 + 4 * len(palette), len(palette), 16)
    eof += b"".join(struct.pack("<BBBB", r, g, b, 0) for r, g, b in palette)
    eof += struct.pack("<I", 20 + 4 * len(palette))
    body = b"".join(records)
    size = 88 + len(body) + len(eof)
    header = struct.pack("<II", 1, 88)
    header += struct.pack("<8i", 0, 0, width - 1, height - 1, 0, 0,
                          round(width * 50800 / 1920), round(height * 25400 / 960))
    header += struct.pack("<IIIIHHIII", 0x464D4520, 0x10000, size, len(records) + 2, 8, 0, 0, 0,
                          len(palette))
    header += struct.pack("<4i", 1920, 960, 508, 254)
    return header + body + eof


def stretch_dibits(x, y, w, h, info, pixels):
    offset = 80
    return emf_record(81, [0, 0, w, h, x, y, 0, 0, 4, 4, offset, len(info), offset + len(info),
                           len(pixels), 0, 0x00CC0020, w, h], info + pixels)


def bitblt_pattern(x, y, w, h):
    return emf_record(76, [0, 0, w, h, x, y, w, h, 0x00F00021, 0, 0, 1.0, 0.0, 0.0, 1.0, 0.0,
                           0.0, 0, 0, 0, 0, 0, 0])


def metafile_seeds():
    red, green, blue = 0x0000FF, 0x00FF00, 0xFF0000
    info24, bits24 = dib(4, 4, 24)
    info8, bits8 = dib(4, 4, 8, [(i * 60, 255 - i * 60, i * 20) for i in range(4)])
    emfs = {
        "shapes.emf": emf([
            emf_record(38, [1, 0, 1, 0, red]),                       # CREATEPEN
            emf_record(39, [2, 0, green, 0]),                        # CREATEBRUSHINDIRECT
            emf_record(37, [1]), emf_record(37, [2]),                # SELECTOBJECT
            emf_record(43, [2, 2, 20, 14]),                          # RECTANGLE
            emf_record(42, [22, 2, 40, 14]),                         # ELLIPSE
            emf_record(44, [42, 2, 60, 14, 6, 4]),                   # ROUNDRECT
            emf_record(45, [2, 16, 20, 30, 20, 23, 2, 23]),          # ARC
            emf_record(46, [22, 16, 40, 30, 40, 16, 22, 30]),        # CHORD
            emf_record(47, [42, 16, 60, 30, 60, 23, 51, 16]),        # PIE
            emf_record(86, [0, 0, 0, 0, 3, lo(4) | 34 << 16, lo(30) | 44 << 16,
                            lo(10) | 46 << 16]),                     # POLYGON16
            emf_record(4, [0, 0, 0, 0, 3, 12, 34, 20, 46, 28, 34]),  # POLYLINE
            emf_record(85, [0, 0, 0, 0, 4, 30 | 34 << 16, 36 | 30 << 16, 42 | 46 << 16,
                            48 | 34 << 16]),                         # POLYBEZIER16
            emf_record(91, [0, 0, 0, 0, 2, 8, 4, 4, 50 | 34 << 16, 62 | 34 << 16,
                            62 | 46 << 16, 50 | 46 << 16, 53 | 37 << 16, 59 | 37 << 16,
                            59 | 43 << 16, 53 | 43 << 16]),          # POLYPOLYGON16
            emf_record(15, [5, 5, blue]),                            # SETPIXELV
        ], palette=[(255, 0, 0), (0, 255, 0), (0, 0, 255)]),
        "paths.emf": emf([
            emf_record(17, [8]),                                     # SETMAPMODE anisotropic
            emf_record(9, [640, 480]), emf_record(11, [64, 48]),     # window, viewport extents
            emf_record(10, [0, 0]), emf_record(12, [0, 0]),
            emf_record(33, []),                                      # SAVEDC
            emf_record(35, [1.0, 0.1, -0.1, 1.0, 20.0, 10.0]),       # SETWORLDTRANSFORM
            emf_record(95, [3, 0, 0, 0, 0, 0x10000, 30, 0, blue, 0, 0]),  # EXTCREATEPEN wide
            emf_record(37, [3]),
            emf_record(59, []),                                      # BEGINPATH
            emf_record(27, [50, 50]), emf_record(54, [300, 80]),     # MOVETOEX, LINETO
            emf_record(6, [0, 0, 0, 0, 2, 250, 300, 60, 250]),       # POLYLINETO
            emf_record(61, []), emf_record(60, []),                  # CLOSEFIGURE, ENDPATH
            emf_record(63, []),                                      # STROKEANDFILLPATH
            emf_record(34, [-1]),                                    # RESTOREDC
            emf_record(30, [10, 10, 50, 40]),                        # INTERSECTCLIPRECT
            emf_record(20, [7]),                                     # SETROP2 xor pen
            emf_record(37, [0x80000007]), emf_record(37, [0x80000002]),  # stock pen, brush
            emf_record(43, [0, 0, 64, 48]),
            emf_record(75, [0, 5]),                                  # EXTSELECTCLIPRGN reset
        ]),
        "bitmaps.emf": emf([
            stretch_dibits(4, 4, 24, 16, info24, bits24),
            stretch_dibits(32, 4, 24, 16, info8, bits8),
            emf_record(39, [1, 2, red, 3]),                          # hatched brush
            emf_record(37, [1]),
            emf_record(18, [1]),                                     # SETBKMODE transparent
            bitblt_pattern(4, 24, 56, 20),
        ]),
    }
    wmfs = {
        "shapes.wmf": wmf([
            wmf_record(0x02FA, [0, 1, 0, lo(red), hi(red)]),          # CREATEPENINDIRECT
            wmf_record(0x02FC, [0, lo(green), hi(green), 0]),        # CREATEBRUSHINDIRECT
            wmf_record(0x012D, [0]), wmf_record(0x012D, [1]),        # SELECTOBJECT
            wmf_record(0x041B, [14, 20, 2, 2]),                      # RECTANGLE
            wmf_record(0x0418, [14, 40, 2, 22]),                     # ELLIPSE
            wmf_record(0x061C, [4, 6, 14, 60, 2, 42]),               # ROUNDRECT
            wmf_record(0x0817, [23, 2, 23, 20, 30, 20, 16, 2]),      # ARC
            wmf_record(0x0830, [30, 22, 16, 40, 30, 40, 16, 22]),    # CHORD
            wmf_record(0x081A, [16, 51, 23, 60, 30, 60, 16, 42]),    # PIE
            wmf_record(0x0324, [3, 4, 34, 30, 44, 10, 46]),          # POLYGON
            wmf_record(0x0325, [3, 12, 34, 20, 46, 28, 34]),         # POLYLINE
            wmf_record(0x0538, [2, 4, 4, 50, 34, 62, 34, 62, 46, 50, 46, 53, 37, 59, 37, 59, 43,
                                53, 43]),                            # POLYPOLYGON
            wmf_record(0x041F, [lo(blue), hi(blue), 5, 5]),          # SETPIXEL
            wmf_record(0x0214, [40, 0]), wmf_record(0x0213, [0, 64]),  # MOVETO, LINETO
            wmf_record(0x01F0, [0]),                                 # DELETEOBJECT
        ]),
        "mapping.wmf": wmf([
            wmf_record(0x0103, [8]),                                 # SETMAPMODE
            wmf_record(0x020C, [480, 640]), wmf_record(0x020B, [0, 0]),
            wmf_record(0x001E, []),                                  # SAVEDC
            wmf_record(0x0416, [400, 500, 40, 50]),                  # INTERSECTCLIPRECT
            wmf_record(0x0104, [10]),                                # SETROP2
            wmf_record(0x02FA, [0, 40, 0, lo(blue), hi(blue)]),      # wide pen
            wmf_record(0x012D, [0]),
            wmf_record(0x0325, [3, 0, 0, 640, 480, 0, 480]),
            wmf_record(0x0127, [-1]),                                # RESTOREDC
            wmf_record(0x0410, [1, 2, 1, 2]),                        # SCALEWINDOWEXT
            wmf_record(0x020F, [5, 5]),                              # OFFSETWINDOWORG
            wmf_record(0x02FC, [2, lo(red), hi(red), 5]),            # hatched brush
            wmf_record(0x012D, [1]),
            wmf_record(0x041B, [200, 300, 10, 10]),
        ]),
        "bitmaps.wmf": wmf([
            wmf_record(0x0B41, [0x0020, 0x00CC, 4, 4, 0, 0, 16, 24, 4, 4], info24 + bits24),
            wmf_record(0x0142, [5, 0], info8 + bits8),               # DIBCREATEPATTERNBRUSH
            wmf_record(0x012D, [0]),
            wmf_record(0x061D, [0x0021, 0x00F0, 20, 56, 24, 4]),     # PATBLT
            wmf_record(0x0F43, [0x0020, 0x00CC, 0, 4, 4, 0, 0, 16, 24, 4, 36],
                       info24 + bits24),                             # STRETCHDIB
        ]),
    }
    return wmfs, emfs


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    cli = os.path.abspath(argv[1])
    for target, (sub, extensions) in READERS.items():
        folder = fresh(target)
        for name, data in fixtures(sub, extensions):
            open(os.path.join(folder, name), "wb").write(b"\0" + data)
    folder = fresh("bmp_reader_fuzz")
    for name, data in fixtures("bmp", (".bmp",)):
        open(os.path.join(folder, name), "wb").write(data)

    wmfs, emfs = metafile_seeds()
    for target, made, exported in (("wmf_reader_fuzz", wmfs, "clip.wmf"),
                                   ("emf_reader_fuzz", emfs, "clip.emf")):
        folder = fresh(target)
        shutil.copy(os.path.join(DATA, "metafile", exported), folder)
        for name, data in made.items():
            open(os.path.join(folder, name), "wb").write(data)

    folder = fresh("painting_file_fuzz")
    with tempfile.TemporaryDirectory() as tmp:
        for picture, args in (("png/im_rgb8.png", []),
                              ("png/pil_pal8_trns.png", ["--outline", "half-line"]),
                              ("bmp/im3_pal8.bmp", ["--style", "Complex Painting"])):
            name = os.path.splitext(os.path.basename(picture))[0] + ".kvp"
            subprocess.run([cli, "convert", os.path.join(DATA, "image", picture), "-o",
                            os.path.join(folder, name)] + args, check=True,
                           stdout=subprocess.DEVNULL, cwd=tmp)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
