# A recorded camera path is never lost. A rebuild that runs the content generator again (the
# generator touched) moves a campath.xml it did not write aside, under a name that says so,
# prints where, and puts its own path back; a second one moves nothing more. `make clean`
# copies the recordings out of the build folders before it deletes them.
set -u
source "$KESTRUNE_SOURCE_DIR/tests/lib/demo.sh"
run=$KESTRUNE_RUN_DIR gen=$KESTRUNE_BIN_DIR/content/kestrune-content
[ -x "$gen" ] || fail "content generator not built: $gen"
cmp -s "$run/campath.xml" "$run/.generated/campath.xml" ||
    skip "$run/campath.xml is not the generated path (someone's recording): left alone"
# Moved aside, the recording is named by when it was written: a time of the test's own.
stamp=20260102-030405
aside=$run/campath.recorded-$stamp.xml
[ -e "$aside" ] && skip "$aside exists already"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP" "$aside"; cp "$run/.generated/campath.xml" "$run/campath.xml"' EXIT

# The generated path with one coordinate changed, as a recording would be.
sed '0,/x="/s/x="\(-\?\)/x="\11/' "$run/campath.xml" >"$TMP/recorded.xml"
cmp -s "$TMP/recorded.xml" "$run/campath.xml" && fail "the stand-in recording is the generated path"
cp "$TMP/recorded.xml" "$run/campath.xml"
touch -d "${stamp:0:8} ${stamp:9:2}:${stamp:11:2}:${stamp:13:2}" "$run/campath.xml"
rebuild() {
    touch "$gen"
    cmake --build "$KESTRUNE_BIN_DIR" --target content >"$TMP/build.txt" 2>&1 ||
        { cat "$TMP/build.txt"; fail "the rebuild failed"; }
}
rebuild
grep -qF "$run/campath.xml was not the generated path (a recording?): kept as $aside" "$TMP/build.txt" ||
    fail "the rebuild did not say where the recording went: $(grep kestrune-content "$TMP/build.txt")"
cmp -s "$aside" "$TMP/recorded.xml" || fail "the recording moved aside is not the recording"
cmp -s "$run/campath.xml" "$run/.generated/campath.xml" || fail "the generated path is not back"
echo "rebuild: the recording kept as $(basename "$aside"), the generated path back in place"

before=$(ls "$run")
rebuild
grep -q "kept as" "$TMP/build.txt" && fail "a second rebuild moved a path: $(grep 'kept as' "$TMP/build.txt")"
[ "$(ls "$run")" = "$before" ] || fail "a second rebuild changed the run folder: $(ls "$run")"
echo "rebuild again: nothing moved"

# `make clean` on a build folder with a recording, one moved aside and the generated paths.
b=$TMP/build
mkdir -p "$b/demo/.generated" "$TMP/rec"
cp "$run/.generated"/*.xml "$b/demo/.generated/"
cp "$run/.generated"/*.xml "$b/demo/"
cp -p "$TMP/recorded.xml" "$b/demo/campath2.xml"
cp "$aside" "$b/demo/campath.recorded-20250101-000000.xml"
make -s -C "$KESTRUNE_SOURCE_DIR" clean BUILD="$b" TEST_BUILD="$TMP/none" FUZZ_BUILD="$TMP/none" \
    BENCH_BUILD="$TMP/none" WEB_BUILD="$TMP/none" RECORDINGS="$TMP/rec" >"$TMP/clean.txt" 2>&1 ||
    { cat "$TMP/clean.txt"; fail "make clean failed"; }
[ -e "$b" ] && fail "make clean left $b"
kept=$(cd "$TMP/rec" && LC_ALL=C ls | tr '\n' ' ') # in the C order, whatever the locale
[ "$kept" = "campath.recorded-20250101-000000.xml campath2.recorded-$(date -r "$TMP/recorded.xml" +%Y%m%d-%H%M%S).xml " ] ||
    fail "make clean kept $kept"
for f in "$TMP"/rec/*; do
    grep -qx "make clean: kept $b/demo/.* as $f" "$TMP/clean.txt" || fail "make clean did not name $f"
    cmp -s "$f" "$TMP/recorded.xml" || fail "$f is not the recording"
done
echo "PASS: make clean kept $kept"
