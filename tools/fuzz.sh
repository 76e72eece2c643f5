#!/usr/bin/env bash
# The readers of what users and other programs leave on disk, under libFuzzer
# with AddressSanitizer and UndefinedBehaviorSanitizer (Clang): the note
# reader with the speed and position rules on the text it reads (target
# "note", the default), or the bitmap file reader (target "bitmap").
#
#   bash tools/fuzz.sh [RUNS] [--max-seconds S] [--target note|bitmap]
#                                  fuzz for RUNS executions (default
#                                  10000000), or S s
#   bash tools/fuzz.sh --reseed    rewrite the seed notes from the
#                                  platform's rich edit
#
# Builds the fuzz preset (build/fuzz), starts from the target's seeds (notes
# saved by the platform's rich edit and by our writer in
# tests/native/datastore/fuzz_seeds; bitmaps of every depth and hostile ones
# in tests/native/ui/fuzz_bitmaps) plus what earlier runs kept in
# build/fuzz/corpus-TARGET, and ends with one line: executions, time, rate
# and findings. Findings are written to build/fuzz/findings; the exit code is
# non-zero if there is one, or if Clang or its sanitizer runtimes are missing
# (apt-get install clang libclang-rt-14-dev).
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1

seeds=tests/native/datastore/fuzz_seeds

if [[ ${1:-} == --reseed ]]; then
    # The interop test saves every document it has the rich edit write.
    rm -f "$seeds"/richedit_* "$seeds"/writer_*
    BV_NOTE_SEED_DIR="Z:$(pwd -P | tr / '\\')\\${seeds//\//\\}" \
        ctest --preset windows -R wine_rtf_interop_test --output-on-failure || exit 1
    echo "fuzz.sh: $(ls "$seeds" | wc -l) seed notes in $seeds"
    exit 0
fi

runs=10000000
seconds=0
target=note
while (($#)); do
    case $1 in
        --max-seconds) seconds=$2; shift 2 ;;
        --target) target=$2; shift 2 ;;
        [0-9]*) runs=$1; shift ;;
        *) echo "usage: $0 [RUNS] [--max-seconds S] [--target note|bitmap] | --reseed" >&2; exit 2 ;;
    esac
done
case $target in
    # Inputs up to 16 KB reach the note reader's nesting limit.
    note)
        program=tests/native/datastore/fuzz_note_reader
        options=(-max_len=16384 -dict=tests/native/datastore/fuzz_rtf.dict)
        ;;
    bitmap)
        program=tests/native/ui/fuzz_bitmap_file seeds=tests/native/ui/fuzz_bitmaps
        options=(-max_len=4096)
        ;;
    *) echo "fuzz.sh: unknown target '$target' (note or bitmap)" >&2; exit 2 ;;
esac

if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh: FAILED: clang++ is not installed (apt-get install clang libclang-rt-14-dev)" >&2
    exit 1
fi
if [[ ! -f $(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a) ]]; then
    echo "fuzz.sh: FAILED: Clang's libFuzzer runtime is missing (apt-get install libclang-rt-14-dev)" >&2
    exit 1
fi

mkdir -p build
if ! cmake --preset fuzz >build/fuzz-configure.log 2>&1; then
    cat build/fuzz-configure.log >&2
    exit 1
fi
cmake --build --preset fuzz --parallel 2 >/dev/null || cmake --build --preset fuzz || exit 1

corpus=build/fuzz/corpus-$target
findings=build/fuzz/findings
mkdir -p "$corpus" "$findings"
before=$(find "$findings" -type f | wc -l)
log=build/fuzz/run-$target-$runs.log

# One process, one worker: the machine is shared. An input that runs 10 s
# counts as a hang.
started=$SECONDS
"build/fuzz/$program" \
    -runs="$runs" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "${options[@]}" \
    -artifact_prefix="$findings/$target-" -print_final_stats=1 \
    "$corpus" "$seeds" >"$log" 2>&1
status=$?

stat() { sed -nE "s/^stat::$1: *([0-9]+).*/\1/p" "$log" | tail -n 1; }
executed=$(stat number_of_executed_units)
rate=$(stat average_exec_per_sec)
rss=$(stat peak_rss_mb)
new=$(($(find "$findings" -type f | wc -l) - before))
if ((status != 0)); then
    if ((new == 0)); then
        tail -n 20 "$log" >&2
        echo "fuzz.sh: FAILED: the fuzzer did not run through (log: $log)" >&2
        exit 1
    fi
    grep -E '^(==[0-9]+==|SUMMARY|.*runtime error|note_reader_fuzz|bitmap_file_fuzz|artifact_prefix)' "$log" |
        head -n 20 >&2
fi
elapsed=$((SECONDS - started))
echo "$target reader fuzz: ${executed:-0} executions in ~${elapsed} s (${rate:-0} exec/s, peak RSS ${rss:-?} MB), $new findings (log: $log)"
((status == 0))
