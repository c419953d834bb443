#!/bin/bash
# Two runs of the content generator write identical files: the run folder's content is
# regenerated into a temporary folder and compared byte for byte.
set -u
gen="$KESTRUNE_BIN_DIR/content/kestrune-content"
[ -x "$gen" ] || { echo "content generator not built: $gen"; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
ASAN_OPTIONS=detect_leaks=0 "$gen" "$out" || { echo "generator failed"; exit 1; }
status=0
count=0
while IFS= read -r -d '' f; do
    rel=${f#"$out"/}
    count=$((count + 1))
    if ! cmp -s "$f" "$KESTRUNE_RUN_DIR/$rel"; then
        echo "differs from the run folder: $rel"
        status=1
    fi
done < <(find "$out" -type f -print0)
[ "$count" -gt 80 ] || { echo "only $count files generated"; status=1; }
for f in models/room.3ds models/skybox.3ds models/skybox2.3ds models/port.3ds models/ufo.3ds \
         models/platform.3ds campath.xml campath2.xml bgmusic.mp3 lvl2.mp3 textures/base.bmp \
         textures/glow.bmp; do
    [ -f "$out/$f" ] || { echo "missing: $f"; status=1; }
done
[ $status -eq 0 ] && echo "content deterministic: $count files identical"
exit $status
