#!/bin/sh
# Ringwise in a real SDL window, seen and used as a person would: the
# recognition program runs on a virtual X display (Xvfb) from a program
# folder with two voice tags, hears a recorded name from its file
# microphone and, as the phone library is missing, says that the call
# failed. A capture of its window (ImageMagick's `import`) must show the
# pixels of the headless screen in the same state, and the message's OK
# button, pressed with xdotool, ends the run. On a display of a phone's size
# (360 x 720) the window fills it; on a desktop's it is a 480 x 640 window.
#
#   real-window-check.sh BIN_DIR SOURCE_DIR
#
# Exits 77 when Xvfb, xdotool or ImageMagick is missing.
#
# Tolerance: the headless screen and the window are drawn by the same code,
# so they normally agree in every pixel; the comparison still allows the
# edge pixels of anti-aliased text to differ, as when a display server's
# font settings change how a glyph's edge is blended. A pixel counts as
# different when its colour is more than FUZZ away (ImageMagick's -fuzz);
# at most MAX_DIFFERENT_PER_MILLE of the window's pixels may be different.
# A missing or misplaced text line, control or bar differs in far more.
set -u
bin=$1
source=$2
FUZZ=10%
MAX_DIFFERENT_PER_MILLE=2
for tool in Xvfb xdotool import compare; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/packages)" >&2
        exit 77
    fi
done
scratch=$(mktemp -d)
xvfb=
run=
cleanup() {
    [ -n "$run" ] && kill "$run" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Polls for a condition, at most $2 tenths of a second (200: 20 s): an
# event from another process.
await() {
    tries=0
    until eval "$1"; do
        tries=$((tries + 1))
        [ "$tries" -lt "${2:-200}" ] || return 1
        sleep 0.1
    done
}

# A program folder as the end-to-end tests build one: the program, the tool
# that records its tags, the shipped skins and English texts. Contacts,
# registry, runtime folder, microphone and speaker are files beside it;
# the phone library does not exist, so the recognised number's call fails
# and its message waits for the user.
program=$scratch/program
recordings=$source/tests/data/tools
mkdir -p "$program"
cp "$bin/Ringwise" "$bin/ringwise-tool" "$bin/English.lng" "$program/" || fail "no program to copy"
cp -R "$bin/skins" "$program/skins" || fail "no skins to copy"
unset RINGWISE_SCREEN RINGWISE_HEADLESS RINGWISE_SCRIPT RINGWISE_PROGRAM_READ_ONLY \
    RINGWISE_OS_MAJOR RINGWISE_PHONE_LOG RINGWISE_CODEPAGE
export RINGWISE_PLATFORM=PocketPC RINGWISE_ROOT="$scratch/root" \
    RINGWISE_REGISTRY="$scratch/registry.db" RINGWISE_CONTACTS="$source/assets/demo/contacts.vcf" \
    RINGWISE_MIC="$recordings/anna-2.wav" RINGWISE_SPEAKER="$scratch/speaker.wav" \
    RINGWISE_PHONE="$scratch/no-phone.so" XDG_RUNTIME_DIR="$scratch" \
    XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config"
tag() {
    id=$(RINGWISE_HEADLESS=1 "$program/ringwise-tool" contacts | awk -F'\t' -v name="$1" '$2 == name { print $1 }')
    [ -n "$id" ] || fail "no contact $1 among the sample contacts"
    RINGWISE_HEADLESS=1 "$program/ringwise-tool" tag "$id" "$2" "$recordings/$3.wav" >/dev/null \
        || fail "tagging $1 failed"
}
tag Anna "+1 555 0101" anna-1
tag Marek "+1 555 0102" oscar-1
printf '<Settings><General PlaySound="false" PlayCommands="false" WaitConfirmation="false"/></Settings>\n' \
    >"$program/settings.xml"

# The reference: the headless screen of size $1 with the message up.
headless() {
    printf 'wait-form MessageOk 60000\nscreenshot %s\ndump %s\ntap-control btnOk\n' \
        "$scratch/headless-$1.png" "$scratch/headless-$1.txt" >"$scratch/headless.txt"
    RINGWISE_HEADLESS=1 RINGWISE_SCREEN=$1 RINGWISE_SCRIPT="$scratch/headless.txt" \
        timeout 120 "$program/Ringwise" 2>"$scratch/headless.log" \
        || fail "the headless run at $1 exited $?: $(cat "$scratch/headless.log")"
    grep -q '^control frmName .* text=Anna Berg$' "$scratch/headless-$1.txt" \
        && grep -q '^form MessageOk active' "$scratch/headless-$1.txt" \
        || fail "the headless run at $1 did not recognise Anna: $(cat "$scratch/headless-$1.txt")"
}

# Starts Xvfb with a screen of $1 and points DISPLAY at it.
start_display() {
    [ -n "$xvfb" ] && kill "$xvfb" && wait "$xvfb" 2>/dev/null
    rm -f "$scratch/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
    xvfb=$!
    await '[ -s "$scratch/display" ]' || fail "Xvfb did not start: $(cat "$scratch/xvfb.log")"
    export DISPLAY=":$(cat "$scratch/display")"
}

# Runs Ringwise in a window until its message is up; sets $window to the
# window's id.
start_window() {
    rm -f "$scratch/window.txt"
    printf 'wait-form MessageOk 60000\ndump %s\n' "$scratch/window.txt" >"$scratch/window-script.txt"
    SDL_VIDEODRIVER=x11 RINGWISE_SCRIPT="$scratch/window-script.txt" \
        timeout 120 "$program/Ringwise" 2>"$scratch/window.log" &
    run=$!
    await '[ -s "$scratch/window.txt" ]' 600 \
        || fail "the message did not come up in the window: $(cat "$scratch/window.log")"
    window=$(timeout 20 xdotool search --sync --name '^Ringwise$' | head -1)
    [ -n "$window" ] || fail "no window named Ringwise"
}

# Whether a capture of the window shows the headless screen $1: sets
# $different to the number of pixels that are not alike.
shows() {
    import -window "$window" "$scratch/window.png" 2>/dev/null || return 1
    size=$(identify -format '%wx%h' "$scratch/window.png" 2>/dev/null)
    [ "$size" = "$1" ] || { different="all (the capture is $size)"; return 1; }
    different=$(compare -metric AE -fuzz "$FUZZ" "$scratch/headless-$1.png" "$scratch/window.png" \
        null: 2>&1)
    pixels=$((${1%x*} * ${1#*x}))
    case $different in
    '' | *[!0-9]*) return 1 ;;
    esac
    [ $((different * 1000)) -le $((pixels * MAX_DIFFERENT_PER_MILLE)) ]
}

# Presses the message's OK button where the window's form dump places it,
# and expects the run to end with 0.
press_ok() {
    set -- $(grep '^control btnOk ' "$scratch/window.txt" | head -1)
    [ $# -ge 7 ] || fail "the message has no OK button: $(cat "$scratch/window.txt")"
    x=$(($4 + $6 / 2))
    y=$(($5 + $7 / 2))
    xdotool mousemove --window "$window" "$x" "$y" click 1
    await '! kill -0 "$run" 2>/dev/null' 300 || fail "pressing OK at $x $y did not end the run"
    wait "$run"
    status=$?
    run=
    [ "$status" -eq 0 ] || fail "Ringwise exited $status: $(cat "$scratch/window.log")"
}

# A phone's display: the window fills it and shows the headless screen.
headless 360x720
start_display 360x720
start_window
await 'shows 360x720' || fail "the window differs from the headless screen in $different pixels"
echo "phone display: $different of 259200 pixels differ by more than $FUZZ"
press_ok

# A desktop's display: a window of 480 x 640, not full screen, and again
# the headless screen of its size.
headless 480x640
start_display 1280x1024
start_window
geometry=$(xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=' | tr '\n' ' ')
[ "$geometry" = "WIDTH=480 HEIGHT=640 " ] || fail "the desktop window is $geometry"
await 'shows 480x640' || fail "the desktop window differs from the headless screen in $different pixels"
echo "desktop display: $different of 307200 pixels differ by more than $FUZZ"
press_ok
echo "real window: full screen on a phone's display and a window on a desktop's, as headless; OK pressed by xdotool ends the run"
