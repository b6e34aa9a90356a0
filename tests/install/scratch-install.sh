#!/bin/sh
# Installs the build BUILD_DIR into a scratch DESTDIR with the prefix /usr,
# as a package would, and checks the result with installed-copy-check.sh.
#
#   scratch-install.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
source=$2
destination=$(mktemp -d)
trap 'chmod -R u+w "$destination"; rm -rf "$destination"' EXIT
if ! DESTDIR="$destination" cmake --install "$build" --prefix /usr >"$destination.log" 2>&1; then
    cat "$destination.log" >&2
    rm -f "$destination.log"
    exit 1
fi
rm -f "$destination.log"
# Not exec: the trap removes the scratch folder afterwards.
status=0
"$source/tests/install/installed-copy-check.sh" "$destination/usr" "$source" || status=$?
exit $status
