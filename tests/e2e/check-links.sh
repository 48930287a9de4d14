#!/bin/bash
# Reads the shortcuts a scenario made with lnkinfo (liblnk), a reader that shares nothing
# with Wine's shell, and compares the fields the scenario expects.
# usage: check-links.sh CHECKS_FILE
#   each line of CHECKS_FILE: host path of the .lnk <TAB> lnkinfo field <TAB> expected
#   value; values compare without regard to letter case, as Windows paths do.
set -uo pipefail
checks=$1
status=0
while IFS=$'\t' read -r link field expected; do
    [ -n "$link" ] || continue
    if [ ! -f "$link" ]; then
        echo "check-links: no file $link" >&2
        status=1
        continue
    fi
    # lnkinfo prints "<tab>Field<tab><tab>: value"; the first such line is the link's own.
    value=$(lnkinfo "$link" 2>/dev/null | sed -n "s/^[[:space:]]*$field[[:space:]]*: //p" | head -n 1)
    if [ "${value,,}" != "${expected,,}" ]; then
        echo "check-links: $link: $field is '$value', expected '$expected'" >&2
        status=1
    else
        echo "check-links: $(basename "$link"): $field = $value"
    fi
done < <(tr -d '\r' <"$checks")
exit "$status"
