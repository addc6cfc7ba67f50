#!/usr/bin/env bash
# The Debian package end to end: installed with apt-get, started from /usr/bin
# as the user "nobody" on a private Xvfb, removed again (on failure too). The
# installed program folder is read-only to that user, so a click kind chosen on
# the bar must land in the user's configuration folder and be in force at the
# next start, with nothing written beside the program.
#   package-test.sh BUILD_DIR VERSION MARKER_FILE
set -u
build=$1 version=$2 marker=$3
package=tindro-zevad folder=/usr/lib/tindro-zevad command=/usr/bin/tindro-zevad
app=io.github.tindrozevad.TindroZevad

installed() { dpkg-query -W -f='${Status}' $package 2>/dev/null | grep -q 'ok installed'; }
[ "$(id -u)" = 0 ] || { echo "[  SKIPPED ] needs root: installs the package"; exit 0; }
if installed && [ ! -e "$marker" ]; then
    echo "[  SKIPPED ] $package is installed on this machine; the test leaves it alone"
    exit 0
fi
deb=$(ls "$build/${package}_${version}_"*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "no ${package}_${version}_*.deb in $build (make package)"; exit 1; }

root=$(mktemp -d) && chmod 755 "$root"
apt() { DEBIAN_FRONTEND=noninteractive apt-get -y -o DPkg::Lock::Timeout=120 "$@" >>"$root/apt.log" 2>&1; }
pids=()
finish() {
    kill "${pids[@]}" 2>/dev/null
    wait
    # The marker names a package this test installed and has not yet removed.
    [ -e "$marker" ] && apt remove $package && rm -f "$marker"
    rm -rf "$root"
}
trap finish EXIT
fail() {
    echo "FAIL: $*"
    tail -n 40 "$root"/*.log
    exit 1
}

echo "$deb" >"$marker"
# The libraries come with the build's own packages; recommended extras are not fetched.
apt install --no-install-recommends "$deb" || fail "apt-get install"
[ "$(readlink -f $command)" = $folder/tindro-zevad ] || fail "$command is no link to the program"
for f in $folder/Lang/English.lng $folder/Click/Click1.wav $folder/Click/Click2.wav \
    $folder/help-en.html /usr/share/applications/$app.desktop \
    /usr/share/metainfo/$app.metainfo.xml /usr/share/icons/hicolor/48x48/apps/$app.png \
    /usr/share/icons/hicolor/scalable/apps/$app.svg /usr/share/man/man1/tindro-zevad.1.gz \
    /usr/share/doc/tindro-zevad/copyright; do
    [ -f "$f" ] || fail "$f not installed"
done
find $folder | sort >"$root/files-before"

# The user's own folders; a private display with a window that logs the clicks it gets.
for d in home config runtime; do install -d -o nobody -g nogroup -m 700 "$root/$d"; done
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$root/display" 2>"$root/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$root/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$root/display")
stdbuf -oL xev -geometry 300x200+400+300 -event button >"$root/xev.log" 2>&1 &
pids+=($!)
settings="$root/config/tindro-zevad/Tindro Zevad.ini"
clickKind() { sed -n 8p "$settings" 2>/dev/null | tr -d '\r'; }

start() {
    (cd "$root/home" && exec setpriv --reuid=nobody --regid=nogroup --init-groups env -i \
        DISPLAY="$DISPLAY" HOME="$root/home" XDG_CONFIG_HOME="$root/config" \
        XDG_RUNTIME_DIR="$root/runtime" PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 \
        LC_ALL=C.UTF-8 $command >>"$root/program.log" 2>&1) &
    program=$!
    pids+=($program)
}
# SIGTERM must end the program within 10 s.
stop() {
    (sleep 10 && kill -KILL $program) 2>/dev/null &
    local watchdog=$!
    kill -TERM $program
    wait $program
    local status=$?
    kill $watchdog 2>/dev/null
    [ $status -ne 137 ] || fail "the program did not end on SIGTERM"
}

# First run: the pointer calls up the bar at the left edge and rests on the
# right-click button (its centre is 22,557 on this screen) until it is saved.
start
for _ in $(seq 40); do
    xdotool mousemove 0 557 sleep 0.4 mousemove 22 557 sleep 0.6
    [ "$(clickKind)" = 5 ] && break
done
[ "$(clickKind)" = 5 ] || fail "no right click saved in $settings"
xdotool mousemove 900 800
stop
[ "$(stat -c '%a %U' "$(dirname "$settings")")" = "700 nobody" ] || fail "config folder mode"
[ "$(stat -c %U "$settings")" = nobody ] || fail "settings not the user's own"

# Second run, the pointer already on the window: the saved right click is in force.
xdotool mousemove 550 400
start
for _ in $(seq 400); do grep -q ButtonRelease "$root/xev.log" && break; sleep 0.1; done
sleep 0.5
clicks=$(grep -Eo '^Button(Press|Release)|button [0-9]' "$root/xev.log" | tr '\n' ' ')
[ "$clicks" = "ButtonPress button 3 ButtonRelease button 3 " ] || fail "clicks seen: $clicks"
stop
find $folder | sort | diff "$root/files-before" - || fail "something was written beside the program"

apt remove $package || fail "apt-get remove"
! installed && [ ! -e $folder ] && [ ! -L $command ] || fail "the package left files behind"
rm -f "$marker"
echo "package installed, run as nobody and removed"
