#!/bin/sh
# Checks an installed Ringwise under ROOT (the prefix, e.g. a DESTDIR's usr):
# the program folder and the commands linked to it, the desktop files, and
# that the tools run from the read-only folder with each user's voice tags
# in their own data folder.
#
#   installed-copy-check.sh ROOT SOURCE_DIR
#
# Used by the install test (a scratch `cmake --install`) and by
# scripts/package (the .deb unpacked with dpkg -x). Prints what failed and
# exits 1; exits 77 when desktop-file-validate or appstreamcli is missing.
set -u
root=$1
source=$2
folder=$root/lib/ringwise
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/packages)" >&2
        exit 77
    fi
done

# The program folder, as bin/ of a build holds it.
for file in ringwise-tool ringwise-reg ringwise-install ringwise-pim skinc \
    libphone.so libphone-modemmanager.so libphone-tel.so libphone-log.so \
    libsetup.so libRingwiseAssign.so English.lng German.lng portal.txt \
    ringwise-help.html ringwise-hilfe.html fun/ringwise_s.png fun/ringwise_m_x2.png \
    skins/settings/dialogs.skin skins/settings/settings.skin \
    skins/Default_Green/Default_Green.skin skins/Default_Dark/Default_Dark.skin; do
    [ -f "$folder/$file" ] || fail "$folder/$file is missing"
done
for program in ringwise-tool ringwise-reg skinc; do
    [ -x "$folder/$program" ] || fail "$folder/$program is not executable"
done

# The commands are relative links to the programs of the program folder:
# the settings command is the settings launcher.
links="ringwise-tool:ringwise-tool"
if [ -e "$folder/Ringwise" ]; then
    links="$links ringwise:Ringwise ringwise-settings:Settings"
fi
for pair in $links; do
    link=${pair%%:*}
    program=${pair#*:}
    target=$(readlink "$root/bin/$link") || { fail "$root/bin/$link is no link"; continue; }
    [ "$target" = "../lib/ringwise/$program" ] || fail "$root/bin/$link points to $target"
    [ -x "$root/bin/$link" ] || fail "$root/bin/$link leads nowhere"
done

# Desktop entries, metadata and icons come with the program that they start.
app=org.ringwise.Ringwise
if [ -e "$folder/Ringwise" ]; then
    for entry in $app $app.Settings; do
        file=$root/share/applications/$entry.desktop
        desktop-file-validate "$file" || fail "$file does not validate"
        grep -qx 'X-Purism-FormFactor=Workstation;Mobile;' "$file" || fail "$file: Purism form factor"
        grep -qx 'X-KDE-FormFactor=desktop;tablet;handset;' "$file" || fail "$file: KDE form factor"
        case $entry in
        *.Settings) command=ringwise-settings ;;
        *) command=ringwise ;;
        esac
        grep -qx "Exec=$command" "$file" || fail "$file does not run $command"
        [ -f "$root/share/icons/hicolor/scalable/apps/$entry.svg" ] || fail "$entry.svg is missing"
        for size in 16 24 32 48 64 128 256; do
            png=$root/share/icons/hicolor/${size}x$size/apps/$entry.png
            # The width and height of the PNG's header.
            dims=$(od -An -tu4 --endian=big -j16 -N8 "$png" 2>/dev/null | tr -s ' ')
            [ "$dims" = " $size $size" ] || fail "$png is not $size x $size ($dims)"
        done
    done
    appstreamcli validate --no-net "$root/share/metainfo/$app.metainfo.xml" >/dev/null \
        || fail "$app.metainfo.xml does not validate"
else
    echo "note: no Ringwise program here, so no desktop files to check" >&2
fi

# The tools run from the read-only folder: settings and tags go to the
# user's data folder. Root may write anywhere, so the folder is also
# declared read-only.
scratch=$(mktemp -d)
trap 'chmod -R u+w "$folder" 2>/dev/null; rm -rf "$scratch"' EXIT
chmod -R a-w "$folder"
run() {
    env -u RINGWISE_CONTACTS RINGWISE_PROGRAM_READ_ONLY=1 RINGWISE_HEADLESS=1 \
        XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" \
        RINGWISE_REGISTRY="$scratch/registry.db" \
        RINGWISE_CONTACTS="$source/assets/demo/contacts.vcf" "$root/bin/ringwise-tool" "$@"
}
run --help >"$scratch/help.txt" 2>&1 || fail "ringwise-tool --help exits $?"
grep -q contacts "$scratch/help.txt" || fail "ringwise-tool --help lists no commands"
run contacts >"$scratch/contacts.txt" || fail "ringwise-tool contacts exits $?"
[ "$(wc -l <"$scratch/contacts.txt")" -eq 6 ] || fail "the sample contacts are not 6: $(cat "$scratch/contacts.txt")"
anna=$(grep "	Anna	Berg	" "$scratch/contacts.txt" | cut -f1)
marek=$(grep "	Marek	Novak	" "$scratch/contacts.txt" | cut -f1)
recordings=$source/tests/data/tools
run tag "$anna" "+1 555 0101" "$recordings/anna-1.wav" >/dev/null || fail "tagging Anna exits $?"
run tag "$marek" "+1 555 0102" "$recordings/oscar-1.wav" >/dev/null || fail "tagging Marek exits $?"
commands=$scratch/data/ringwise/commands
[ -f "$commands/commands.xml" ] || fail "no commands.xml in the user's data folder"
[ ! -e "$folder/commands" ] || fail "the tags were written into the program folder"
[ "$(run commands | grep -c '	00[12]$')" -eq 2 ] || fail "ringwise-tool commands lists not both tags"
# A recognition as the program makes it: another recording of each name.
for case in "anna-2 1" "oscar-2 2"; do
    set -- $case
    result=$(run match "$recordings/$1.wav" "$commands/001.tag" "$commands/002.tag" | tail -1)
    [ "$(echo "$result" | cut -d' ' -f1-2)" = "result $2" ] || fail "$1 is recognised as: $result"
done

# The settings command opens Ringwise's settings form from the read-only
# folder. The launcher ends at once; the Ringwise it starts keeps the log's
# pipe open until it has ended too.
if [ -e "$folder/Ringwise" ]; then
    printf 'wait-form FormSettings 60000\ndump %s\ncommand Exit\n' "$scratch/settings.txt" \
        >"$scratch/settings-script.txt"
    env -u RINGWISE_CONTACTS RINGWISE_PROGRAM_READ_ONLY=1 RINGWISE_HEADLESS=1 \
        RINGWISE_SCRIPT="$scratch/settings-script.txt" XDG_RUNTIME_DIR="$scratch" \
        XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" \
        RINGWISE_REGISTRY="$scratch/registry.db" \
        RINGWISE_CONTACTS="$source/assets/demo/contacts.vcf" "$root/bin/ringwise-settings" \
        2>&1 | cat >"$scratch/settings.log"
    grep -q '^form FormSettings active' "$scratch/settings.txt" 2>/dev/null \
        || fail "ringwise-settings opened no settings form: $(cat "$scratch/settings.log")"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures checks failed for $root" >&2
    exit 1
fi
echo "installed copy in $root: all checks passed"
