#!/usr/bin/env bash
# Installs the build into a fresh prefix, moves the installed tree elsewhere and
# starts the program from there, offscreen, on the simulator's pseudo-terminal.
# usage: InstallTest.sh CMAKE BUILD_DIR KADO_SIM
set -euo pipefail
cmake=$1 build=$(cd "$2" && pwd) sim=$3

tmp=$(mktemp -d "${TMPDIR:-/tmp}/tavrin-install.XXXXXX")
manifest="$build/install_manifest.txt"
simPid='' appPid='' pty=''
cleanup() {
    set +e
    [[ -n $appPid ]] && kill "$appPid" 2>/dev/null && wait "$appPid" 2>/dev/null
    [[ -n $simPid ]] && kill "$simPid" 2>/dev/null && wait "$simPid" 2>/dev/null
    # A killed program cannot release the serial port's lock file itself.
    if [[ -n $appPid && -n $pty ]]; then
        local name=${pty#/dev/} lock
        name=${name//\//_}
        for lock in /run/lock/LCK.."$name" /var/lock/LCK.."$name"; do
            [[ -f $lock && $(head -n1 "$lock" 2>/dev/null) == "$appPid" ]] && rm -f "$lock"
        done
    fi
    # cmake --install writes its manifest into the build tree; keep the user's.
    if [[ -f $tmp/manifest.saved ]]; then mv -f "$tmp/manifest.saved" "$manifest"; else rm -f "$manifest"; fi
    rm -rf "$tmp"
}
trap cleanup EXIT
[[ -f $manifest ]] && cp -p "$manifest" "$tmp/manifest.saved"

fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$tmp/prefix" >"$tmp/install.out" || { cat "$tmp/install.out"; fail "cmake --install"; }

for f in bin/tavrin-ms lib/libpelomar.so.0 share/tavrin-ms/Tavrin.html share/applications/tavrin-ms.desktop; do
    [[ -e $tmp/prefix/$f ]] || fail "not installed: $f"
done
[[ -x $tmp/prefix/bin/tavrin-ms ]] || fail "bin/tavrin-ms is not executable"
# Only the program, its library and its shared files; no simulator, tests or benchmarks.
extra=$(cd "$tmp/prefix" && find . ! -type d | sort | grep -v -e '^\./bin/tavrin-ms$' -e '^\./lib/libpelomar\.so\.' \
    -e '^\./share/tavrin-ms/Tavrin\.html$' -e '^\./share/applications/tavrin-ms\.desktop$' || true)
[[ -z $extra ]] || fail "unexpected installed files: $extra"
grep -qx 'Name=Tavrin MS' "$tmp/prefix/share/applications/tavrin-ms.desktop" || fail "desktop entry has no Name"
grep -qx 'Exec=tavrin-ms' "$tmp/prefix/share/applications/tavrin-ms.desktop" || fail "desktop entry has no Exec"

runpath=$(readelf -d "$tmp/prefix/bin/tavrin-ms" | sed -n 's/.*(\(RUNPATH\|RPATH\)).*\[\(.*\)\]/\2/p')
[[ -n $runpath ]] || fail "installed program has no run path"
IFS=: read -ra entries <<<"$runpath"
for e in "${entries[@]}"; do
    [[ $e == '$ORIGIN'* ]] || fail "run path entry is not relative to the program: $e"
done
[[ $runpath != *"$build"* ]] || fail "run path names the build tree: $runpath"

# The installed tree must work from wherever it is moved to.
mkdir "$tmp/elsewhere"
mv "$tmp/prefix" "$tmp/elsewhere/tavrin"
root=$tmp/elsewhere/tavrin
unset LD_LIBRARY_PATH
resolved=$(ldd "$root/bin/tavrin-ms" | awk '$1 == "libpelomar.so.0" { print $3 }')
[[ -n $resolved && $(realpath -e "$resolved") == $(realpath -e "$root/lib/libpelomar.so.0") ]] ||
    fail "libpelomar resolves to '$resolved', not inside the moved tree"

mkdir -p "$tmp/config" "$tmp/data" "$tmp/work"
export XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data HOME=$tmp/work QT_QPA_PLATFORM=offscreen
cd "$tmp/work"

"$sim" --speed 5 >"$tmp/sim.out" 2>"$tmp/sim.err" &
simPid=$!
for _ in $(seq 100); do
    pty=$(head -n1 "$tmp/sim.out")
    [[ -n $pty ]] && break
    sleep 0.1
done
[[ -n $pty ]] || fail "kado-sim printed no pseudo-terminal"
export TAVRIN_COM1=$pty
for n in $(seq 2 10); do export TAVRIN_COM$n="$tmp/no-such-port-$n"; done

"$root/bin/tavrin-ms" >"$tmp/app.out" 2>&1 &
appPid=$!
started=$SECONDS
# Up once it holds the instrument's port open.
opened=''
while ((SECONDS - started < 30)); do
    kill -0 "$appPid" 2>/dev/null || { cat "$tmp/app.out" >&2; fail "the installed program exited"; }
    if [[ -n $(find "/proc/$appPid/fd" -lname "$pty" 2>/dev/null) ]]; then opened=1; break; fi
    sleep 0.2
done
[[ -n $opened ]] || { cat "$tmp/app.out" >&2; fail "the installed program did not open $pty"; }
sleep 2
kill -0 "$appPid" 2>/dev/null || { cat "$tmp/app.out" >&2; fail "the installed program stopped running"; }
grep -q " $(realpath -e "$root/lib/libpelomar.so.0")\$" "/proc/$appPid/maps" || fail "the running program did not load the moved libpelomar"
echo "installed, moved and started: $root"
