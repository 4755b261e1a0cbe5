#!/usr/bin/env python3
"""Draws the speed bar's button pictures into res/speedbar.bmp: fifteen
16 x 16 pictures side by side, magenta where the bar shows through.
Standard library only; run it again after changing a picture."""

import struct
from pathlib import Path

PALETTE = {
    ".": (255, 0, 255),  # transparent
    "k": (0, 0, 0), "w": (255, 255, 255), "g": (192, 192, 192), "d": (128, 128, 128),
    "y": (255, 255, 0), "o": (128, 128, 0), "r": (255, 0, 0), "R": (128, 0, 0),
    "G": (0, 160, 0), "b": (0, 0, 255), "B": (0, 0, 128), "c": (0, 255, 255),
}

# In bar order: New, Open, Add, Scripting Editor, Modify Directly, Recapture,
# Rename, Copy, Activate, Delete, Import, Export, Print, Appearance, Sort.
PICTURES = [
    # New macro file: a blank page
    ["................", "..kkkkkkkk......", "..kwwwwwwkk.....", "..kwwwwwwkwk....",
     "..kwwwwwwkkkk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...",
     "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...",
     "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kkkkkkkkkkk...", "................"],
    # Open macro file: a folder
    ["................", "................", "................", ".kkkk...........",
     "kyyyyk..........", "kyyyyykkkkkkk...", "kyyyyyyyyyyyk...", "kyykkkkkkkkkkkk.",
     "kyykooooooooook.", "kykooooooooook..", "kykoooooooooook.", "kkooooooooook...",
     "kkoooooooooook..", "kkkkkkkkkkkkk...", "................", "................"],
    # Add macro: a page and a green plus
    ["................", ".kkkkkkk........", ".kwwwwwkk.......", ".kwwwwwkwk......",
     ".kwwwwwkkkk.....", ".kwwwwwwwwk.....", ".kwwwwwwGGG.....", ".kwwwwwwGGG.....",
     ".kwwwwGGGGGGG...", ".kwwwwGGGGGGG...", ".kwwwwGGGGGGG...", ".kwwwwwwGGG.....",
     ".kkkkkkkGGG.....", "................", "................", "................"],
    # Scripting editor: lines of a script and a pencil
    ["................", ".kkkkkkkkkk.....", ".kwwwwwwwwk.....", ".kwBBBBBwwk.....",
     ".kwwwwwwwwk.....", ".kwBBBBwwwk..R..", ".kwwwwwwwwk.RyR.", ".kwBBBBBBwkRyyR.",
     ".kwwwwwwwwRyyR..", ".kwBBBBwwRyyR...", ".kwwwwwwkdyR....", ".kwwwwwwkkd.....",
     ".kkkkkkkkkk.....", "................", "................", "................"],
    # Modify directly: a pencil
    ["................", "...........kk...", "..........krrk..", ".........kyrrk..",
     "........kyyyk...", ".......kyyyk....", "......kyyyk.....", ".....kyyyk......",
     "....kyyyk.......", "...kyyyk........", "..kwwyk.........", "..kwwk..........",
     "..kkk...........", "..k.............", "................", "................"],
    # Recapture: the red record dot
    ["................", "................", ".....kkkkk......", "....krrrrrk.....",
     "...krrwrrrrk....", "..krrwrrrrrrk...", "..krrrrrrrrrk...", "..krrrrrrrrrk...",
     "..krrrrrrrrrk...", "..krrrrrrrrRk...", "...krrrrrrRk....", "....kRRRRRk.....",
     ".....kkkkk......", "................", "................", "................"],
    # Rename: a key moved by an arrow
    ["................", "................", ".kkkkkk.........", ".kwwwwdk........",
     ".kwkwkdk........", ".kwwwwdk........", ".kddddd.........", "..........b.....",
     "......bbbbbb....", "......bbbbbbb...", "......bbbbbb....", "..........b.....",
     "................", "................", "................", "................"],
    # Copy: two pages
    ["................", ".kkkkkk.........", ".kwwwwkk........", ".kwwwwkwk.......",
     ".kwwwwkkkkkk....", ".kwwwwkwwwwkk...", ".kwwwwkwwwwkwk..", ".kwwwwkwwwwkkkk.",
     ".kwwwwkwwwwwwwk.", ".kkkkkkwwwwwwwk.", "......kwwwwwwwk.", "......kwwwwwwwk.",
     "......kwwwwwwwk.", "......kkkkkkkkk.", "................", "................"],
    # Activate: a green tick
    ["................", "................", "................", "............GG..",
     "...........GGG..", "..........GGG...", ".........GGG....", "..GG....GGG.....",
     "..GGG..GGG......", "...GGGGGG.......", "....GGGG........", ".....GG.........",
     "................", "................", "................", "................"],
    # Delete: a red cross
    ["................", "................", "..rr........rr..", "..rrr......rrr..",
     "...rrr....rrr...", "....rrr..rrr....", ".....rrrrrr.....", "......rrrr......",
     "......rrrr......", ".....rrrrrr.....", "....rrr..rrr....", "...rrr....rrr...",
     "..rrr......rrr..", "..rr........rr..", "................", "................"],
    # Import: an arrow into a tray
    ["................", ".......bb.......", ".......bb.......", ".......bb.......",
     ".......bb.......", "....bbbbbbbb....", ".....bbbbbb.....", "......bbbb......",
     ".......bb.......", "..k..........k..", "..k..........k..", "..kddddddddddk..",
     "..kkkkkkkkkkkk..", "................", "................", "................"],
    # Export: an arrow out of a tray
    ["................", ".......bb.......", "......bbbb......", ".....bbbbbb.....",
     "....bbbbbbbb....", ".......bb.......", ".......bb.......", ".......bb.......",
     ".......bb.......", "..k..........k..", "..k..........k..", "..kddddddddddk..",
     "..kkkkkkkkkkkk..", "................", "................", "................"],
    # Print: a printer
    ["................", "....kkkkkkk.....", "....kwwwwwk.....", "....kwkkkwk.....",
     "....kwwwwwk.....", "..kkkkkkkkkkk...", ".kgggggggggggk..", ".kgggggggggGgk..",
     ".kdddddddddddk..", ".kgggggggggggk..", "..kkkwwwwwkkk...", "....kwkkkwk.....",
     "....kwwwwwk.....", "....kkkkkkk.....", "................", "................"],
    # Appearance: a big letter A
    ["................", "......kkk.......", "......kBk.......", ".....kBBBk......",
     ".....kBkBk......", "....kBBkBBk.....", "....kBk.kBk.....", "...kBBkkkBBk....",
     "...kBBBBBBBk....", "..kBBkkkkkBBk...", "..kBk.....kBk...", ".kBBk.....kBBk..",
     ".kkkk.....kkkk..", "................", "rrrrrrrrrrrrrrr.", "................"],
    # Sort order: A over Z beside a down arrow
    ["................", "..kkk......bb...", ".k...k.....bb...", ".kkkkk.....bb...",
     ".k...k.....bb...", ".k...k.....bb...", "...........bb...", ".kkkkk.....bb...",
     "....k......bb...", "...k.....bbbbbb.", "..k.......bbbb..", ".kkkkk.....bb...",
     "................", "................", "................", "................"],
]


def main() -> None:
    width, height = 16 * len(PICTURES), 16
    for i, pic in enumerate(PICTURES):
        assert len(pic) == 16 and all(len(row) == 16 for row in pic), f"picture {i} is not 16 x 16"
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for pic in PICTURES:
            for ch in pic[y]:
                r, g, b = PALETTE[ch]
                row += bytes((b, g, r))
        row += bytes(row_bytes - len(row))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    out = Path(__file__).resolve().parents[1] / "res" / "speedbar.bmp"
    out.write_bytes(header + info + pixels)
    print(out)


if __name__ == "__main__":
    main()
