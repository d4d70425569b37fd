#!/bin/bash
# A second run of the generator, on one thread, writes the same bytes as the
# build's run on several.
set -euo pipefail
generator=$1 shaders=$2 pool=$3
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
HEDEN_ASSETGEN_THREADS=1 "$generator" "$fresh/pool" "$shaders"
diff -r "$pool" "$fresh/pool"
echo "same bytes: $(find "$pool" -type f | wc -l) files"
