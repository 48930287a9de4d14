#!/usr/bin/env python3
"""Writes the delay import directory into the header of a linked program file.

GNU ld links the descriptors of dlltool's delay import libraries, one a DLL, each beside
the next and then the zero entry of end_of_table.c, but leaves the directory entry of
the PE header empty. Windows does not need it (each call stub hands its descriptor to
__delayLoadHelper2); every reader of the file does: the import audit (tools/cdcheck),
objdump, a dependency viewer. A file without delay imports is left as it is.

usage: fill_directory.py NM FILE
"""
import struct
import subprocess
import sys

DESCRIPTOR_SIZE = 32
DELAY_IMPORT_DIRECTORY = 13


def descriptor_addresses(nm, path):
    """The addresses of dlltool's descriptors, in order (names with one or more "_")."""
    listing = subprocess.run([nm, path], check=True, capture_output=True, text=True).stdout
    addresses = []
    for line in listing.splitlines():
        fields = line.split()
        if len(fields) == 3 and fields[2].lstrip("_").startswith("DELAY_IMPORT_DESCRIPTOR_"):
            addresses.append(int(fields[0], 16))
    return sorted(addresses)


def file_offset(data, sections, rva, size):
    for virtual_address, virtual_size, raw_size, raw_offset in sections:
        extent = min(virtual_size, raw_size)
        if virtual_address <= rva and rva + size <= virtual_address + extent:
            return raw_offset + rva - virtual_address
    sys.exit(f"fill_directory: RVA {rva:#x} lies in no section of the file")


def main(nm, path):
    addresses = descriptor_addresses(nm, path)
    if not addresses:
        return
    with open(path, "rb") as f:
        data = bytearray(f.read())
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections_count, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    opt = pe + 24
    plus = struct.unpack_from("<H", data, opt)[0] == 0x20B
    base = struct.unpack_from("<Q", data, opt + 24)[0] if plus else struct.unpack_from("<I", data, opt + 28)[0]
    directories = opt + (112 if plus else 96)
    if struct.unpack_from("<I", data, directories - 4)[0] <= DELAY_IMPORT_DIRECTORY:
        sys.exit(f"fill_directory: {path} has no room for a delay import directory")
    sections = []
    for i in range(sections_count):
        s = opt + optional_size + 40 * i
        virtual_size, virtual_address, raw_size, raw_offset = struct.unpack_from("<4I", data, s + 8)
        sections.append((virtual_address, virtual_size, raw_size, raw_offset))

    first = addresses[0] - base
    if addresses != [addresses[0] + DESCRIPTOR_SIZE * i for i in range(len(addresses))]:
        sys.exit(f"fill_directory: the delay import descriptors of {path} are not one table")
    end = first + DESCRIPTOR_SIZE * len(addresses)
    at = file_offset(data, sections, end, DESCRIPTOR_SIZE)
    if any(data[at:at + DESCRIPTOR_SIZE]):
        sys.exit(f"fill_directory: no zero entry ends the delay import table of {path}")
    struct.pack_into("<II", data, directories + 8 * DELAY_IMPORT_DIRECTORY, first,
                     end + DESCRIPTOR_SIZE - first)
    with open(path, "r+b") as f:
        f.write(data)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
