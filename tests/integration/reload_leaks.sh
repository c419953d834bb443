# 200 reloads in a running demo leak nothing: a shader, scene 1's camera path, a texture and
# a model are rewritten in turn, 50 times each, in author mode on the fixed-step clock. The
# live GL objects (KESTRUNE_RELOAD_PROBE=1 counts them after each reload), the open files
# and the memory are the same after the last reload as after the first round.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
make_writable_run_copy
printf '#!/bin/sh\nexec "$@" --edit\n' >"$DEMO_DIR/edit" && chmod +x "$DEMO_DIR/edit"
V=$DEMO_DIR/versions
mkdir "$V"
# Two versions of each file, written in turn.
cp "$KESTRUNE_RUN_DIR/shader/flat.fs" "$V/flat.fs.0"
sed 's/texture(firstTexture, uv).rgb/vec3(1.0, 0.0, 0.0)/' "$V/flat.fs.0" >"$V/flat.fs.1"
cp "$KESTRUNE_RUN_DIR/campath2.xml" "$V/campath2.xml.0"
sed 's/ y="/ y="1/' "$V/campath2.xml.0" >"$V/campath2.xml.1"
cp "$KESTRUNE_RUN_DIR/textures/floor.bmp" "$V/floor.bmp.0"
python3 -c 'import sys; b = bytearray(open(sys.argv[1], "rb").read()); b[-30000:] = bytes(255 - x for x in b[-30000:]); open(sys.argv[2], "wb").write(b)' \
    "$V/floor.bmp.0" "$V/floor.bmp.1"
cp "$KESTRUNE_RUN_DIR/models/room.3ds" "$V/room.3ds.0"
cp "$V/room.3ds.0" "$V/room.3ds.1"
FILES=(shader/flat.fs campath2.xml textures/floor.bmp models/room.3ds)
PATTERNS=("shader/flat.fs: program rebuilt" "campath2.xml: path read, [0-9]+ nodes" "textures/floor.bmp: 1 textures uploaded"
    "models/room.3ds: [0-9]+ items uploaded")

export KESTRUNE_FPS=30 KESTRUNE_RELOAD_PROBE=1
# Freed memory goes back at once, not into the sanitizer's quarantine, so that memory
# held is memory in use.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:quarantine_size_mb=0"
start_demo "$DEMO_DIR/edit"
await "^frame 3: checksum"

measure() { # the live GL objects of the last reload, open files, resident memory (kB)
    GL=${LINE#*gl objects: }
    FDS=$(ls "/proc/$DEMO_PID/fd" | wc -l)
    RSS=$(awk '/^VmRSS:/ {print $2}' "/proc/$DEMO_PID/status")
}
for i in $(seq 0 199); do
    kind=$((i % 4)) version=$(((i / 4 + 1) % 2))
    file=${FILES[$kind]}
    cp "$V/$(basename "$file").$version" "$DEMO_DIR/$file.partial"
    mv "$DEMO_DIR/$file.partial" "$DEMO_DIR/$file"
    await "^frame [0-9]+: reload: ${PATTERNS[$kind]}$"
    await "^frame [0-9]+: gl objects: "
    if [ "$i" -eq 3 ]; then
        measure
        GL0=$GL FDS0=$FDS RSS0=$RSS
        echo "after 4 reloads:   GL objects: $GL; open files: $FDS; resident: $RSS kB"
    elif [ "$i" -eq 99 ]; then
        measure
        RSS100=$RSS
        echo "after 100 reloads: GL objects: $GL; open files: $FDS; resident: $RSS kB"
    fi
done
measure
echo "after 200 reloads: GL objects: $GL; open files: $FDS; resident: $RSS kB"
[ "$GL" = "$GL0" ] || fail "live GL objects grew: $GL0, then $GL"
[ "$FDS" -eq "$FDS0" ] || fail "open files grew: $FDS0, then $FDS"
# The allocators settle in the first rounds; from then on the second hundred reloads may
# not take more than a little (a leak of the model's arrays alone takes megabytes).
[ $((RSS - RSS100)) -le 4096 ] || fail "resident memory grew by $((RSS - RSS100)) kB over the last 100 reloads"
