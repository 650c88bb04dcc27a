"""A small map with a PNG parts image, and a check of the 24-bit BMP the program draws of
it; shared by the install test and the package check (python3's standard library only).

  maps.py make FOLDER     writes FOLDER/tiles.png (two 8 x 8 parts: red, blue) and
                          FOLDER/map.csv (2 x 1 cells: part 1, part 0) referring to it
  maps.py check PICTURE   checks the rendered 16 x 8 picture: blue left, red right
"""
import struct
import sys
import zlib

RED, BLUE = (255, 0, 0), (0, 0, 255)


def png(width, height, pixel):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width))
                    for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def make(folder):
    with open(folder + "/tiles.png", "wb") as out:
        out.write(png(16, 8, lambda x, y: RED if x < 8 else BLUE))
    with open(folder + "/map.csv", "w") as out:
        # Width, height, parts width and height, layers, bits, path mode, alignment,
        # invisible part used and its number, transparency and its colour.
        out.write("2,1,8,8,1,8,0,0,0,0,0,0\n")
        out.write('"ground","tiles.png",1\n')
        out.write("1,0\n\n")


def check(path):
    data = open(path, "rb").read()
    if data[:2] != b"BM":
        sys.exit("not a BMP file: " + path)
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if (width, abs(height), bits) != (16, 8, 24):
        sys.exit("picture is %d x %d at %d bits, not 16 x 8 at 24" % (width, height, bits))
    stride = (width * 3 + 3) // 4 * 4
    for y in range(8):
        for x in range(16):
            b, g, r = data[offset + y * stride + x * 3:offset + y * stride + x * 3 + 3]
            expected = BLUE if x < 8 else RED
            if (r, g, b) != expected:
                sys.exit("pixel %d,%d is %s, not %s" % (x, y, (r, g, b), expected))


if __name__ == "__main__":
    {"make": make, "check": check}[sys.argv[1]](sys.argv[2])
