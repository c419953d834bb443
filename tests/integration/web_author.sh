# Author mode in the web build (?edit), in headless Chromium: the author keys, the title and
# the music's audio element after a seek and a pause (tests/lib/web_author.mjs). Needs the
# web build (integration_web_build); skips (status 77) where the web packages are missing.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
web="${KESTRUNE_WEB_DIR:-$KESTRUNE_BIN_DIR/web}"
export KESTRUNE_NODE_MODULES="$KESTRUNE_SOURCE_DIR/web/test/node_modules"
export KESTRUNE_CHROMIUM=/usr/lib/chromium/chromium
for tool in node python3; do
    command -v $tool >/dev/null || skip "$tool is missing (scripts/install-deps web)"
done
[ -x "$KESTRUNE_CHROMIUM" ] || skip "Debian's chromium is missing (scripts/install-deps web)"
[ -f "$KESTRUNE_NODE_MODULES/puppeteer-core/package.json" ] ||
    skip "puppeteer-core is missing in web/test (scripts/install-deps web)"
[ -f "$web/index.html" ] || skip "no web build in $web (make web, or the integration_web_build test)"
out=$(mktemp -d)
# The server scripts/serve-web runs (make web-run), which answers byte ranges: a browser
# seeks in the music only with them.
"$KESTRUNE_SOURCE_DIR/scripts/range-server" "$web" 0 >"$out/server.log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null; rm -rf "$out"' EXIT
poll 10 "the web server did not start" grep -q "port" "$out/server.log"
port=$(sed -n 's/^port \([0-9]*\)$/\1/p' "$out/server.log" | head -n 1)
node "$KESTRUNE_SOURCE_DIR/tests/lib/web_author.mjs" "http://127.0.0.1:$port" || fail "author mode in the browser"
