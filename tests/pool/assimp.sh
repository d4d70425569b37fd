#!/bin/bash
# The dolphin as an outside reader sees it: assimp imports it, and it stays
# within the mesh capacity the program gives it (2,200 points, 4,300 triangles).
set -euo pipefail
report=$(assimp info "$1" 2>&1)
grep -q "Importing file \.\.\. *OK" <<<"$report" || { echo "$report"; exit 1; }
faces=$(awk '/^Faces:/ {print $2}' <<<"$report")
grep -q "Primitive Types: *triangles" <<<"$report" || { echo "not all triangles: $report"; exit 1; }
echo "assimp: $faces triangles"
(( faces >= 1000 && faces <= 4300 ))
