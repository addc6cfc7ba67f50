#!/usr/bin/env bash
# Checks the Debian package that `make package` left in the build folder:
# lintian must find no errors, and the menu entry and AppStream metadata, as
# the package installs them, must pass desktop-file-validate and appstreamcli.
set -euo pipefail

build=${1:-build}
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$(ls "$build"/tindro-zevad_"$version"_*.deb)
echo "Checking $deb"

echo "== lintian"
lintian --fail-on error --tag-display-limit 0 --display-info "$deb"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dpkg-deb -x "$deb" "$stage"

echo "== desktop-file-validate"
desktop-file-validate "$stage"/usr/share/applications/*.desktop

echo "== appstreamcli validate"
appstreamcli validate --no-net --pedantic "$stage"/usr/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net "$stage"

echo "Package checks passed."
