#!/usr/bin/env python3
"""Tessella's command line against its peers, measured side by side in one run.

Builds maps of 256², 1024² and 4096² cells with 4 layers over a 512 × 128 PNG tileset,
writes each as .tzp (directly) and as .tmx (with Tessella --convert and the tmx plug-in),
then measures wall time and peak memory of
  - Tessella --render against tmxrasterizer (Debian's tiled package), both producing the
    same 8192 × 8192 picture, PNG writing included;
  - Tessella --convert of the .tzp to .csv and to .tzp against a plain copy of its bytes
    (cp, which copies inside the kernel; dd through memory is shown for reference);
  - opening a Tiled map: Tessella --info of a .tmx (layer data as CSV, and as base64 with
    zlib) against tmxrasterizer loading the same map and drawing it at 1/16 scale.
Usage: bench/peer/peer_bench.py [--build BUILD] [--work FOLDER] [--sizes 256,1024,4096]
                               [--open-size 1024] [--tasks render,open]
"""
import argparse
import base64
import os
import resource
import shutil
import struct
import subprocess
import sys
import time
import zlib

PART = 32                 # parts of 32 × 32 pixels
TILESET = (512, 128)      # 16 × 4 parts
PICTURE = 8192            # every render makes an 8192 × 8192 picture
KEY = (255, 0, 255)       # the transparent colour
INVISIBLE = 63            # the part that stands for an empty cell
LAYER_FILL = (1.0, 0.5, 0.25, 0.1)  # share of non-empty cells per layer


def ensure_tools():
    missing = [package for tool, package in (("tmxrasterizer", "tiled"), ("/usr/bin/time", "time"))
               if not shutil.which(tool)]
    if not missing:
        return
    print("installing %s ..." % " ".join(missing), flush=True)
    sudo = [] if os.geteuid() == 0 else ["sudo"]
    subprocess.run(sudo + ["apt-get", "install", "-y", "-qq", "--no-install-recommends"] + missing,
                   check=True, env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))


def write_png(path, width, height, pixel):
    rows = []
    for y in range(height):
        row = bytearray(b"\0")
        for x in range(width):
            row += bytes(pixel(x, y))
        rows.append(bytes(row))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(b"".join(rows), 6)))
        f.write(chunk(b"IEND", b""))


def tileset_pixel(x, y):
    part = (y // PART) * (TILESET[0] // PART) + x // PART
    u, v = x % PART, y % PART
    if part % 3 == 1 and 8 <= u < 24 and 8 <= v < 24:
        return KEY
    if u == v or u + v == PART - 1:
        return (250, 250, 250)
    return ((part * 53) % 200 + 30, (part * 97 + u * 3) % 200 + 30, (part * 31 + v * 5) % 200 + 30)


def layer_cells(size, layer):
    """size × size cells, row-major, as little-endian 16-bit values."""
    period = 997
    seed = 12345 + layer * 7919
    table = []
    for _ in range(period):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        r = seed >> 8
        filled = (r % 1000) < LAYER_FILL[layer] * 1000
        table.append((r // 1000) % 63 if filled else INVISIBLE)
    seq = [table[k % period] for k in range(size + period)]
    packed = struct.pack("<%dH" % len(seq), *seq)
    rows = []
    for y in range(size):
        start = (y * 131) % period
        rows.append(packed[2 * start:2 * (start + size)])
    return b"".join(rows)


def chunk(kind, data):
    return kind + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")


def write_tzp(path, size):
    header = struct.pack("<IIIIBBBB", size, size, PART, PART, 4, 8, 1, 0)
    body = [chunk(b"UMFh", header), chunk(b"Ver_", bytes([1, 6, 1, 0x66])),
            chunk(b"EEnv", bytes([1, 0, 0, 1, 0, 0])),
            chunk(b"ColK", struct.pack("<BIB", 1, KEY[0] | KEY[1] << 8 | KEY[2] << 16, 255)),
            chunk(b"Grid", struct.pack("<II", 0xA4A0A0, 0xFF)),
            chunk(b"Zoom", struct.pack("<H", 256)),
            chunk(b"InvC", struct.pack("<BHB", 1, INVISIBLE, 255))]
    for layer in range(4):
        content = (b"LAY_" + chunk(b"LSTR", b"Layer%d" % layer) + chunk(b"PSTR", b"tiles.png") +
                   chunk(b"LINV", b"\1") + chunk(b"LDAT", layer_cells(size, layer)))
        body.append(chunk(b"LIST", content))
    data = b"UMF_" + b"".join(body)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(data)) + data)


def write_tmx(path, size, encoding):
    """The .tzp's map as a Tiled map of its own: the same 4 layers over the same tileset,
    empty cells as tile id 0, layer data as CSV or as base64 of zlib."""
    layers = []
    for layer in range(4):
        cells = struct.unpack("<%dH" % (size * size), layer_cells(size, layer))
        ids = [0 if c == INVISIBLE else c + 1 for c in cells]
        if encoding == "csv":
            rows = [",".join(map(str, ids[y * size:(y + 1) * size])) for y in range(size)]
            data = '<data encoding="csv">\n' + ",\n".join(rows) + "\n</data>"
        else:
            packed = zlib.compress(struct.pack("<%dI" % len(ids), *ids), 6)
            data = ('<data encoding="base64" compression="zlib">\n' +
                    base64.b64encode(packed).decode() + "\n</data>")
        layers.append(' <layer id="%d" name="Layer%d" width="%d" height="%d">\n  %s\n </layer>\n'
                      % (layer + 1, layer, size, size, data))
    with open(path, "w") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<map version="1.8" orientation="orthogonal" renderorder="right-down" '
                'width="%d" height="%d" tilewidth="%d" tileheight="%d" infinite="0" '
                'nextlayerid="5" nextobjectid="1">\n' % (size, size, PART, PART))
        f.write(' <tileset firstgid="1" name="tiles" tilewidth="%d" tileheight="%d" '
                'tilecount="%d" columns="%d">\n  <image source="tiles.png" trans="ff00ff" '
                'width="%d" height="%d"/>\n </tileset>\n'
                % (PART, PART, (TILESET[0] // PART) * (TILESET[1] // PART), TILESET[0] // PART,
                   TILESET[0], TILESET[1]))
        f.write("".join(layers))
        f.write("</map>\n")


def measure(command, env=None, repeat=1):
    """Best wall time (s) and largest peak resident memory (MiB) of repeated runs.

    The peak comes from GNU time: Linux hands a child the memory high-water mark of the
    process it was forked from, so this script's own memory would show in every figure
    it took itself."""
    best, peak = None, 0
    for _ in range(repeat):
        start = time.perf_counter()
        process = subprocess.run(["/usr/bin/time", "-f", "peak-kib %M"] + command, env=env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        elapsed = time.perf_counter() - start
        error = process.stderr.decode(errors="replace")
        if process.returncode != 0:
            sys.exit("failed: %s\n%s" % (" ".join(command), error))
        kib = int(error.strip().splitlines()[-1].split()[-1])
        best = elapsed if best is None else min(best, elapsed)
        peak = max(peak, kib / 1024.0)
    return best, peak


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(root, "build"))
    parser.add_argument("--work", default=None)
    parser.add_argument("--sizes", default="256,1024,4096")
    parser.add_argument("--open-size", type=int, default=1024)
    parser.add_argument("--tasks", default="render,open",
                        help="render: the render and convert rows; open: the Tiled map rows")
    args = parser.parse_args()
    tasks = args.tasks.split(",")
    tessella = os.path.join(args.build, "Tessella")
    if not os.access(tessella, os.X_OK):
        sys.exit("build Tessella first: %s is missing" % tessella)
    ensure_tools()
    work = args.work or os.path.join(args.build, "bench-peer")
    os.makedirs(work, exist_ok=True)
    runtime = os.path.join(work, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    # The peer needs a Qt platform even without a display; ours needs nothing.
    peer_env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=runtime)
    our_env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}

    tileset = os.path.join(work, "tiles.png")
    if not os.path.exists(tileset):
        write_png(tileset, TILESET[0], TILESET[1], tileset_pixel)

    rows = []
    goals = []
    for size in [int(s) for s in args.sizes.split(",")] if "render" in tasks else []:
        tzp = os.path.join(work, "map%d.tzp" % size)
        tmx = os.path.join(work, "map%d.tmx" % size)
        print("map %d x %d: writing .tzp and .tmx ..." % (size, size), flush=True)
        write_tzp(tzp, size)
        measure([tessella, "--convert", tzp, tmx], our_env)
        zoom = PICTURE * 100.0 / (size * PART)
        repeat = 5 if size <= 1024 else 3
        print("  rendering at %g %% ..." % zoom, flush=True)
        ours = measure([tessella, "--render", tzp, os.path.join(work, "ours%d.png" % size),
                        "--zoom", "%g" % zoom], our_env, repeat)
        # The peer takes minutes on the largest map: once is enough there.
        peer = measure(["tmxrasterizer", "--no-smoothing", "--scale", "%g" % (zoom / 100.0), tmx,
                        os.path.join(work, "peer%d.png" % size)], peer_env,
                       repeat if size <= 1024 else 1)
        print("  converting ...", flush=True)
        copy = measure(["cp", "--reflink=never", tzp, os.path.join(work, "copy.tzp")],
                       our_env, 5)
        # For reference: the same bytes copied through a program's memory, as a converter
        # must (read, then write).
        dd = measure(["dd", "if=" + tzp, "of=" + os.path.join(work, "copy-dd.tzp"), "bs=1M",
                      "status=none"], our_env, 5)
        to_csv = measure([tessella, "--convert", tzp, os.path.join(work, "out.csv")], our_env, 3)
        to_tzp = measure([tessella, "--convert", tzp, os.path.join(work, "out.tzp")], our_env, 5)
        rows.append(("render %d² -> %d²" % (size, PICTURE), ours, "tmxrasterizer", peer))
        rows.append(("convert %d² tzp->csv" % size, to_csv, "cp", copy))
        rows.append(("convert %d² tzp->tzp" % size, to_tzp, "cp", copy))
        rows.append(("convert %d² tzp->tzp" % size, to_tzp, "dd bs=1M", dd))
        if size >= 1024:
            goals.append(("render %d²: >= 5x faster than tmxrasterizer" % size,
                          peer[0] / ours[0] >= 5))
            goals.append(("render %d²: <= 1/3 of its peak memory" % size,
                          ours[1] <= peer[1] / 3))
        goals.append(("convert %d² tzp->tzp: within 2x a plain copy" % size,
                      to_tzp[0] <= 2 * copy[0]))

    if "open" in tasks:
        size = args.open_size
        for encoding in ("csv", "zlib"):
            tmx = os.path.join(work, "open%d-%s.tmx" % (size, encoding))
            print("map %d x %d as TMX (%s): opening ..." % (size, size, encoding), flush=True)
            write_tmx(tmx, size, encoding)
            ours = measure([tessella, "--info", tmx], our_env, 5)
            peer = measure(["tmxrasterizer", "--no-smoothing", "--scale", "0.0625", tmx,
                            os.path.join(work, "open-peer.png")], peer_env, 3)
            rows.append(("open %d² tmx %s" % (size, encoding), ours, "tmxrasterizer", peer))
            goals.append(("open %d² tmx %s: >= 5x faster than tmxrasterizer" % (size, encoding),
                          peer[0] / ours[0] >= 5))

    print()
    print("%-26s %9s %9s   %-13s %9s %9s   %8s %8s" %
          ("task", "ours s", "ours MiB", "baseline", "base s", "base MiB", "speedup", "memory"))
    for task, ours, name, base in rows:
        print("%-26s %9.3f %9.1f   %-13s %9.3f %9.1f   %7.2fx %7.2f" %
              (task, ours[0], ours[1], name, base[0], base[1], base[0] / ours[0],
               ours[1] / base[1]))
    print()
    for goal, met in goals:
        print("%-50s %s" % (goal, "met" if met else "NOT MET"))
    return 0 if all(met for _, met in goals) else 1


if __name__ == "__main__":
    sys.exit(main())
