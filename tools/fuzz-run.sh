#!/usr/bin/env bash
# Runs one libFuzzer target for FUZZ_SECONDS (default 10): first every seed of the repository's
# corpus, then new inputs. What it finds stays under OUT_DIR (build/): the inputs it kept in
# OUT_DIR/corpus, a crashing input in OUT_DIR/crashes, its output in OUT_DIR/log. The
# repository's corpus is only read. Each run starts from the seeds alone and replaces the
# previous run's results, so that a short run stays short however long the last one was.
#   tools/fuzz-run.sh FUZZER SEED_DIR OUT_DIR [LIBFUZZER_OPTION...]
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: $0 FUZZER SEED_DIR OUT_DIR [LIBFUZZER_OPTION...]" >&2; exit 2; }
fuzzer=$1 seeds=$2 out=$3
shift 3
seconds=${FUZZ_SECONDS:-10}
rm -rf "$out/corpus" "$out/crashes"
mkdir -p "$out/corpus" "$out/crashes"

# -timeout: an input that runs this long counts as a hang; -max_len covers every seed.
"$fuzzer" -max_total_time="$seconds" -timeout=20 -max_len=8192 -print_final_stats=1 "$@" \
  -artifact_prefix="$out/crashes/" "$out/corpus" "$seeds" 2>"$out/log" && status=0 || status=$?
tail -n 40 "$out/log"
if [ "$status" -ne 0 ]; then
  echo "$(basename "$fuzzer"): failed (exit $status); the input is in $out/crashes/" >&2
  echo "Full log: $out/log" >&2
fi
exit "$status"
