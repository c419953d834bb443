# scripts/with-xvfb hands its display over only once the window manager shows windows: a
# window the command maps at once is shown. Here the window manager starts slowly, with no
# font cache yet, as on a brand-new machine; it then lost every early window before.
set -u
top="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
printf '<?xml version="1.0"?>\n<fontconfig><dir>/usr/share/fonts</dir><cachedir>%s</cachedir></fontconfig>\n' \
    "$tmp/fonts" >"$tmp/fonts.conf"
for try in 1 2; do
    rm -rf "$tmp/fonts"
    FONTCONFIG_FILE="$tmp/fonts.conf" HOME="$tmp" "$top/scripts/with-xvfb" bash -c '
        xev -geometry 1x1+0+0 >/dev/null 2>&1 &
        for _ in $(seq 100); do
            xwininfo -name "Event Tester" 2>/dev/null | grep -q IsViewable && exit 0
            sleep 0.05
        done
        exit 1' || { echo "FAIL: a window mapped at once was not shown within 5 s (try $try)" && exit 1; }
done
echo PASS
