#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzz target for SECONDS_PER_TARGET seconds (default 300).
# Prints, per target, the inputs executed and whether anything was found; inputs that fail are kept
# in build/fuzz/findings/<target>/. Exits non-zero when a target found something.
#
# Two ways to run:
#   exploring (the default): each target starts from its working corpus under build/fuzz/corpus,
#     which grows from run to run, with a random seed: new ground every time.
#   --fixed: what the test command runs. Each target first replays its seeds (fuzz/corpus/<target>)
#     and the findings kept in build/fuzz/findings/<target>, then fuzzes from a fresh copy of the
#     seeds with one fixed seed, so that the same tree gives the same result on every run.
# The seed corpus in fuzz/corpus is never written.
#
#   scripts/fuzz.sh [--fixed] [SECONDS_PER_TARGET] [TARGET...]
#   targets: ini_reader calculator csv_import text_locale host_protocol
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
fixed=0
if [[ "${1:-}" == "--fixed" ]]; then
    fixed=1
    shift
fi
# The fixed seed of --fixed; any other number gives another, equally repeatable, walk.
fixed_seed=20261209
seconds="${1:-300}"
shift || true
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: scripts/fuzz.sh [--fixed] [SECONDS_PER_TARGET] [TARGET...]" >&2
    exit 2
fi
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(ini_reader calculator csv_import text_locale host_protocol)
fi

build="$root/build/fuzz"
echo "=== fuzz: configure and build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

# The targets write scratch files (INI and CSV inputs, a database) for every input: in memory when
# the machine has /dev/shm, and in a folder of this run that is removed however the run ends.
scratch_parent="$build"
[[ -d /dev/shm && -w /dev/shm ]] && scratch_parent=/dev/shm
TMPDIR="$(mktemp -d "$scratch_parent/valdora-fuzz.XXXXXX")"
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT

found=0
summary=()
for target in "${targets[@]}"; do
    seeds="$root/fuzz/corpus/$target"
    binary="$build/bin/fuzz_$target"
    if [[ ! -d "$seeds" || ! -x "$binary" ]]; then
        echo "fuzz: unknown target $target (no $seeds or no $binary)" >&2
        exit 2
    fi
    findings="$build/findings/$target"
    log="$build/logs/$target.log"
    mkdir -p "$findings" "$(dirname "$log")"
    # -rss_limit_mb and -timeout catch runaway memory and inputs that hang; leaks are findings too.
    limits=(-timeout=20 -rss_limit_mb=2048 -max_len=4096)
    status=0
    if ((fixed)); then
        corpus="$TMPDIR/corpus-$target"
        mkdir -p "$corpus"
        cp "$seeds"/* "$corpus"/
        # Every seed and every kept finding once, by name: one that fails is reported as what it is.
        mapfile -t known < <(find "$seeds" "$findings" -type f | sort)
        echo "=== fuzz: $target: ${#known[@]} seeds and findings replayed"
        "$binary" "${limits[@]}" -artifact_prefix="$TMPDIR/replay-" "${known[@]}" >"$log.replay" 2>&1 ||
            status=$?
        if ((status != 0)); then
            echo "$target: a seed or kept finding fails (exit $status); log $log.replay"
            grep -E -m 8 'ERROR: |SUMMARY: |runtime error|property violated|got: |expected: |Running: ' \
                "$log.replay" | sed 's/^/    /' || true
            summary+=("$target: a seed or kept finding FAILS; log $log.replay")
            found=1
            continue
        fi
        seed_option=(-seed="$fixed_seed")
    else
        corpus="$build/corpus/$target"
        mkdir -p "$corpus"
        cp -n "$seeds"/* "$corpus"/
        seed_option=()
    fi
    before="$(find "$findings" -type f | wc -l)"

    echo "=== fuzz: $target for ${seconds}s${seed_option:+ (seed $fixed_seed)}"
    "$binary" "$corpus" "${seed_option[@]}" -max_total_time="$seconds" "${limits[@]}" \
        -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1 || status=$?
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
    after="$(find "$findings" -type f | wc -l)"
    if ((status != 0 || after > before)); then
        found=1
        line="$target: ${runs:-?} inputs, FOUND something (exit $status); inputs in $findings, log $log"
        grep -E -m 8 'ERROR: |SUMMARY: |runtime error|property violated|got: |expected: |Test unit written' \
            "$log" | sed 's/^/    /' || true
    else
        line="$target: ${runs:-?} inputs, nothing found"
    fi
    echo "$line"
    summary+=("$line")
done

echo "=== fuzz: summary"
printf '%s\n' "${summary[@]}"
exit "$found"
