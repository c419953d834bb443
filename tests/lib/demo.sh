# Helpers for the integration scripts: the real demo from a private copy of the run folder,
# in the virtual display of scripts/with-xvfb.

fail() {
    echo "FAIL: $*"
    [ -f "${DEMO_OUT:-}" ] && { echo "--- demo output:"; tail -c 3000 "$DEMO_OUT"; }
    # A demo that ended before its first line says why on its error output, if anywhere.
    [ -s "${DEMO_DIR:-}/stderr.txt" ] && { echo "--- demo errors:"; tail -c 2000 "$DEMO_DIR/stderr.txt"; }
    [ -n "${DEMO_STATUS:-}" ] && echo "--- demo status: $DEMO_STATUS"
    exit 1
}

# ctest reports status 77 as a skip.
skip() {
    echo "SKIPPED: $*"
    exit 77
}

# The scripts' own numbers have a decimal point in every locale; what they run does not
# inherit this.
awk() { LC_ALL=C command awk "$@"; }

# poll SECONDS MESSAGE COMMAND...: runs the command until it succeeds, or fails after that.
poll() {
    local limit=$1 message=$2
    shift 2
    for _ in $(seq $((limit * 20))); do
        "$@" && return 0
        sleep 0.05
    done
    fail "$message"
}

# A private copy of the run folder to change files in (symlinks, but copies of the paths).
make_run_copy() {
    [ -f "$KESTRUNE_RUN_DIR/models/room.3ds" ] || skip "no generated content in $KESTRUNE_RUN_DIR"
    DEMO_DIR=$(mktemp -d)
    trap 'stop_demo; rm -rf "$DEMO_DIR"' EXIT
    ln -s "$KESTRUNE_RUN_DIR"/* "$DEMO_DIR/" && rm "$DEMO_DIR"/*.xml && cp "$KESTRUNE_RUN_DIR"/*.xml "$DEMO_DIR/"
}

# make_run_copy, with folders of its own to write in: the shaders copied, the models and
# textures linked one by one (a rename replaces a link, never what it points to).
make_writable_run_copy() {
    make_run_copy
    rm "$DEMO_DIR/shader" "$DEMO_DIR/models" "$DEMO_DIR/textures"
    cp -r "$KESTRUNE_RUN_DIR/shader" "$DEMO_DIR/shader"
    mkdir "$DEMO_DIR/models" "$DEMO_DIR/textures"
    ln -s "$KESTRUNE_RUN_DIR"/models/* "$DEMO_DIR/models/"
    ln -s "$KESTRUNE_RUN_DIR"/textures/* "$DEMO_DIR/textures/"
}

# Starts the demo in $DEMO_DIR, silent unless SDL_AUDIODRIVER says otherwise, its output in
# $DEMO_OUT; arguments are a command to run it with (a background job ignores SIGINT).
start_demo() {
    DEMO_OUT="$DEMO_DIR/stdout.txt" CURSOR=0
    (cd "$DEMO_DIR" && SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" exec "$@" ./kestrune \
        >"$DEMO_OUT" 2>"$DEMO_DIR/stderr.txt") &
    DEMO_PID=$!
}

running() {
    kill -0 "$DEMO_PID" 2>/dev/null && return 0
    wait "$DEMO_PID"
    DEMO_STATUS=$? DEMO_PID=""
    fail "the demo ended"
}

# await PATTERN [SECONDS]: waits for a line matching the regular expression after the one
# matched last; sets LINE, and FRAME when the line starts with "frame F:".
await() {
    poll "${2:-120}" "the demo did not print /$1/" next_line "$1"
}
next_line() {
    local found
    found=$(awk -v from="$CURSOR" -v p="$1" 'NR > from && $0 ~ p {print NR " " $0; exit}' "$DEMO_OUT")
    [ -n "$found" ] || { running; return 1; }
    CURSOR=${found%% *} LINE=${found#* }
    [[ "$LINE" =~ ^frame\ ([0-9]+): ]] && FRAME=${BASH_REMATCH[1]}
    return 0
}

# Waits for the demo's window to be shown (focus goes only to a viewable window); sets
# DEMO_WINDOW.
wait_for_window() {
    poll 120 "no window titled Kestrune" find_window
}
find_window() {
    DEMO_WINDOW=$(xdotool search --onlyvisible --name '^Kestrune$' 2>/dev/null | head -n1)
    [ -n "$DEMO_WINDOW" ] || { running; return 1; }
}

# Waits for the demo to end within the given seconds; sets DEMO_STATUS.
wait_for_exit() {
    poll "$1" "the demo still runs after $1 s" ended
}
ended() {
    kill -0 "$DEMO_PID" 2>/dev/null && return 1
    wait "$DEMO_PID"
    DEMO_STATUS=$? DEMO_PID=""
}

stop_demo() {
    [ -n "${DEMO_PID:-}" ] && kill "$DEMO_PID" 2>/dev/null && wait "$DEMO_PID" 2>/dev/null
    DEMO_PID=""
}

# Input to a fixed-step run, which prints "frame F: key K" (or "special N down|up", "pointer
# X Y"): each helper returns once the demo has taken it, with FRAME set. Needs the focus.
key() {
    local k
    for k in "$@"; do
        xdotool key "$k"
        [ "$k" = Escape ] && k=27
        await "^frame [0-9]+: key $k\$"
    done
}

# up_arrow down|up: presses or releases the Up arrow, the demo's special key 101.
up_arrow() {
    xdotool "key$1" Up
    await "^frame [0-9]+: special 101 $1\$"
}

# The pointer to window pixel (x, y).
point() {
    xdotool mousemove --window "$DEMO_WINDOW" "$1" "$2"
    poll 30 "the demo did not take the pointer at $1 $2" next_line "^frame [0-9]+: pointer $1 $2\$"
}
# Fails unless the next pointer event the demo takes is at (x, y).
pointer_at() {
    poll 30 "no pointer event after the pointer was to go to $1 $2" next_line "^frame [0-9]+: pointer "
    [ "${LINE#*pointer }" = "$1 $2" ] || fail "the pointer went to ${LINE#*pointer }, not $1 $2"
}

# Lets at least N frames pass after FRAME; "y", which the demo ignores, shows where it is.
after_frames() {
    local target=$((FRAME + $1))
    while [ "$FRAME" -lt "$target" ]; do key y; done
}
