#!/bin/sh
# The screen in a real SDL window, as a person sees and uses it: on an X
# display the size of a phone's (Xvfb, 360 x 720) `ringwise-tool show` opens
# full screen and shows exactly the pixels of the headless screen of that
# size; its close button, pressed with xdotool, closes the form. On a
# desktop-sized display the window is 480 x 640.
#
#   real-window-check.sh BIN_DIR
#
# Exits 77 when Xvfb, xdotool or ImageMagick is missing.
set -u
bin=$1
for tool in Xvfb xdotool import compare; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/packages)" >&2
        exit 77
    fi
done
scratch=$(mktemp -d)
xvfb=
show=
cleanup() {
    [ -n "$show" ] && kill "$show" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Polls for a condition, at most 20 s: an event from another process.
await() {
    tries=0
    until eval "$1"; do
        tries=$((tries + 1))
        [ "$tries" -lt 200 ] || return 1
        sleep 0.1
    done
}

skin=$bin/skins/Default_Green/Default_Green.skin
unset RINGWISE_SCREEN RINGWISE_HEADLESS RINGWISE_SCRIPT
export RINGWISE_PLATFORM=PocketPC RINGWISE_ROOT="$scratch/root" \
    RINGWISE_REGISTRY="$scratch/registry.db" XDG_DATA_HOME="$scratch/data"

# Starts Xvfb with a screen of $1 and points DISPLAY at it.
start_display() {
    [ -n "$xvfb" ] && kill "$xvfb" && wait "$xvfb" 2>/dev/null
    rm -f "$scratch/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
    xvfb=$!
    await '[ -s "$scratch/display" ]' || fail "Xvfb did not start: $(cat "$scratch/xvfb.log")"
    export DISPLAY=":$(cat "$scratch/display")"
}

# The reference: the headless screen of the phone's size.
printf 'wait-form FormRecognizing\nscreenshot %s\nkey Escape\n' "$scratch/headless.png" \
    >"$scratch/headless.txt"
RINGWISE_HEADLESS=1 RINGWISE_SCREEN=360x720 RINGWISE_SCRIPT="$scratch/headless.txt" \
    timeout 60 "$bin/ringwise-tool" show "$skin" FormRecognizing \
    || fail "the headless form did not run"

start_display 360x720
printf 'wait-form FormRecognizing\ndump %s\n' "$scratch/dump.txt" >"$scratch/window.txt"
SDL_VIDEODRIVER=x11 RINGWISE_SCRIPT="$scratch/window.txt" \
    timeout 60 "$bin/ringwise-tool" show "$skin" FormRecognizing 2>"$scratch/show.log" &
show=$!
await '[ -s "$scratch/dump.txt" ]' || fail "the form did not come up: $(cat "$scratch/show.log")"
# The form is on the screen within a frame or two of being dumped.
same() {
    import -window root "$scratch/window.png" 2>/dev/null || return 1
    differing=$(compare -metric AE "$scratch/headless.png" "$scratch/window.png" null: 2>&1)
    [ "$differing" = 0 ]
}
await same || fail "the window differs from the headless screen in $differing pixels"

# The top bar's close button, at its right end (the bar is 26 pixels high).
xdotool mousemove 347 13 click 1
await '! kill -0 "$show" 2>/dev/null' || fail "the close button did not close the form"
wait "$show"
status=$?
show=
[ "$status" -eq 0 ] || fail "show exited $status: $(cat "$scratch/show.log")"

# A desktop's display: a window of its own size, not full screen.
start_display 1280x1024
printf 'wait-form FormRecognizing\ndump %s\n' "$scratch/desktop.txt" >"$scratch/window.txt"
SDL_VIDEODRIVER=x11 RINGWISE_SCRIPT="$scratch/window.txt" \
    timeout 60 "$bin/ringwise-tool" show "$skin" FormRecognizing 2>"$scratch/show.log" &
show=$!
await '[ -s "$scratch/desktop.txt" ]' || fail "the desktop form did not come up: $(cat "$scratch/show.log")"
geometry=$(xdotool search --sync --name '^Ringwise$' getwindowgeometry --shell | grep -E '^(WIDTH|HEIGHT)=' | tr '\n' ' ')
[ "$geometry" = "WIDTH=480 HEIGHT=640 " ] || fail "the desktop window is $geometry"
echo "real window: full screen on a phone's display, as headless; closed by its button"
