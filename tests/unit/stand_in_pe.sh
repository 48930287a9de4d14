#!/bin/sh
# Writes a stand-in for a Windows program where the native build has none: the smallest
# PE file the import audit passes (i386, a window program, subsystem 4.0, no sections,
# no imports), then a line naming it, so that a copy can be told from its source.
# usage: stand_in_pe.sh NAME FILE
set -eu
file=$2
put() { printf "$2" | dd of="$file" bs=1 seek=$(($1)) conv=notrunc status=none; }
head -c 408 /dev/zero >"$file"
put 0 'MZ'
put 0x3c '\200'                 # the PE header at 0x80
put 0x80 'PE\000\000'
put 0x84 '\114\001'             # machine i386
put 0x94 '\340\000'             # optional header of 224 bytes (at 0x98)
put 0x98 '\013\001'             # PE32
put 0xc8 '\004\000\000\000'     # subsystem version 4.0
put 0xdc '\002\000'             # window program
put 0xf4 '\020\000\000\000'     # 16 data directories, all empty
printf 'stand-in for %s\r\n' "$1" >>"$file"
