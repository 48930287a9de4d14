#!/bin/sh
# Installs the Debian packages of a set of tools/system-needs.txt, and makes its locales:
#   install-deps.sh        everything the repository's work needs: the sets demo, test,
#                          tools and format (builds, tests, benchmarks, the kit)
#   install-deps.sh SET    only that set's packages, e.g. `demo` for make demo
#   install-deps.sh --mirror
#                          prints the Debian mirror this machine's apt uses, which the
#                          roots of dev/fresh-root.sh and of the rig's 32-bit machine
#                          fetch from too
# Idempotent and non-interactive: packages and locales already present are not made
# again, and
# `apt-get update` runs at most once per machine (a stamp file records it). Runs with the
# shell, awk and dpkg of a minimal Debian root: nothing it installs is needed to read the table.
set -eu

# As Debian's own sources name it: deb822 (debian.sources), else the one-line format.
debian_mirror() {
    mirror=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    [ -n "$mirror" ] || mirror=$(awk '$1 == "deb" { print $2; exit }' /etc/apt/sources.list 2>/dev/null || true)
    echo "${mirror:-http://deb.debian.org/debian}"
}
if [ "${1:-}" = --mirror ]; then
    debian_mirror
    exit 0
fi

table="$(dirname "$0")/system-needs.txt"
sets=${1:-demo,test,tools,format}

# The first column of the rows whose `for` column names one of the sets.
rows_of_sets() {
    awk -v sets="$sets" '
        BEGIN { n = split(sets, wanted, ",") }
        /^[ \t]*(#|$)/ { next }
        {
            split($2, audience, ",")
            for (i in audience) for (j = 1; j <= n; j++) if (audience[i] == wanted[j]) { print $1; next }
        }' "$table"
}
packages=$(rows_of_sets | grep -v '^locale:' || true)
locales=$(rows_of_sets | sed -n 's/^locale://p')
[ -n "$packages" ] || { echo "install-deps: no package is needed by \"$sets\" in $table" >&2; exit 2; }

# A row PACKAGE/SUITE takes the package from that suite of the mirror (backports); the
# version installed must be that suite's (Debian's backports versions carry "~bpo").
missing=""
suites=""
for p in $packages; do
    name=${p%%/*}
    version=$(dpkg-query -W -f='${Status} ${Version}' "$name" 2>/dev/null || true)
    case $version in
        "install ok installed "*) [ "$name" = "$p" ] || case $version in *~bpo*) ;; *) version="" ;; esac ;;
        *) version="" ;;
    esac
    [ -n "$version" ] && continue
    missing="$missing $p"
    [ "$name" = "$p" ] || suites="$suites ${p#*/}"
done

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

install_missing() {
    stamp=/var/lib/apt/periodic/lumora-setup-updated
    # A suite beyond the machine's own is added from the mirror it uses, as Debian's own
    # sources name it; backports are never chosen unless asked for.
    for suite in $suites; do
        sources=/etc/apt/sources.list.d/lumora-setup-$suite.list
        [ -e "$sources" ] && continue
        echo "deb $(debian_mirror) $suite main" | $SUDO tee "$sources" >/dev/null
        $SUDO rm -f "$stamp"
    done
    if [ ! -e "$stamp" ] || [ -z "$(ls /var/lib/apt/lists 2>/dev/null | grep -v '^lock$\|^partial$')" ]; then
        $SUDO apt-get update -qq || true
        $SUDO mkdir -p "$(dirname "$stamp")" && $SUDO touch "$stamp"
    fi
    echo "installing:$missing"
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
}
[ -z "$missing" ] || install_missing

# A locale is made where `locale -a` (libc-bin) does not list it; it lists ja_JP.UTF-8
# as ja_JP.utf8.
present=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z' | tr -d '-')
for name in $locales; do
    listed=$(echo "$name" | tr 'A-Z' 'a-z' | tr -d '-')
    echo "$present" | grep -qxF "$listed" && continue
    echo "making the locale $name"
    $SUDO localedef -i "${name%%.*}" -f "${name#*.}" "$name"
done
