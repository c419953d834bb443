# Numbers read and written the same in a German locale (decimal comma) as in C: the demo
# after its start-up (GLUT, X and the sound may touch the locale) prints the glow reach,
# and the tools read the shipped paths and models.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
german=de_DE.UTF-8
locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8' || skip "no $german locale on this machine"
make_run_copy

for tool in "kestrune-paths campath2.xml" "kestrune-inspect models/room.3ds"; do
    read -r name file <<<"$tool"
    c=$(cd "$DEMO_DIR" && LC_ALL=C "$KESTRUNE_BIN_DIR/$name" "$file")
    de=$(cd "$DEMO_DIR" && LC_ALL=$german "$KESTRUNE_BIN_DIR/$name" "$file")
    [ -n "$c" ] && [ "$c" = "$de" ] || fail "$name $file differs under $german: $de"
done

export KESTRUNE_FPS=60 KESTRUNE_NO_DRAW=1
start_demo env LC_ALL=$german
wait_for_window
xdotool windowfocus --sync "$DEMO_WINDOW"
key o
poll 10 "no glow reach printed" next_line '^dd: '
[[ "$LINE" =~ ^dd:\ [0-9]+\.[0-9]+$ ]] || fail "the glow reach reads \"$LINE\" under $german"
key Escape
wait_for_exit 30
echo "numbers the same under $german"
