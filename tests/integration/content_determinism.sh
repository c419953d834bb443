#!/bin/bash
# Two runs of the content generator write identical files: the run folder's content is
# regenerated into a temporary folder and compared byte for byte.
set -u
gen="$KESTRUNE_BIN_DIR/content/kestrune-content"
[ -x "$gen" ] || { echo "content generator not built: $gen"; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
ASAN_OPTIONS=detect_leaks=0 "$gen" "$out" >/dev/null || { echo "generator failed"; exit 1; }
cd "$out" || exit 1
count=$(find . -type f | wc -l)
differ=$(find . -type f ! -exec cmp -s {} "$KESTRUNE_RUN_DIR/{}" \; -print)
[ "$count" -gt 80 ] || { echo "only $count files generated"; exit 1; }
[ -z "$differ" ] || { echo "differ from the run folder:" $differ; exit 1; }
echo "content deterministic: $count files identical"
