#!/bin/sh
# Makes the AppStream screenshots on the headless screen of a phone
# (360 x 720) with the preview programs of a build (default build/dev):
# the recognition skin listening and with a name found, and the settings
# form. The PNGs are kept in screenshots/ and published at the metadata's
# RINGWISE_SCREENSHOT_URL.
set -e
cd "$(dirname "$0")"
bin=$(cd "${1:-../../build/dev}/bin" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export RINGWISE_HEADLESS=1 RINGWISE_SCREEN=360x720 RINGWISE_PLATFORM=PocketPC
"$bin/recognition-preview" "$bin/skins/Default_Green/Default_Green.skin" "$bin/English.lng" \
    "$scratch/recognition" >/dev/null
"$bin/settings-preview" "$bin/skins/settings/settings.skin" "$bin/English.lng" \
    "$scratch/settings" >/dev/null
mkdir -p screenshots
cp "$scratch/recognition-finished.png" screenshots/recognition-finished.png
cp "$scratch/recognition-listening.png" screenshots/recognition-listening.png
cp "$scratch/settings-browse.png" screenshots/settings.png
