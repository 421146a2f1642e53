#!/usr/bin/env bash
# Installs a build into a scratch prefix and checks what a desktop and a package need of it:
#   install-test.sh BUILD_DIR EXPECTED_FILES
# the installed files are exactly those listed in EXPECTED_FILES, the menu entry and the
# AppStream data pass their validators, the entry's program and icon are there, and the
# installed programs run.
set -euo pipefail
build=$1 expected=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
diff -u "$expected" <(cd "$prefix" && find . -type f | sed "s|^\./||" | LC_ALL=C sort) \
    || { echo "installed files differ from $expected"; exit 1; }

entry=$(echo "$prefix"/share/applications/*.desktop)
desktop-file-validate "$entry"
appstreamcli validate --no-net --pedantic "$prefix"/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net "$prefix"  # the metainfo's launchable names this entry

program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -x "$prefix/bin/$program" ] || { echo "the entry starts $program, which is not installed"; exit 1; }
for file in scalable/apps/$icon.svg 48x48/apps/$icon.png; do
    [ -f "$prefix/share/icons/hicolor/$file" ] || { echo "the entry's icon lacks $file"; exit 1; }
done
"$prefix/bin/$program" --version
"$prefix/bin/varnok-cli" --version
