#!/bin/bash
# A second run of the generator writes the same bytes as the build's run.
set -euo pipefail
generator=$1 shaders=$2 pool=$3
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
"$generator" "$fresh/pool" "$shaders" >/dev/null
diff -r "$pool" "$fresh/pool"
echo "same bytes: $(find "$pool" -type f | wc -l) files"
