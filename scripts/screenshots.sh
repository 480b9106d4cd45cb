#!/usr/bin/env bash
# Leaves the README's screenshots in docs/screenshots: each scenario of
# scripts/screenshots/ runs headless on a fresh board with the application in
# English and saves its pictures there. Run after a build (./run.sh or
# ./test.sh); arguments name scenarios to run instead of all of them.
set -euo pipefail
cd "$(dirname "$0")/.."
sim=build/fieldmon-sim
[ -x "$sim" ] || { echo "build the simulator first: ./run.sh or ./test.sh" >&2; exit 1; }
shots="$PWD/docs/screenshots"
mkdir -p "$shots"
scripts=("$@")
[ ${#scripts[@]} -eq 0 ] && scripts=(scripts/screenshots/*.scn)
for script in "${scripts[@]}"; do
    work=$(mktemp -d)
    cp -r build/seed/. "$work"
    printf '[AppConfig]\nlanguage=English\n' >"$work/config.ini"
    if ! "$sim" --headless --workdir "$work" --script "$script" --shots "$shots" >"$work.log" 2>&1; then
        echo "$script failed; its log: $work.log" >&2
        rm -rf "$work"
        exit 1
    fi
    rm -rf "$work" "$work.log"
    echo "$script"
done
