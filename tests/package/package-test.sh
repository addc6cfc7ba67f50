#!/usr/bin/env bash
# The Debian package installed with apt-get, run from /usr/bin as "nobody" on a private
# Xvfb and removed (on failure too). A click kind chosen on the bar must land in the user's
# configuration folder, not in the read-only program folder (that the next start takes it
# from there: the settings' unit tests).   package-test.sh BUILD_DIR VERSION MARKER_FILE
set -u
build=$1 version=$2 marker=$3 package=tindro-zevad folder=/usr/lib/tindro-zevad pids=()
command=/usr/bin/tindro-zevad app=io.github.tindrozevad.TindroZevad
installed() { dpkg-query -W -f='${Status}' $package 2>/dev/null | grep -q 'ok installed'; }
skip() { echo "[  SKIPPED ] $*"; exit 0; }
[ "$(id -u)" = 0 ] || skip "needs root: installs the package"
installed && [ ! -e "$marker" ] && skip "$package is installed on this machine; left alone"
deb=$(ls "$build/${package}_${version}_"*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "no ${package}_${version}_*.deb in $build (make package)"; exit 1; }
root=$(mktemp -d) && chmod 755 "$root" && export DEBIAN_FRONTEND=noninteractive
apt() { apt-get -y -o DPkg::Lock::Timeout=120 "$@" &>>"$root/apt.log"; }
# The marker names a package this test installed and has not yet removed.
trap 'kill "${pids[@]}" 2>/dev/null; wait; [ -e "$marker" ] && apt remove $package && rm "$marker"
    rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; tail -n 40 "$root"/*.log; exit 1; }
echo "$deb" >"$marker"
apt install --no-install-recommends "$deb" || fail "apt-get install"  # no extras fetched
[ "$(readlink -f $command)" = $folder/tindro-zevad ] || fail "$command is no link to the program"
for f in $folder/{Lang/English.lng,Click/Click1.wav,Click/Click2.wav,help-en.html} \
    /usr/share/{applications/$app.desktop,metainfo/$app.metainfo.xml,doc/$package/copyright} \
    /usr/share/{icons/hicolor/48x48/apps/$app.png,icons/hicolor/scalable/apps/$app.svg} \
    /usr/share/man/man1/tindro-zevad.1.gz; do [ -f "$f" ] || fail "$f not installed"; done
find $folder | sort >"$root/files-before"
# The user's own folders and a private display.
for d in home config runtime; do install -d -o nobody -g nogroup -m 700 "$root/$d"; done
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$root/display" 2>"$root/xvfb.log" &
pids+=($!) && for _ in $(seq 100); do [ -s "$root/display" ] || sleep 0.1; done
export DISPLAY=:$(cat "$root/display")
settings="$root/config/tindro-zevad/Tindro Zevad.ini"
saved() { [ "$(sed -n 8p "$settings" 2>/dev/null)" = $'5\r' ]; }
start() { (cd "$root/home" && exec setpriv --reuid=nobody --regid=nogroup --init-groups env -i \
    DISPLAY="$DISPLAY" HOME="$root/home" XDG_CONFIG_HOME="$root/config" LANG=C.UTF-8 \
    XDG_RUNTIME_DIR="$root/runtime" PATH=/usr/local/bin:/usr/bin:/bin LC_ALL=C.UTF-8 \
    $command >>"$root/program.log" 2>&1) & program=$! && pids+=($!); }
stop() { kill $program && timeout 10 tail --pid=$program -f /dev/null || fail "no end on SIGTERM"; }
# The pointer calls up the bar at the left edge and rests on the right-click
# button (its centre is 22,557 on this screen) until it is saved as line 8.
start
for _ in $(seq 40); do saved || xdotool mousemove 0 557 sleep 0.4 mousemove 22 557 sleep 0.6; done
saved || fail "no right click saved in $settings"
xdotool mousemove 900 800 && stop
[ "$(stat -c '%a %U' "${settings%/*}") $(stat -c %U "$settings")" = "700 nobody nobody" ] ||
    fail "the configuration folder or file is not the user's own"
find $folder | sort | diff "$root/files-before" - || fail "something was written beside the program"
apt remove $package && ! installed && [ ! -e $folder ] && [ ! -L $command ] ||
    fail "apt-get remove failed or left files behind"
rm -f "$marker" && echo "package installed, run as nobody and removed"
