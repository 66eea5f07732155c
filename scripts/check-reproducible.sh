#!/usr/bin/env bash
# Builds the release of one commit (default: HEAD) twice, with scripts/release.sh in two fresh
# clones at different paths and at different times, and compares what is published (the zips,
# SHA256SUMS, the manifests) byte for byte. Prints the SHA256SUMS both builds agree on; exits 1 on
# any difference, naming the files.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$root" rev-parse "${1:-HEAD}")
work=$(mktemp -d /tmp/velmora-reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT
first="$work/a" second="$work/another-clone"

for clone in "$first" "$second"; do
    git clone --quiet --no-checkout "$root" "$clone"
    git -C "$clone" checkout --quiet --detach "$commit"
    "$clone/scripts/release.sh" >/dev/null
done

published() { (cd "$1/build/release" && find . -type f ! -path './stage-*' | sort); }
status=0
if ! diff <(published "$first") <(published "$second") >/dev/null; then
    echo "reproducible: the two builds made different files:" >&2
    diff <(published "$first") <(published "$second") >&2 || true
    status=1
fi
while read -r file; do
    if ! cmp -s "$first/build/release/$file" "$second/build/release/$file"; then
        echo "reproducible: ${file#./} differs between the two builds" >&2
        status=1
    fi
done < <(published "$first")
if [ $status -eq 0 ]; then
    echo "reproducible: $(published "$first" | wc -l) files byte for byte the same in two builds of ${commit:0:12}:"
    cat "$first/build/release/SHA256SUMS"
fi
exit $status
