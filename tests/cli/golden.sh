#!/usr/bin/env bash
# Runs the real pagewell-cli on the golden files: each NAME.json imports,
# exports back to itself byte for byte, and prints the outline in NAME.outline;
# the classic project generates the pages of earlier versions.
set -euo pipefail
cli=$1
data=$2/cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for json in "$data"/*.json; do
  name=$(basename "$json" .json)
  "$cli" import "$json" "$work/$name.pwl"
  if ! "$cli" export "$work/$name.pwl" | cmp -s - "$json"; then
    echo "FAIL: $name: export differs from $json"; failed=1
  fi
  if ! "$cli" outline "$work/$name.pwl" | cmp -s - "$data/$name.outline"; then
    echo "FAIL: $name: outline differs from $name.outline"; failed=1
  fi
done

# A project without site settings generates byte for byte as it always did.
classic=$data/../classic
"$cli" import "$classic/site.json" "$work/classic.pwl"
mkdir -p "$work/classic"
(cd "$classic" && "$cli" generate "$work/classic.pwl" --dest "$work/classic" >/dev/null)
for page in "$classic"/expected/*.htm; do
  if ! cmp -s "$page" "$work/classic/$(basename "$page")"; then
    echo "FAIL: classic: $(basename "$page") differs from the page of earlier versions"; failed=1
  fi
done
exit $failed
