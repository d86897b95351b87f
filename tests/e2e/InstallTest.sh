#!/usr/bin/env bash
# Installs the build into a fresh prefix, moves the installed tree elsewhere and
# starts the program from there, offscreen, on the simulator's pseudo-terminal;
# then builds a host program of the chart control against the moved tree, with
# its CMake package and with its pkg-config file, and runs both.
# usage: InstallTest.sh CMAKE BUILD_DIR KADO_SIM GENERATOR MAKE_PROGRAM CXX [CXXFLAGS]
set -euo pipefail
cmake=$1 build=$(cd "$2" && pwd) sim=$3 generator=$4 makeProgram=$5 cxx=$6 cxxFlags=${7:-}
source=$(cd "$(dirname "$0")/../.." && pwd)

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

# The program with its shared files, and the chart control for host programs;
# no simulator, tests or benchmarks.
buildType=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt" | tr '[:upper:]' '[:lower:]')
buildType=${buildType:-relwithdebinfo}  # the project's default
library=$(readlink "$tmp/prefix/lib/libpelomar.so.0" || true)
[[ $library =~ ^libpelomar\.so\.0\.[0-9.]+$ ]] || fail "libpelomar.so.0 does not link to the versioned library: '$library'"
expected=$( {
    printf '%s\n' ./bin/tavrin-ms ./include/pelomar/common/RuntimeError.h \
        ./lib/cmake/Pelomar/PelomarConfig.cmake ./lib/cmake/Pelomar/PelomarConfigVersion.cmake \
        ./lib/cmake/Pelomar/PelomarTargets.cmake "./lib/cmake/Pelomar/PelomarTargets-$buildType.cmake" \
        ./lib/libpelomar.so ./lib/libpelomar.so.0 "./lib/$library" ./lib/pkgconfig/pelomar.pc \
        ./share/applications/tavrin-ms.desktop ./share/tavrin-ms/Tavrin.html
    # every public header of the control
    (cd "$source/chart_control/include" && find pelomar -maxdepth 1 -name '*.h' -printf './include/%p\n')
} | sort)
installed=$(cd "$tmp/prefix" && find . ! -type d | sort)
[[ $installed == "$expected" ]] || fail "installed files differ from the expected ones (< expected, > installed):
$(diff <(echo "$expected") <(echo "$installed") || true)"
[[ -x $tmp/prefix/bin/tavrin-ms ]] || fail "bin/tavrin-ms is not executable"
[[ $(readlink "$tmp/prefix/lib/libpelomar.so") == libpelomar.so.0 ]] || fail "libpelomar.so does not link to libpelomar.so.0"
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

# A host program of the chart control, built against the moved tree only.
hostBuild=$tmp/host-cmake
env -u CMAKE_PREFIX_PATH "$cmake" -S "$source/tests/e2e/host" -B "$hostBuild" \
    -G "$generator" -DCMAKE_MAKE_PROGRAM="$makeProgram" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_CXX_FLAGS="$cxxFlags" -DCMAKE_PREFIX_PATH="$root" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF \
    >"$tmp/host-configure.out" 2>&1 || { cat "$tmp/host-configure.out" >&2; fail "the host does not configure"; }
pelomarDir=$(sed -n 's/^Pelomar_DIR:[A-Z]*=//p' "$hostBuild/CMakeCache.txt")
[[ $(realpath -e "$pelomarDir") == $(realpath -e "$root/lib/cmake/Pelomar") ]] ||
    fail "find_package(Pelomar) found '$pelomarDir', not the moved tree"
"$cmake" --build "$hostBuild" >"$tmp/host-build.out" 2>&1 || { cat "$tmp/host-build.out" >&2; fail "the host does not build"; }
"$hostBuild/pelomar-host" || fail "the host built with the CMake package failed"

# The same host over pkg-config, at the lowest language level the headers allow.
export PKG_CONFIG_PATH=$root/lib/pkgconfig
pcFlags=$(pkg-config --cflags --libs pelomar) || fail "pkg-config does not know pelomar"
[[ $pcFlags != *"$build"* && $pcFlags != *"$tmp/prefix/"* ]] || fail "pkg-config names a tree other than the moved one: $pcFlags"
# shellcheck disable=SC2086  # the flags are words
"$cxx" -std=c++17 -fPIC $cxxFlags "$source/tests/e2e/host/main.cpp" -o "$tmp/host-pc" $pcFlags \
    -Wl,-rpath,"$(pkg-config --variable=libdir pelomar)" >"$tmp/host-pc.out" 2>&1 ||
    { cat "$tmp/host-pc.out" >&2; fail "the host does not build with pkg-config"; }
"$tmp/host-pc" || fail "the host built with pkg-config failed"
echo "host programs built against $root and run"
