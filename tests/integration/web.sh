# The web build in two browsers, headless Chromium and Firefox ESR (in a virtual display,
# where it has WebGL2), against the desktop demo: the same "frame F:" lines for the whole
# show, scene 1 and scene 2 drawn alike (frames 601 and 7201, 640x360), the music and its
# switch, no false alarm about it, the keys, a window that grows, and a recording
# downloaded that the desktop reads.
# Skips (status 77) only where the web packages are not installed.
#   web.sh [--build]    --build: only the web build, which ctest runs beside the other tests
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
skip_web() {
    echo "SKIPPED: $*"
    exit 77
}
web="${KESTRUNE_WEB_DIR:-$KESTRUNE_BIN_DIR/web}"
export KESTRUNE_NODE_MODULES="$KESTRUNE_SOURCE_DIR/web/test/node_modules"
export KESTRUNE_CHROMIUM=/usr/lib/chromium/chromium
for tool in em++ emcmake node python3 convert compare; do
    command -v $tool >/dev/null || skip_web "$tool is missing (scripts/install-deps web)"
done
[ -x "$KESTRUNE_CHROMIUM" ] || skip_web "Debian's chromium is missing (scripts/install-deps web)"
export KESTRUNE_FIREFOX=/usr/bin/firefox-esr
[ -x "$KESTRUNE_FIREFOX" ] || skip_web "Debian's firefox-esr is missing (scripts/install-deps web)"
[ -f "$KESTRUNE_NODE_MODULES/puppeteer-core/package.json" ] ||
    skip_web "puppeteer-core is missing in web/test (scripts/install-deps web)"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# After the --build run this only checks that the build is up to date.
"$KESTRUNE_SOURCE_DIR/scripts/build-web" "$KESTRUNE_BIN_DIR" "$web" >"$out/build.log" 2>&1 ||
    { tail -n 20 "$out/build.log"; fail "the web build failed"; }
[ "${1:-}" = --build ] && echo "web build in $web" && exit 0

# What a visitor downloads: the page, its code and data, and the music it streams.
total=$(cat "$web"/index.html "$web"/index.js "$web"/index.wasm "$web"/index.data "$web"/*.mp3 | wc -c)
echo "download: $total bytes"
[ "$total" -lt 15000000 ] || fail "the download is $total bytes, over 15 MB"

make_run_copy
trap 'stop_demo; kill $server 2>/dev/null; wait $server 2>/dev/null; rm -rf "$DEMO_DIR" "$out"' EXIT

# The desktop: the show's lines without drawing, and the two frames drawn at 640x360.
KESTRUNE_FPS=60 KESTRUNE_NO_DRAW=1 start_demo
wait_for_exit 300
grep '^frame [0-9]*: ' "$DEMO_OUT" >"$out/desktop-frames.txt"
size=640x360 bytes=$((640 * 360 * 3))
for frame in 601 7201; do
    (cd "$DEMO_DIR" && KESTRUNE_SCREEN=$size KESTRUNE_NO_WM=1 "$KESTRUNE_SOURCE_DIR/scripts/with-xvfb" \
        "$KESTRUNE_BIN_DIR/kestrune-capture" --fps 60 --from "$(awk "BEGIN { printf \"%.6f\", ($frame - 1) / 60 }")" \
        --to "$(awk "BEGIN { printf \"%.6f\", $frame / 60 }")" --raw "$out/desktop-$frame.raw" >/dev/null) ||
        fail "the desktop capture of frame $frame failed"
    head -c $bytes "$out/desktop-$frame.raw" | convert -size $size -depth 8 rgb:- "$out/desktop-$frame.png"
done

python3 -u -m http.server --bind 127.0.0.1 0 --directory "$web" >"$out/server.log" 2>&1 &
server=$!
poll 10 "the web server did not start" grep -q "port" "$out/server.log"
port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$out/server.log" | head -n 1)

# in_browser NAME: the page's run in one browser, its results in $out/NAME, checked
# against the desktop's.
in_browser() {
    local name=$1 dir="$out/$1"
    mkdir -p "$dir"
    if [ "$name" = firefox ]; then
        KESTRUNE_BROWSER=firefox KESTRUNE_NO_WM=1 "$KESTRUNE_SOURCE_DIR/scripts/with-xvfb" \
            node "$KESTRUNE_SOURCE_DIR/tests/lib/web_test.mjs" "http://127.0.0.1:$port" "$dir" ||
            fail "in $name"
    else
        node "$KESTRUNE_SOURCE_DIR/tests/lib/web_test.mjs" "http://127.0.0.1:$port" "$dir" ||
            fail "in $name"
    fi

    diff "$out/desktop-frames.txt" "$dir/web-frames.txt" >"$dir/frames.diff" ||
        fail "$name: the web's frame lines differ from the desktop's: $(head -n 8 "$dir/frames.diff")"
    echo "$name: frame lines: $(wc -l <"$dir/web-frames.txt") alike, $(grep -c 'starts\|stops' "$dir/web-frames.txt") music changes"

    # Two rasterisers (llvmpipe, SwiftShader) and two decoders of the textures (the web's
    # are JPEG) differ a little per pixel: the pictures must be much nearer each other
    # than scene 1 is to scene 2. RMSE over all channels, 0 to 1.
    local limit=0.03 pair scene frame e apart corner mean
    for pair in "scene1 601" "scene2 7201"; do
        read -r scene frame <<<"$pair"
        e=$(rmse "$dir/$scene.png" "$out/desktop-$frame.png")
        echo "$name: $scene: RMSE $e against the desktop's frame $frame (limit $limit)"
        awk "BEGIN { exit !($e < $limit) }" || fail "$name: $scene differs from the desktop's frame $frame"
    done
    apart=$(rmse "$dir/scene1.png" "$out/desktop-7201.png")
    echo "$name: scene1 against the desktop's scene 2: RMSE $apart"
    awk "BEGIN { exit !($apart > 2 * $limit) }" || fail "$name: scene 1 and 2 are too alike ($apart) to tell"

    # After the window grew, the picture reaches every corner (unresized targets would
    # leave black bands at the right and the top).
    for corner in +0+0 +700+0 +700+350 +0+350; do
        mean=$(convert "$dir/resized.png" -crop "100x100$corner" -format "%[fx:mean]" info:)
        awk "BEGIN { exit !($mean > 0.05) }" || fail "$name: the grown window is black at $corner ($mean)"
    done
    echo "$name: a grown window is covered to its corners"
}
rmse() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\([0-9.e-]*\)).*/\1/p'; }
in_browser chromium
in_browser firefox

# The downloaded recording, read by the desktop demo at start-up.
for name in chromium firefox; do
    cp "$out/$name/download/campath.xml" "$DEMO_DIR/campath.xml"
    KESTRUNE_FPS=60 KESTRUNE_NO_DRAW=1 start_demo
    wait_for_exit 300
    grep -q "number of points: 2" "$DEMO_OUT" || fail "the desktop did not read 2 nodes from $name's download"
    [ "$(grep -c "^pos values" "$DEMO_OUT")" -ge 2 ] || fail "$name's download's nodes were not read"
done
echo "the downloaded recordings read on the desktop"
