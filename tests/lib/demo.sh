# Shared helpers for the integration scripts: run the real demo from a private copy of the
# run folder inside the virtual display that scripts/with-xvfb provides.
# Usage: source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"

fail() {
    echo "FAIL: $*"
    [ -n "${DEMO_OUT:-}" ] && [ -f "$DEMO_OUT" ] && { echo "--- demo output:"; tail -c 3000 "$DEMO_OUT"; }
    exit 1
}

skip() {
    echo "SKIPPED: $*"
    exit 0
}

# A private copy of the run folder (symlinks for the big files), so tests can remove or
# overwrite files without touching the build's own.
make_run_copy() {
    DEMO_DIR=$(mktemp -d)
    trap 'stop_demo; rm -rf "$DEMO_DIR"' EXIT
    for f in "$KESTRUNE_RUN_DIR"/*; do
        case "$(basename "$f")" in
            *.xml) cp "$f" "$DEMO_DIR/" ;;
            *) ln -s "$f" "$DEMO_DIR/" ;;
        esac
    done
}

# Starts the demo in $DEMO_DIR; its stdout goes to $DEMO_OUT. Arguments, if any, are a
# command that runs it (e.g. env --default-signal=INT, since a background job ignores
# SIGINT).
start_demo() {
    DEMO_OUT="$DEMO_DIR/stdout.txt"
    (cd "$DEMO_DIR" && exec "$@" ./kestrune >"$DEMO_OUT" 2>"$DEMO_DIR/stderr.txt") &
    DEMO_PID=$!
}

# Waits for the demo's window; sets DEMO_WINDOW.
wait_for_window() {
    DEMO_WINDOW=""
    for _ in $(seq 600); do
        DEMO_WINDOW=$(xdotool search --name '^Kestrune$' 2>/dev/null | head -n1)
        [ -n "$DEMO_WINDOW" ] && return 0
        kill -0 "$DEMO_PID" 2>/dev/null || fail "demo ended before its window appeared"
        sleep 0.1
    done
    fail "no window titled Kestrune"
}

# Waits until stdout holds the given text (start-up done when "model count" appears, etc).
wait_for_output() {
    local text="$1" limit="${2:-120}"
    for _ in $(seq $((limit * 10))); do
        grep -qF -- "$text" "$DEMO_OUT" 2>/dev/null && return 0
        kill -0 "$DEMO_PID" 2>/dev/null || fail "demo ended before printing '$text'"
        sleep 0.1
    done
    fail "demo did not print '$text' within ${limit}s"
}

send_key() {
    xdotool windowactivate --sync "$DEMO_WINDOW" >/dev/null 2>&1
    xdotool key --clearmodifiers "$@"
}

# Waits for the demo to end within the given seconds; sets DEMO_STATUS.
wait_for_exit() {
    local limit="$1"
    for _ in $(seq $((limit * 10))); do
        if ! kill -0 "$DEMO_PID" 2>/dev/null; then
            wait "$DEMO_PID"
            DEMO_STATUS=$?
            DEMO_PID=""
            return 0
        fi
        sleep 0.1
    done
    fail "demo still running after ${limit}s"
}

stop_demo() {
    if [ -n "${DEMO_PID:-}" ] && kill -0 "$DEMO_PID" 2>/dev/null; then
        kill "$DEMO_PID" 2>/dev/null
        wait "$DEMO_PID" 2>/dev/null
    fi
    DEMO_PID=""
}

# Screenshot of the whole screen as PNG.
screenshot() {
    import -window root "$1"
}
