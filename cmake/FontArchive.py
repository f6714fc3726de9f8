#!/usr/bin/python3
"""Build steps of the embedded UI font (run by cmake/Font.cmake with Debian's /usr/bin/python3).

  FontArchive.py otf <collection.ttc> <face index> <expected family> <expected size> <out.otf>
      Copies one face of a font collection, table for table and without recompiling any
      table, into a standalone OpenType file with an empty DSIG table added. Checks the
      result: "OTTO" tag, a 'CFF ' table, the family name and the size.

  FontArchive.py pieces <archive.zip> <font.otf> <out-prefix> <count> <granule>
      Checks the archive (one deflated member whose bytes are the font) and splits it into
      <count> consecutive pieces of ceil(size / count) rounded up to a multiple of <granule>,
      the last taking the rest. Reads the pieces back and checks that joined in order they
      give the archive again.
"""

import os
import sys
import zipfile

# The archive must come out byte for byte the same on every build: the zip tool stores the
# file's modification time and permissions, so both are pinned (2022-01-27 00:00:00 UTC, the
# date of Debian's font release).
FIXED_MTIME = 1643241600
FIXED_MODE = 0o644


def fail(message):
    sys.stderr.write("error: " + message + "\n")
    sys.exit(1)


def make_otf(collection, face_index, expected_family, expected_size, output):
    if not os.path.isfile(collection):
        fail("font collection %s not found; install Debian's fonts-noto-cjk "
             "(apt-get install fonts-noto-cjk)" % collection)

    try:
        from fontTools.ttLib import TTFont, newTable
    except ImportError:
        fail("fontTools not found; install Debian's python3-fonttools")

    # lazy: tables that are not touched are written back as the very bytes they were read as.
    font = TTFont(collection, fontNumber=face_index, lazy=True,
                  recalcBBoxes=False, recalcTimestamp=False)
    family = font["name"].getDebugName(1)
    if family != expected_family:
        fail("face %d of %s is \"%s\", expected \"%s\"" % (face_index, collection, family,
                                                           expected_family))

    signature = newTable("DSIG")
    signature.ulVersion = 1
    signature.usFlag = 0
    signature.usNumSigs = 0
    signature.signatureRecords = []
    font["DSIG"] = signature

    temporary = output + ".tmp"
    font.save(temporary, reorderTables=True)
    font.close()

    with open(temporary, "rb") as f:
        data = f.read()
    check_otf(data, temporary)

    if len(data) != expected_size:
        # A later release of fonts-noto-cjk changes the size; the font is still good to use.
        sys.stderr.write("warning: the embedded font is %d bytes, not the expected %d "
                         "(a different fonts-noto-cjk release?)\n" % (len(data), expected_size))

    os.chmod(temporary, FIXED_MODE)
    os.utime(temporary, (FIXED_MTIME, FIXED_MTIME))
    os.replace(temporary, output)


def check_otf(data, name):
    if data[:4] != b"OTTO":
        fail("%s does not start with the OpenType/CFF tag \"OTTO\"" % name)
    count = int.from_bytes(data[4:6], "big")
    tags = [data[12 + 16 * i:16 + 16 * i] for i in range(count)]
    if b"CFF " not in tags:
        fail("%s has no 'CFF ' table" % name)


def make_pieces(archive, font, prefix, count, granule):
    with open(archive, "rb") as f:
        data = f.read()
    with open(font, "rb") as f:
        font_data = f.read()

    with zipfile.ZipFile(archive) as z:
        members = z.infolist()
        if len(members) != 1:
            fail("%s holds %d members, expected exactly one" % (archive, len(members)))
        if members[0].compress_type != zipfile.ZIP_DEFLATED:
            fail("%s: the font is not stored deflated" % archive)
        if z.read(members[0]) != font_data:
            fail("%s: the member does not inflate to %s" % (archive, font))

    size = len(data)
    piece = -(-size // count)
    piece = -(-piece // granule) * granule
    if piece * (count - 1) >= size:
        fail("%s is too small (%d bytes) to make %d pieces of %d bytes" % (archive, size, count,
                                                                           piece))

    names = ["%s%d.bin" % (prefix, i + 1) for i in range(count)]
    for i, name in enumerate(names):
        end = size if i == count - 1 else (i + 1) * piece
        with open(name + ".tmp", "wb") as f:
            f.write(data[i * piece:end])
        os.replace(name + ".tmp", name)

    joined = b""
    for name in names:
        with open(name, "rb") as f:
            joined += f.read()
    if joined != data:
        fail("the pieces joined do not give %s back" % archive)

    sizes = [os.path.getsize(name) for name in names]
    print("font archive: %d bytes (font %d bytes, deflated %d), pieces %s"
          % (size, len(font_data), members[0].compress_size,
             " + ".join(str(s) for s in sizes)))


def main(argv):
    if len(argv) == 7 and argv[1] == "otf":
        make_otf(argv[2], int(argv[3]), argv[4], int(argv[5]), argv[6])
    elif len(argv) == 7 and argv[1] == "pieces":
        make_pieces(argv[2], argv[3], argv[4], int(argv[5]), int(argv[6]))
    else:
        fail(__doc__)


if __name__ == "__main__":
    main(sys.argv)
