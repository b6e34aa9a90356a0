#!/usr/bin/env bash
# Measures both matching modes on prepared spoken-digit captures (see
# prepare-fsdd.sh). Per speaker, one recording of each enrolled digit (5
# unless --tag says another) becomes its tag, trained as the program trains
# tags; recordings 0-4 (or 5-9 with --split) of the enrolled digits are then
# recognised (correct, wrong or rejected) and the same recordings of the
# other digits count as words without a tag (accepted or rejected). Two
# digit halves: digits 0-4 enrolled and 5-9 without a tag, and the other way
# round.
#
#   tools/eval/evaluate.sh [--tag N] [--split 0-4|5-9] RINGWISE_TOOL CAPTURE_DIR [SPEAKER...]
#
# The tag's recording may not be one of the recognised ones. Prints one line
# per speaker, digit half and mode, then the totals.
set -euo pipefail

usage() {
    echo "usage: $0 [--tag N] [--split 0-4|5-9] RINGWISE_TOOL CAPTURE_DIR [SPEAKER...]" >&2
    exit 2
}

tag_take=5
takes=(0 1 2 3 4)
while [[ $# -gt 0 && $1 == --* ]]; do
    case $1 in
    --tag)
        [[ $# -ge 2 && $2 =~ ^[0-9]+$ ]] || usage
        tag_take=$((10#$2))
        shift 2
        ;;
    --split)
        [[ $# -ge 2 ]] || usage
        case $2 in
        0-4) takes=(0 1 2 3 4) ;;
        5-9) takes=(5 6 7 8 9) ;;
        *) usage ;;
        esac
        shift 2
        ;;
    --)
        shift
        break
        ;;
    *) usage ;;
    esac
done
if [[ $# -lt 2 ]]; then
    usage
fi
for take in "${takes[@]}"; do
    if [[ $take -eq $tag_take ]]; then
        echo "$0: recording $tag_take is the tag and cannot be recognised too" >&2
        exit 2
    fi
done
tool=$1
captures=$2
shift 2
speakers=("$@")
if [[ ${#speakers[@]} -eq 0 ]]; then
    mapfile -t speakers < <(ls "$captures" | sed -n 's/^[0-9]_\(.*\)_[0-9]*\.wav$/\1/p' | sort -u)
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
results="$work/results.txt"
: >"$results"

# One line per recognition: SPEAKER SPLIT MODE KIND EXPECTED RESULT...
for speaker in "${speakers[@]}"; do
    for split in 0 5; do
        enrolled=() other=()
        for digit in 0 1 2 3 4 5 6 7 8 9; do
            if (( (digit >= split) && (digit < split + 5) )); then
                enrolled+=("$digit")
            else
                other+=("$digit")
            fi
        done
        tags=()
        for digit in "${enrolled[@]}"; do
            "$tool" train "$captures/${digit}_${speaker}_${tag_take}.wav" "$work/$speaker-$split-$digit" >/dev/null
            tags+=("$work/$speaker-$split-$digit.tag")
        done
        for kind in enrolled other; do
            if [[ $kind == enrolled ]]; then digits=("${enrolled[@]}"); else digits=("${other[@]}"); fi
            for digit in "${digits[@]}"; do
                for take in "${takes[@]}"; do
                    for mode in classic precise; do
                        line=$("$tool" match --engine $mode "$captures/${digit}_${speaker}_$take.wav" \
                            "${tags[@]}" | tail -n 1 || true)
                        # The 1-based result index names the enrolled digit.
                        echo "$speaker $split $mode $kind $digit ${enrolled[*]} | $line" >>"$results"
                    done
                done
            done
        done
    done
done

awk '
function add(key, what) { count[key, what]++; keys[key] = 1 }
{
    speaker = $1; half = $2; mode = $3; kind = $4; digit = $5
    bar = 0
    for (i = 6; i <= NF; i++) if ($i == "|") { bar = i; break }
    n = bar - 6
    for (i = 0; i < n; i++) tag[i + 1] = $(6 + i)
    result_index = $(bar + 2)
    unsure = ($(bar + 4) == "unsure")
    key = speaker " " half " " mode
    total = "all - " mode
    for (k = 0; k < 2; k++) {
        target = k == 0 ? key : total
        if (kind == "enrolled") {
            add(target, "in")
            if (result_index == "none") add(target, "rejected")
            else if (tag[result_index] == digit) add(target, unsure ? "right_unsure" : "right_sure")
            else add(target, unsure ? "wrong_unsure" : "wrong_sure")
        } else {
            add(target, "out")
            if (result_index == "none") add(target, "out_rejected")
            else add(target, unsure ? "out_unsure" : "out_sure")
        }
    }
}
END {
    printf "%-16s %-8s %5s %11s %11s %11s %11s %9s | %5s %9s %9s %9s\n", \
        "speaker", "mode", "in", "right sure", "right unsu", "wrong sure", "wrong unsu", "rejected", \
        "out", "sure", "unsure", "rejected"
    n = 0
    for (key in keys) order[++n] = key
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (order[j] < order[i]) { t = order[i]; order[i] = order[j]; order[j] = t }
    for (i = 1; i <= n; i++) {
        key = order[i]; split(key, part, " ")
        name = part[1] == "all" ? "all" : part[1] " " (part[2] == 0 ? "0-4" : "5-9")
        in_n = count[key, "in"] + 0; out_n = count[key, "out"] + 0
        printf "%-16s %-8s %5d %5d %4.0f%% %5d %4.0f%% %5d %4.0f%% %5d %4.0f%% %3d %4.0f%% | %5d %3d %4.0f%% %3d %4.0f%% %3d %4.0f%%\n", \
            name, part[3], in_n, \
            count[key, "right_sure"], 100 * count[key, "right_sure"] / in_n, \
            count[key, "right_unsure"], 100 * count[key, "right_unsure"] / in_n, \
            count[key, "wrong_sure"], 100 * count[key, "wrong_sure"] / in_n, \
            count[key, "wrong_unsure"], 100 * count[key, "wrong_unsure"] / in_n, \
            count[key, "rejected"], 100 * count[key, "rejected"] / in_n, \
            out_n, count[key, "out_sure"], 100 * count[key, "out_sure"] / out_n, \
            count[key, "out_unsure"], 100 * count[key, "out_unsure"] / out_n, \
            count[key, "out_rejected"], 100 * count[key, "out_rejected"] / out_n
    }
}' "$results"
if [[ -n ${RINGWISE_EVAL_KEEP:-} ]]; then
    cp "$results" "$RINGWISE_EVAL_KEEP"
fi
