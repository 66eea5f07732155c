#!/usr/bin/env bash
# Fails on any function an exe imports that is not in the list of functions known to exist in
# Windows 7 SP1 (a newer one would keep the exe from starting there at all), naming each.
#   check_imports.sh OBJDUMP ALLOWED_LIST EXE...
set -u
objdump=$1 allowed=$2
shift 2
status=0
for exe in "$@"; do
    if [ ! -f "$exe" ]; then
        echo "missing: $exe (build it first)"
        status=1
        continue
    fi
    imports=$("$objdump" -p "$exe" | awk '
        /DLL Name:/ { dll = tolower($3); next }
        /^[[:space:]]*$/ { dll = "" }
        dll != "" && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ && NF == 3 { print dll "!" $3 }')
    [ -n "$imports" ] || { echo "no imports read from $exe"; status=1; }
    while read -r import; do
        grep -qixF "$import" <(grep -v '^#' "$allowed") || { echo "$exe: $import is not known to exist in Windows 7 SP1"; status=1; }
    done <<<"$imports"
done
[ $status -eq 0 ] && echo "every import is known in Windows 7 SP1"
exit $status
