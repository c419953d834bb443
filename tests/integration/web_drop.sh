# Author mode in a browser: files dropped on the page reload like changed files on the
# desktop (tests/lib/web_drop.mjs, in Debian's headless Chromium). Skips without the web
# packages, as the web test does; builds the page if it is not built (scripts/build-web).
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
web="${KESTRUNE_WEB_DIR:-$KESTRUNE_BIN_DIR/web}"
export KESTRUNE_NODE_MODULES="$KESTRUNE_SOURCE_DIR/web/test/node_modules"
export KESTRUNE_CHROMIUM=/usr/lib/chromium/chromium
for tool in em++ emcmake node python3; do
    command -v $tool >/dev/null || skip "$tool is missing (scripts/install-deps web)"
done
[ -x "$KESTRUNE_CHROMIUM" ] || skip "Debian's chromium is missing (scripts/install-deps web)"
[ -f "$KESTRUNE_NODE_MODULES/puppeteer-core/package.json" ] ||
    skip "puppeteer-core is missing in web/test (scripts/install-deps web)"
out=$(mktemp -d)
server=""
trap '[ -n "$server" ] && kill $server 2>/dev/null; wait 2>/dev/null; rm -rf "$out"' EXIT
"$KESTRUNE_SOURCE_DIR/scripts/build-web" "$KESTRUNE_BIN_DIR" "$web" >"$out/build.log" 2>&1 ||
    { tail -n 20 "$out/build.log"; fail "the web build failed"; }
python3 -u -m http.server --bind 127.0.0.1 0 --directory "$web" >"$out/server.log" 2>&1 &
server=$!
poll 10 "the web server did not start" grep -q "port" "$out/server.log"
port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$out/server.log" | head -n 1)
node "$KESTRUNE_SOURCE_DIR/tests/lib/web_drop.mjs" "http://127.0.0.1:$port" \
    "$KESTRUNE_RUN_DIR/shader/flat.fs" "$KESTRUNE_RUN_DIR/campath2.xml" || fail "dropping files on the page"
