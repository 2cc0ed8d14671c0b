#!/usr/bin/env bash
# Runs each harness of a fuzz build for a bounded time on one worker, from a
# seed corpus gathered from the examples and the tests, keeping what it
# learns in <build>/corpus and any finding in <build>/findings.
# Usage: run.sh BUILD_DIR SECONDS
set -euo pipefail
build=$1
seconds=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
fuzz=$root/tests/fuzz
seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds/description" "$seeds/document" "$seeds/tracking" "$seeds/journal" \
  "$build/corpus/description" "$build/corpus/document" "$build/corpus/tracking" \
  "$build/corpus/journal" "$build/findings"

cp "$root"/examples/*.json "$fuzz"/seeds/description/* "$seeds/description/"
cp "$root"/tests/data/documents/*.json "$fuzz"/seeds/document/* "$seeds/document/"
cp "$fuzz"/corpus/tracking/* "$seeds/tracking/"
cp "$root"/examples/journals/*.journal "$fuzz"/seeds/journal/* "$seeds/journal/"
for example in "$root"/examples/*.json; do
  "$build/bin/korvrc" import "$example" -o "$seeds/document/$(basename "$example" .json).KORProduct" \
    >/dev/null
done

run() {
  local harness=$1 corpus=$2 maxLength=${3:-65536} dictionary=${4:-json.dict}
  echo "== $harness: $seconds s"
  "$build/bin/$harness" "$build/corpus/$corpus" "$seeds/$corpus" \
    -dict="$fuzz/$dictionary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len="$maxLength" -print_final_stats=1 -artifact_prefix="$build/findings/$harness-"
}
run fuzz_document_loader document
run fuzz_description_import description
run fuzz_tracking_datagram tracking 4096
run fuzz_journal_lines journal 4096 journal.dict
