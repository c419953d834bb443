# Where scripts/record-video renders: on the display's graphics card where glxinfo finds
# one (direct rendering, OpenGL 3 or later, not one of Mesa's software rasterisers) and
# VIDEO_GL does not say software; otherwise in software, in a virtual display of its own.
# The choices are made with a stand-in glxinfo and a stand-in kestrune-capture that notes
# how it was run. Then the card's way is run for real on this display (in software here):
# the window hidden, the frames drawn off screen at a size that is not the screen's; they
# equal the virtual display's frames where the glow composes the picture, and where the
# scene goes straight into it differ only in a few pixels of its edges (Mesa draws into a
# window upside down): under 0.5% of the bytes, RMSE under 0.005.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
[ -f "$KESTRUNE_RUN_DIR/models/room.3ds" ] || skip "no generated content in $KESTRUNE_RUN_DIR"
[ -n "${DISPLAY:-}" ] || fail "no display to run in"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/stand-in/demo/models"
display=$DISPLAY
export CAPTURE_LOG="$work/capture.log" GLXINFO_LOG="$work/glxinfo.log"
cat >"$work/stand-in/kestrune-capture" <<'EOF'
#!/bin/bash
echo "display=$DISPLAY software=${LIBGL_ALWAYS_SOFTWARE:-no} args=$*" >"$CAPTURE_LOG"
EOF
chmod +x "$work/stand-in/kestrune-capture"

# glxinfo -B as a driver would answer: DIRECT (Yes/No), RENDERER, VERSION; STATUS its exit.
glxinfo_says() {
    cat >"$work/bin/glxinfo" <<EOF
#!/bin/bash
echo "glxinfo \$*" >>"\$GLXINFO_LOG"
echo "name of display: \$DISPLAY"
echo "direct rendering: $1"
echo "OpenGL vendor string: someone"
echo "OpenGL renderer string: $2"
echo "OpenGL version string: $3"
exit ${4:-0}
EOF
    chmod +x "$work/bin/glxinfo"
}

# record CASE EXPECTED [-u VAR] [VAR=VALUE...]: runs record-video on the stand-in capture with the
# stand-in glxinfo first on the path; EXPECTED is card or software.
record() {
    local case=$1 expected=$2
    shift 2
    rm -f "$CAPTURE_LOG" "$GLXINFO_LOG"
    env -u LIBGL_ALWAYS_SOFTWARE "$@" PATH="$work/bin:$PATH" VIDEO_SIZE=320x180 \
        "$KESTRUNE_SOURCE_DIR/scripts/record-video" "$work/stand-in" "$work/out.mp4" \
        >"$work/said" 2>&1 || fail "$case: record-video failed: $(cat "$work/said")"
    local ran
    ran=$(cat "$CAPTURE_LOG" 2>/dev/null) || fail "$case: the capture did not run"
    echo "$case: $(head -n 1 "$work/said"); $ran"
    if [ "$expected" = card ]; then
        [ "$ran" = "display=$display software=no args=--size 320x180 --fps 60 $work/out.mp4" ] ||
            fail "$case: not run on the card of $display, off screen: $ran"
        grep -q "on .*, display $display$" "$work/said" || fail "$case: the card is not named"
    else
        [[ "$ran" =~ ^display=:[0-9]+\ software=1\ args=--fps\ 60\ $work/out.mp4$ ]] &&
            [ "${ran%% *}" != "display=$display" ] ||
            fail "$case: not run in software in a display of its own: $ran"
        grep -q "in software" "$work/said" || fail "$case: it does not say it renders in software"
    fi
}

card="NVIDIA GeForce GTX 1050/PCIe/SSE2"
glxinfo_says Yes "$card" "4.6.0 NVIDIA 525.147.05"
record "a card" card
grep -q "on $card, display" "$work/said" || fail "the card's name is not given"
[ "$(cat "$GLXINFO_LOG")" = "glxinfo -B" ] || fail "glxinfo was asked $(cat "$GLXINFO_LOG")"
record "a card, VIDEO_GL=software" software VIDEO_GL=software
[ -f "$GLXINFO_LOG" ] && fail "glxinfo was asked though VIDEO_GL=software"
record "a card, no DISPLAY" software -u DISPLAY
[ -f "$GLXINFO_LOG" ] && fail "glxinfo was asked without a display"
glxinfo_says Yes "AMD Radeon RX 580 (polaris10, LLVM 15.0.6, DRM 3.49)" \
    "4.6 (Compatibility Profile) Mesa 22.3.6"
record "Mesa on a card" card
glxinfo_says Yes "llvmpipe (LLVM 15.0.6, 256 bits)" "4.5 (Compatibility Profile) Mesa 22.3.6"
record "llvmpipe" software
glxinfo_says Yes "softpipe" "3.3 (Compatibility Profile) Mesa 22.3.6"
record "softpipe" software
glxinfo_says No "$card" "4.6.0 NVIDIA 525.147.05"
record "indirect rendering" software
glxinfo_says Yes "GeForce 7300/PCI/SSE2" "2.1.2 NVIDIA 304.137"
record "OpenGL 2.1" software
glxinfo_says Yes "$card" "4.6.0 NVIDIA 525.147.05" 1
record "glxinfo fails" software
env VIDEO_GL=card "$KESTRUNE_SOURCE_DIR/scripts/record-video" "$work/stand-in" \
    "$work/out.mp4" >"$work/said" 2>&1
status=$?
echo "VIDEO_GL=card: status $status: $(cat "$work/said")"
[ $status -eq 1 ] && grep -q "VIDEO_GL must be auto or software" "$work/said" ||
    fail "VIDEO_GL=card is not refused"

# The card's way for real, on this display's screen (not 320x180), against the virtual
# display's: frames 6991 to 7050, scene 1 (the glow's picture) up to 7001.
glxinfo_says Yes "$card" "4.6.0 NVIDIA 525.147.05"
PATH="$work/bin:$PATH" VIDEO_SIZE=320x180 VIDEO_CHECKSUMS="$work/card.sums" \
    "$KESTRUNE_SOURCE_DIR/scripts/record-video" "$KESTRUNE_BIN_DIR" "$work/card.mp4" 116.5 117.5 \
    >"$work/said" 2>&1 || fail "record-video on the 'card' failed: $(tail -n 5 "$work/said")"
grep -q "on $card" "$work/said" || fail "not rendered on the 'card': $(head -n 1 "$work/said")"
VIDEO_GL=software VIDEO_SIZE=320x180 VIDEO_CHECKSUMS="$work/software.sums" \
    "$KESTRUNE_SOURCE_DIR/scripts/record-video" "$KESTRUNE_BIN_DIR" "$work/software.mp4" 116.5 117.5 \
    >"$work/said" 2>&1 || fail "record-video in software failed: $(tail -n 5 "$work/said")"
[ "$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height,nb_frames \
    -of csv=p=0 "$work/card.mp4")" = "320,180,60" ] || fail "the card's video is not 60 frames of 320x180"
[ "$(cut -d' ' -f1 "$work/card.sums" | tr '\n' ' ')" = "$(seq -s ' ' 6991 7050) " ] ||
    fail "the card's checksums are not those of frames 6991 to 7050"
[ "$(head -n 11 "$work/card.sums")" = "$(head -n 11 "$work/software.sums")" ] ||
    fail "scene 1 drawn off screen differs from the window's: $(diff "$work/card.sums" "$work/software.sums" | head -n 4)"
# Scene 2 without the glow: the raw frames, off screen and from the window.
capture() {
    local out=$1
    shift
    (cd "$KESTRUNE_RUN_DIR" && "$@" "$KESTRUNE_BIN_DIR/kestrune-capture" --from 117.4 --to 117.5 \
        ${SIZE:+--size $SIZE} --raw "$out" >/dev/null 2>"$work/said") ||
        fail "the capture of $out failed: $(tail -n 3 "$work/said")"
}
SIZE=320x180 capture "$work/card.rgb" env
KESTRUNE_SCREEN=320x180 KESTRUNE_NO_WM=1 capture "$work/window.rgb" "$KESTRUNE_SOURCE_DIR/scripts/with-xvfb"
[ "$(stat -c %s "$work/card.rgb")" -eq $((6 * 320 * 180 * 3)) ] || fail "not 6 frames off screen"
bytes=$((6 * 320 * 180 * 3))
read -r differing rmse < <(cmp -l "$work/card.rgb" "$work/window.rgb" |
    awk -v n=$bytes 'function byte(octal, i, v) { for (i = 1; i <= length(octal); i++)
                                                v = v * 8 + substr(octal, i, 1)
                                            return v }
                     { d = byte($2) - byte($3); s += d * d }
                     END { printf "%d %.6f\n", NR, sqrt(s / n) / 255 }')
echo "scene 2 off screen and from the window: $differing of $bytes bytes differ, RMSE $rmse"
awk -v d="$differing" -v r="$rmse" -v n=$bytes 'BEGIN { exit !(d < n / 200 && r < 0.005) }' ||
    fail "scene 2 off screen is not the window's picture: $differing bytes differ, RMSE $rmse"
echo "PASS"
