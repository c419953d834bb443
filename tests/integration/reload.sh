# Author mode reloads what is written in its run folder, on the fixed-step clock, each
# frame's checksum printed (KESTRUNE_RELOAD_PROBE=1). One run A changes its files while it
# runs; fresh starts with the changed files (B, C) draw the frames A must match:
# - a rewritten shader (saved through a temporary file and a rename) changes the next frame
#   to what a fresh start with that shader draws, and that frame differs from before;
# - a broken shader (written in place) leaves the frames as they were, with one message;
# - a rewritten camera path, after several segments, moves the camera as a fresh start
#   with it would;
# - a path file that cannot be played keeps the old path, with the start-up's reason;
# - a model and a texture written again unchanged are read and uploaded again and draw
#   exactly as before (the model where the show put it, with its textures); a model and
#   a texture that cannot be read keep the old ones, each with a message.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
make_writable_run_copy
SAVED=$DEMO_DIR/saved
mkdir "$SAVED" && cp -r "$DEMO_DIR/shader" "$DEMO_DIR"/*.xml "$SAVED/"
printf '#!/bin/sh\nexec "$@" --edit\n' >"$DEMO_DIR/edit" && chmod +x "$DEMO_DIR/edit"
export KESTRUNE_FPS=30 KESTRUNE_RELOAD_PROBE=1

# The changed files: the sky boxes' shader paints them red; scene 1's path moved 1.5
# units up; a path of two nodes, which cannot be played.
sed 's/texture(firstTexture, uv).rgb/vec3(1.0, 0.0, 0.0)/' "$SAVED/shader/flat.fs" >"$SAVED/red.fs"
cmp -s "$SAVED/red.fs" "$SAVED/shader/flat.fs" && fail "the red shader is the old one"
printf '#version 130\nout vec4 fragColor;\nvoid main() { fragColor = undeclared; }\n' >"$SAVED/broken.fs"
python3 - "$SAVED/campath2.xml" "$SAVED/moved.xml" <<'PY'
import re, sys
text = open(sys.argv[1]).read()
moved = re.sub(r' y="(-?[0-9.]+)"', lambda m: ' y="%f"' % (float(m.group(1)) + 1.5), text)
assert moved != text
open(sys.argv[2], "w").write(moved)
PY
cat >"$SAVED/short.xml" <<'XML'
<?xml version="1.0" ?>
<camerapath>
    <points amount="2">
        <pos x="0.000000" y="1.000000" z="0.000000" />
        <view xv="0.000000" yv="1.000000" zv="1.000000" />
        <pos x="1.000000" y="1.000000" z="0.000000" />
        <view xv="1.000000" yv="1.000000" zv="1.000000" />
    </points>
</camerapath>
XML

# replace FILE CONTENT: as an editor saves, through a temporary file renamed over it.
replace() {
    cp "$2" "$DEMO_DIR/$1.partial" && mv "$DEMO_DIR/$1.partial" "$DEMO_DIR/$1"
}
# sums_of OUTPUT FROM TO: the checksums of those frames, one a line ("F SUM").
sums_of() {
    awk -v from="$2" -v to="$3" '/^frame [0-9]+: checksum / {
        f = substr($2, 1, length($2) - 1) + 0; if (f >= from && f <= to) print f, $4 }' "$1"
}
# run NAME SHADER PATH LAST: a fresh start with these files, until frame LAST is drawn.
run() {
    cp "$SAVED/shader/flat.fs" "$DEMO_DIR/shader/flat.fs"
    [ "$2" = red ] && cp "$SAVED/red.fs" "$DEMO_DIR/shader/flat.fs"
    cp "$3" "$DEMO_DIR/campath2.xml"
    ln -sf "$KESTRUNE_RUN_DIR/models/room.3ds" "$DEMO_DIR/models/room.3ds"
    ln -sf "$KESTRUNE_RUN_DIR/textures/floor.bmp" "$DEMO_DIR/textures/floor.bmp"
    start_demo "$DEMO_DIR/edit"
    await "^frame $4: checksum"
    stop_demo
    mv "$DEMO_OUT" "$DEMO_DIR/$1.txt"
}

# --- A: the files change while it runs.
start_demo "$DEMO_DIR/edit"
await "^frame 20: checksum"
replace shader/flat.fs "$SAVED/red.fs"
await "^frame [0-9]+: reload: shader/flat.fs: program rebuilt$"
SHADER=$FRAME
await "^frame $((SHADER + 3)): checksum"

cat "$SAVED/broken.fs" >"$DEMO_DIR/shader/flat.fs"
await "^frame [0-9]+: reload: the flat program stays as it was: shader/flat.fs failed to compile:"
BROKEN=$FRAME
await "^frame $((BROKEN + 3)): checksum"

# Past two segment ends (a segment is 50 frames at 30 frames per second).
await "^frame 130: checksum"
replace campath2.xml "$SAVED/moved.xml"
await "^frame [0-9]+: reload: campath2.xml: path read, [0-9]+ nodes$"
PATH_AT=$FRAME
await "^frame $((PATH_AT + 3)): checksum"
replace campath2.xml "$SAVED/short.xml"
await "^frame [0-9]+: reload: camera path campath2.xml not usable: fewer than four pos/view pairs; the old path stays$"
SHORT=$FRAME
await "^frame $((SHORT + 3)): checksum"

replace models/room.3ds "$KESTRUNE_RUN_DIR/models/room.3ds"
await "^frame [0-9]+: reload: models/room.3ds: [0-9]+ items uploaded$"
MODEL=$FRAME
replace textures/floor.bmp "$KESTRUNE_RUN_DIR/textures/floor.bmp"
await "^frame [0-9]+: reload: textures/floor.bmp: 1 textures uploaded$"
TEXTURE=$FRAME
await "^frame $((TEXTURE + 3)): checksum"
echo "not a model" >"$SAVED/bad"
replace models/room.3ds "$SAVED/bad"
await "^frame [0-9]+: reload: .*; the old model stays$"
BAD_MODEL=$FRAME
replace textures/floor.bmp "$SAVED/bad"
await "^frame [0-9]+: reload: textures/floor.bmp cannot be decoded; the old texture stays$"
BAD_TEXTURE=$FRAME
LAST=$((BAD_TEXTURE + 3))
await "^frame $LAST: checksum"
stop_demo
mv "$DEMO_OUT" "$DEMO_DIR/a.txt"
A=$DEMO_DIR/a.txt
echo "A: shader rewritten after frame $SHADER, broken after $BROKEN, path rewritten after $PATH_AT," \
    "unplayable after $SHORT; model and texture rewritten after $MODEL and $TEXTURE, bad ones" \
    "after $BAD_MODEL and $BAD_TEXTURE"

messages=$(grep -c "stays as it was" "$A")
[ "$messages" -eq 1 ] || fail "the broken shader gave $messages messages, not 1"
grep -q "rebuilt" <(sed -n "/reload: the flat program stays/,\$p" "$A") &&
    fail "a program was rebuilt from the broken shader"

# --- B: a fresh start with the red shader. --- C: with the red shader and the moved path.
run b red "$SAVED/campath2.xml" "$LAST"
run c red "$SAVED/moved.xml" "$LAST"
B=$DEMO_DIR/b.txt C=$DEMO_DIR/c.txt

same() { # WHAT RUN FROM TO: A's frames FROM to TO are the run's
    local mine theirs
    mine=$(sums_of "$A" "$3" "$4") theirs=$(sums_of "$2" "$3" "$4")
    [ "$(wc -l <<<"$mine")" -eq $(($4 - $3 + 1)) ] || fail "A lacks checksums of frames $3 to $4"
    [ "$mine" = "$theirs" ] || fail "$1: A's frames $3 to $4 are not the fresh start's:
$(diff <(echo "$mine") <(echo "$theirs"))"
    echo "ok: $1 (frames $3 to $4)"
}
differ() { # WHAT RUN FRAME: A's frame is not the run's
    [ "$(sums_of "$A" "$3" "$3")" != "$(sums_of "$2" "$3" "$3")" ] ||
        fail "$1: frame $3 is the same in both runs"
    echo "ok: $1 (frame $3)"
}
differ "the old shader draws another picture than the red one" "$B" "$SHADER"
same "the rewritten shader draws as a fresh start with it" "$B" $((SHADER + 1)) $((BROKEN))
same "the broken shader left the frames as they were" "$B" $((BROKEN + 1)) $((PATH_AT))
differ "the moved path shows another picture" "$B" $((PATH_AT + 1))
same "the rewritten path moves the camera as a fresh start with it" "$C" $((PATH_AT + 1)) "$SHORT"
same "the unplayable path kept the old one" "$C" $((SHORT + 1)) "$MODEL"
same "the model and the texture read again draw as before" "$C" $((MODEL + 1)) "$BAD_MODEL"
same "the bad model and texture kept the old ones" "$C" $((BAD_MODEL + 1)) "$LAST"
