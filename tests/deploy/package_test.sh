#!/usr/bin/env bash
# Packs the build's device executable as deploy/package.sh does for the
# monitor and checks the archive: what `cmake --install` stages and the
# service unit, nothing else; folders 0755 and everything owned by root, so
# that unpacking into / changes nothing for anyone else; a stripped executable
# whose debug symbols lie beside the archive; a unit that systemd accepts
# when the archive is unpacked over a system, and that stays hardened.
#
#   package_test.sh <build dir> <source dir>
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

mkdir -p "$scratch/out"
"$source/deploy/package.sh" "$build" "$scratch/out/fieldmon.tar.gz"
archive="$scratch/out/fieldmon.tar.gz"

# Exactly the install rules' files, and the unit.
DESTDIR="$scratch/installed" cmake --install "$build" --prefix /home/root/app >/dev/null
expected=$( (cd "$scratch/installed" && find . -type f; echo ./etc/systemd/system/fieldmon.service) | sort)
packed=$(tar -tzf "$archive" | grep -v '/$' | sort)
[ "$packed" = "$expected" ] || fail "the archive holds $(echo "$packed" | wc -l) files, the install rules $(echo "$expected" | wc -l):
$(diff <(echo "$expected") <(echo "$packed") || true)"
grep -qx './home/root/app/fieldmon' <<<"$packed" || fail "no executable in the archive"
grep -q '\.keep$' <<<"$packed" && fail "placeholder files in the archive"

# Modes and owners, the top folder included.
listing=$(tar -tvzf "$archive")
while read -r mode owner _ _ _ name; do
    case "$mode" in
    d*) [ "$mode" = drwxr-xr-x ] || fail "folder $name is $mode" ;;
    -*) if [ "$name" = ./home/root/app/fieldmon ]; then
            [ "$mode" = -rwxr-xr-x ] || fail "the executable is $mode"
        else
            [ "$mode" = -rw-r--r-- ] || fail "file $name is $mode"
        fi ;;
    *) fail "$name is neither a file nor a folder" ;;
    esac
    [ "$owner" = 0/0 ] || fail "$name belongs to $owner"
done <<<"$listing"
[ "$(head -n 1 <<<"$listing" | awk '{print $1, $NF}')" = "drwxr-xr-x ./" ] || fail "the archive does not start with its top folder"

# Stripped, and the symbols beside the archive belong to it.
readelf=$(sed -n 's/^CMAKE_READELF:[A-Z]*=//p' "$build/CMakeCache.txt")
root="$scratch/root"
mkdir -p "$root"
tar -C "$root" -xzf "$archive"
binary="$root/home/root/app/fieldmon"
[ -f "$scratch/out/fieldmon.debug" ] || fail "no fieldmon.debug beside the archive"
"$readelf" -S "$binary" 2>/dev/null | grep -q '\.debug_info' && fail "the executable keeps its debug information"
"$readelf" -S "$binary" 2>/dev/null | grep -q '\.symtab' && fail "the executable keeps its symbol table"
"$readelf" --string-dump=.gnu_debuglink "$binary" 2>/dev/null | grep -q 'fieldmon.debug' || fail "the executable does not name fieldmon.debug"
"$readelf" -S "$scratch/out/fieldmon.debug" 2>/dev/null | grep -q '\.debug_info' || fail "fieldmon.debug holds no debug information"
build_id() { "$readelf" -n "$1" 2>/dev/null | sed -n 's/.*Build ID: //p'; }
[ "$(build_id "$binary")" = "$(build_id "$scratch/out/fieldmon.debug")" ] || fail "fieldmon.debug is another build's"

# The unit as systemd reads it, unpacked over this system's own units.
if command -v systemd-analyze >/dev/null && [ -d /usr/lib/systemd/system ]; then
    mkdir -p "$root/usr/lib/systemd"
    cp -r /usr/lib/systemd/system "$root/usr/lib/systemd/"
    report=$(systemd-analyze verify --root="$root" /etc/systemd/system/fieldmon.service 2>&1) \
        || fail "systemd-analyze verify: $report"
    [ -z "$report" ] || fail "systemd-analyze verify complains: $report"
    # 3.7 when written; a change that loosens the sandbox shows here.
    systemd-analyze security --offline=true --threshold=40 "$root/etc/systemd/system/fieldmon.service" >/dev/null \
        || fail "the unit's exposure rose above 4.0: $(systemd-analyze security --offline=true \
                 "$root/etc/systemd/system/fieldmon.service" 2>&1 | tail -1)"
else
    echo "systemd-analyze is not installed: the unit is not checked"
fi

[ "$failures" -eq 0 ] || exit 1
echo "package checks passed"
