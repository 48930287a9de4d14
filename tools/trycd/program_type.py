"""The machine type of a Windows program, read from its PE header: which build of the
setup a CD carries, and so which machine of the rig can start it."""

# IMAGE_FILE_HEADER.Machine
ARCHITECTURES = {0x014C: "i686", 0x8664: "x86_64"}


def architecture(path):
    """"i686" or "x86_64"; for any other file a text that says what it is."""
    try:
        with open(path, "rb") as program:
            dos = program.read(64)
            if len(dos) < 64 or dos[:2] != b"MZ":
                return "no Windows program (no MZ header)"
            program.seek(int.from_bytes(dos[60:64], "little"))
            pe = program.read(6)
    except OSError as error:
        return f"unreadable ({error.strerror})"
    if len(pe) < 6 or pe[:4] != b"PE\0\0":
        return "no 32-bit or 64-bit Windows program (no PE header)"
    machine = int.from_bytes(pe[4:6], "little")
    return ARCHITECTURES.get(machine, f"a Windows program for machine type 0x{machine:04X}")
