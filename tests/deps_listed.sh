#!/bin/bash
# The README's commands install what they need: `make -n run` and `make -n test` call the
# install step, and every package the build asks for (pkg-config modules, find_package,
# find_program, libraries linked by name, the compilers) and every program a script calls
# comes from scripts/install-deps' list for the use that needs it, or from what a minimal
# Debian 12 has with git and make. Derived from the build files, the scripts and dpkg.
#   deps_listed.sh SOURCE_DIR BUILD_DIR (a configured build with the tests)
set -u
src="$1" cache="$2/CMakeCache.txt"
cd "$src" || exit 1
export LC_ALL=C
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

for target in run test; do
    env -u DISPLAY make -n "$target" 2>/dev/null | grep -qx "scripts/install-deps $target" ||
        fail "'make -n $target' does not call scripts/install-deps $target"
done

# What a use may rely on: its listed packages, what a minimal root holds (Essential and
# required packages, apt, git, make), and everything those depend on.
declare -A closure
closure_of() {
    [ -n "${closure[$1]:-}" ] && return
    local listed
    listed=$(env -u DISPLAY scripts/install-deps --list "$1" | tr '\n' ' ')
    closure[$1]=$(dpkg-query -W -f='${Package}\t${Essential}\t${Priority}\t${Provides}\t${Pre-Depends}, ${Depends}\n' |
        awk -F'\t' -v start="$listed apt git make" '
            function strip(s) { sub(/^ +/, "", s); sub(/[ (:].*$/, "", s); return s }
            { deps[$1] = $5; n = split($4, p, ","); for (i = 1; i <= n; i++) provider[strip(p[i])] = provider[strip(p[i])] " " $1
              if ($2 == "yes" || $3 == "required") queue[++q] = $1 }
            END {
                n = split(start, s, " "); for (i = 1; i <= n; i++) queue[++q] = s[i]
                for (h = 1; h <= q; h++) {
                    name = queue[h]; if (name == "" || (name in seen)) continue; seen[name] = 1
                    m = split(provider[name], alt, " "); for (i = 1; i <= m; i++) queue[++q] = alt[i]
                    m = split(deps[name], d, /[,|]/); for (i = 1; i <= m; i++) queue[++q] = strip(d[i])
                }
                for (name in seen) printf " %s ", name
            }')
}

# needs USE WHAT PATH: the package holding PATH must be one USE may rely on. Noted here,
# judged at the end with one dpkg query.
needed=()
needs() { needed+=("$1"$'\t'"$2"$'\t'"$(readlink -f "$3")"); }

# The build: the top level builds the demo and its tools for every use; with the tests,
# the test, bench and fuzz trees configure too.
cached() { sed -n "s/^$1:[A-Z]*=\(\/.*\)/\1/p" "$cache" | head -n 1; }
for f in CMakeLists.txt */CMakeLists.txt; do
    case "$f" in tests/* | bench/* | fuzz/*) uses="test bench fuzz" ;; *) uses=run ;; esac
    calls=$(tr '\n' ' ' <"$f" | grep -oE '(pkg_check_modules|find_package|find_program|target_link_libraries) *\([^)]*\)')
    while read -r call; do
        [ -n "$call" ] || continue
        words=$(echo "$call" | sed 's/^[a-z_]* *(//; s/)$//')
        read -r first rest <<<"$words"
        for use in $uses; do
            case "$call" in
            pkg_check_modules*)
                for m in $rest; do
                    case "$m" in REQUIRED | QUIET | IMPORTED_TARGET | GLOBAL | NO_CMAKE_*) continue ;; esac
                    pc=$(pkg-config --variable=pcfiledir "$m" 2>/dev/null)
                    [ -n "$pc" ] && needs "$use" "pkg-config module $m ($f)" "$pc/$m.pc" ||
                        fail "pkg-config module $m ($f) is not installed"
                done
                ;;
            find_package*)
                [ "$first" = Threads ] && continue # the C library's own
                snake=$(echo "$first" | sed 's/\([a-z]\)\([A-Z]\)/\1_\2/g')
                found=$(grep -iE "^($first|$snake)(_[A-Za-z_]*)?:(PATH|FILEPATH)=/" "$cache" | cut -d= -f2- | grep -v NOTFOUND)
                [ -n "$found" ] || fail "find_package($first) ($f) left nothing in the cache to trace"
                for p in $found; do needs "$use" "find_package($first) ($f)" "$p"; done
                ;;
            find_program*)
                p=$(cached "$first")
                [ -n "$p" ] && needs "$use" "find_program($first) ($f)" "$p" || fail "find_program($first) ($f) found nothing"
                ;;
            target_link_libraries*)
                for l in $rest; do
                    # Names without a target of ours or a package's namespace are linked by
                    # name from the system.
                    [[ "$l" =~ ^[a-z0-9_+]+$ ]] || continue
                    grep -qE "add_(library|executable)\( *$l[ )]" CMakeLists.txt */CMakeLists.txt && continue
                    p=$(c++ -print-file-name="lib$l.so")
                    [ "${p#/}" != "$p" ] && needs "$use" "library $l ($f)" "$p" || fail "library $l ($f) is not installed"
                done
                ;;
            esac
        done
    done <<<"$(echo "$calls" | sed 's/) *\(pkg_check_modules\|find_package\|find_program\|target_link_libraries\)/)\n\1/g')"
done
for v in CMAKE_C_COMPILER CMAKE_CXX_COMPILER CMAKE_COMMAND PKG_CONFIG_EXECUTABLE; do
    p=$(cached "$v")
    [ -n "$p" ] && needs run "$v" "$p"
done
# The make program is the test tree's own (`make test` builds it with Ninja).
p=$(cached CMAKE_MAKE_PROGRAM)
[ -n "$p" ] && needs test CMAKE_MAKE_PROGRAM "$p"

# The scripts: each make target's scripts (and the scripts they call) belong to the use its
# install step names; everything the tests run belongs to test. `make run` without a display
# plays in a virtual one.
declare -A script_uses
script_uses[scripts/with-xvfb]="test"
for f in tests/*.sh tests/lib/*.sh tests/integration/*.sh; do script_uses[$f]=test; done
target="" use=""
while IFS= read -r line; do
    if [[ "$line" =~ ^([a-z-]+):(.*)$ ]]; then
        target=${BASH_REMATCH[1]}
        use=$(echo "${BASH_REMATCH[2]}" | grep -oE 'deps-[a-z]+' | head -n 1)
        [ "$target" = run ] && use=deps-run
        use=${use#deps-}
    elif [[ "$line" =~ scripts/([a-z-]+) ]] && [ -n "$use" ] && [ "${BASH_REMATCH[1]}" != install-deps ]; then
        script_uses[scripts/${BASH_REMATCH[1]}]+=" $use"
    fi
done <Makefile
for _ in 1 2 3; do
    for f in "${!script_uses[@]}"; do
        for called in $(grep -oE '(here|scripts)/[a-z-]+' "$f" | sed 's,.*/,scripts/,' | sort -u); do
            [ -f "$called" ] && [ "$called" != "$f" ] && [ "$called" != scripts/install-deps ] && script_uses[$called]+=" ${script_uses[$f]}"
        done
    done
done

# The first word of each command: after a line start, | & ; ( ` $( or a quote, behind
# assignments and words that run what follows.
functions=$(cat "${!script_uses[@]}" | sed -n 's/^ *\([a-z_][a-z_0-9]*\) *() *{.*/\1/p' | sort -u)
for f in "${!script_uses[@]}"; do
    words=$(sed -E 's/(^|[[:space:]])#.*$//' "$f" | tr '|&;()`"{}'"'" '\n' |
        awk '{ for (i = 1; i <= NF; i++) {
                   w = $i
                   if (w ~ /^[A-Za-z_][A-Za-z0-9_]*=/ || w ~ /^(then|do|else|elif|if|while|until|!|exec|command|time|env|nohup|setsid|xargs|sudo|timeout|-[A-Za-z-]*|[0-9]+|--)$/) continue
                   print w; break } }' | grep -E '^[A-Za-z][A-Za-z0-9_.+-]*$' | sort -u)
    for w in $words; do
        grep -qx "$w" <<<"$functions" && continue
        [ "$(type -t "$w")" = file ] || continue
        # The program a minimal root's PATH finds, not one of this machine's own.
        p=$(PATH=/usr/bin:/usr/sbin:/bin:/sbin type -P "$w" || type -P "$w")
        for use in $(echo "${script_uses[$f]}" | tr ' ' '\n' | sort -u); do
            needs "$use" "'$w' in $f" "$p"
        done
    done
done

declare -A owner
files=$(printf '%s\n' "${needed[@]}" | cut -f3 | sort -u)
# "PACKAGE[:ARCH][, PACKAGE...]: FILE"; a folder has several owners.
while IFS=$'\t' read -r packages file; do owner[$file]=" $(echo "$packages" | sed 's/:[a-z0-9]*//g; s/,//g') "; done < <(
    # dpkg names some files without /usr.
    dpkg -S $files $(echo "$files" | grep '^/usr/' | sed 's,^/usr,,') 2>/dev/null | sed 's/: /\t/')
for entry in "${needed[@]}"; do
    IFS=$'\t' read -r use what file <<<"$entry"
    packages=${owner[$file]:-${owner[${file#/usr}]:-}}
    closure_of "$use"
    [ -n "$packages" ] || { fail "$what ($file) comes from no Debian package" && continue; }
    for p in $packages; do [[ "${closure[$use]}" == *" $p "* ]] && continue 2; done
    fail "$what needs $(echo $packages), which scripts/install-deps does not list for '$use'"
done

[ "$failures" -eq 0 ] && echo "every package the build and the scripts need is listed for its use"
[ "$failures" -eq 0 ]
