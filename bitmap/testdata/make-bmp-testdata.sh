#!/usr/bin/env bash
# Writes the BMP files that bmp_decode_test reads, with ImageMagick's convert.
# The source pictures are 7 x 5 (odd width for row padding, odd height for the
# middle row); their pixels are listed again in bmp_decode_test.cpp.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Two colours: written with 1 bit per pixel.
cat >"$tmp/two.ppm" <<'PPM'
P3 7 5 255
255 255 255  0 0 0  0 0 0  255 255 255  0 0 0  255 255 255  255 255 255
0 0 0  0 0 0  0 0 0  0 0 0  0 0 0  0 0 0  255 255 255
255 255 255  255 255 255  0 0 0  255 255 255  0 0 0  0 0 0  0 0 0
0 0 0  255 255 255  255 255 255  255 255 255  255 255 255  255 255 255  0 0 0
255 255 255  0 0 0  255 255 255  0 0 0  255 255 255  0 0 0  255 255 255
PPM

# Eight colours: written with 4 bits per pixel.
cat >"$tmp/eight.ppm" <<'PPM'
P3 7 5 255
255 0 0  0 255 0  0 0 255  255 255 0  0 255 255  255 0 255  10 20 30
0 255 0  0 0 255  255 255 0  0 255 255  255 0 255  10 20 30  200 100 50
0 0 255  255 255 0  0 255 255  255 0 255  10 20 30  200 100 50  255 0 0
255 255 0  0 255 255  255 0 255  10 20 30  200 100 50  255 0 0  0 255 0
0 255 255  255 0 255  10 20 30  200 100 50  255 0 0  0 255 0  0 0 255
PPM

# Twenty colours with runs: written with 8 bits per pixel, plain and run-length coded.
cat >"$tmp/twenty.ppm" <<'PPM'
P3 7 5 255
1 2 3  1 2 3  1 2 3  1 2 3  1 2 3  1 2 3  1 2 3
10 0 0  20 0 0  30 0 0  40 0 0  50 0 0  60 0 0  70 0 0
0 10 0  0 10 0  0 10 0  0 20 0  0 30 0  0 30 0  0 30 0
0 0 10  0 0 20  0 0 30  0 0 40  0 0 40  0 0 40  0 0 40
9 9 9  9 9 9  128 64 32  7 7 7  250 250 250  7 7 7  9 9 9
PPM

# Values that survive convert's cut to 5 bits (red, blue) and 6 bits (green) and the
# decoder's widening back to 8 bits, for the 16-bit files.
cat >"$tmp/sixteen.ppm" <<'PPM'
P3 7 5 255
0 0 0  25 239 33  58 247 66  99 255 107  132 0 140  165 239 173  255 255 255
181 247 206  214 255 239  247 0 0  255 239 25  33 247 58  66 255 99  107 0 132
140 239 165  173 247 181  206 255 214  239 0 247  255 239 0  0 247 25  33 255 58
66 0 99  107 239 132  140 247 165  173 255 181  206 0 214  239 239 247  247 247 255
255 0 0  0 255 0  0 0 255  25 239 33  58 247 66  99 255 107  132 0 140
PPM

# Full colour with a varying alpha channel.
cat >"$tmp/full.pam" <<'PAM'
P7
WIDTH 7
HEIGHT 5
DEPTH 4
MAXVAL 255
TUPLTYPE RGB_ALPHA
ENDHDR
PAM
python3 - "$tmp/full.pam" <<'PY'
import sys
with open(sys.argv[1], "ab") as f:
    for y in range(5):
        for x in range(7):
            f.write(bytes([(x * 37 + y * 11) % 256, (x * 5 + y * 53) % 256, (255 - x * 29 - y * 7) % 256, 40 * y + x]))
PY

convert "$tmp/two.ppm" -type bilevel BMP3:bits1.bmp
convert "$tmp/eight.ppm" -type palette BMP3:bits4.bmp
convert "$tmp/twenty.ppm" -type palette -compress none BMP3:bits8.bmp
convert "$tmp/twenty.ppm" -type palette -compress RLE BMP3:bits8_rle.bmp
convert "$tmp/twenty.ppm" -type palette BMP2:bits8_core.bmp
convert "$tmp/full.pam" -alpha off BMP3:bits24.bmp
convert "$tmp/full.pam" -alpha off BMP2:bits24_core.bmp
convert "$tmp/full.pam" BMP:bits32_v5.bmp
convert "$tmp/sixteen.ppm" -define bmp:subtype=RGB555 BMP:bits16_bf555_v5.bmp
convert "$tmp/sixteen.ppm" -define bmp:subtype=RGB565 BMP:bits16_bf565_v5.bmp
convert "$tmp/full.pam" -define bmp3:alpha=true BMP3:bits32_alpha.bmp

# Variants convert does not write (its 40-byte 16-bit file leaves out the masks), made by editing its files: 5-5-5 without bit
# fields, the 52-, 56- and 108-byte headers, and top-down rows.
python3 - <<'PY'
import struct

def read(name):
    return bytearray(open(name, "rb").read())

def write(name, data):
    struct.pack_into("<I", data, 2, len(data))
    open(name, "wb").write(data)

def cut_header(data, new_size):
    # Drops the end of an info header; the pixel data moves up with it.
    old_size = struct.unpack_from("<I", data, 14)[0]
    out = data[:14 + new_size] + data[14 + old_size:]
    struct.pack_into("<I", out, 14, new_size)
    offset = struct.unpack_from("<I", data, 10)[0]
    struct.pack_into("<I", out, 10, offset - (old_size - new_size))
    return out

# A 40-byte header followed by three masks is a 52-byte header with its size
# field saying 40; without the masks and with compression 0 it is plain 5-5-5.
d = cut_header(read("bits16_bf555_v5.bmp"), 52)
struct.pack_into("<I", d, 14, 40)
write("bits16_bf555.bmp", d)
d = cut_header(read("bits16_bf555_v5.bmp"), 40)
struct.pack_into("<I", d, 30, 0)
write("bits16_555.bmp", d)
v5 = read("bits32_v5.bmp")
write("bits32_v4.bmp", cut_header(v5, 108))
write("bits32_v3.bmp", cut_header(v5, 56))
write("bits32_v2.bmp", cut_header(v5, 52))

# Top-down: rows in the opposite order and a negative height.
d = read("bits24.bmp")
offset = struct.unpack_from("<I", d, 10)[0]
width, height = struct.unpack_from("<ii", d, 18)
stride = (width * 3 + 3) // 4 * 4
rows = [d[offset + y * stride: offset + (y + 1) * stride] for y in range(height)]
flipped = d[:offset] + b"".join(reversed(rows))
struct.pack_into("<i", flipped, 22, -height)
write("bits24_topdown.bmp", flipped)
PY
