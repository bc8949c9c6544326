#!/usr/bin/env bash
# Builds the seed packages of the package fuzzer with the package builder:
# the sample product, and the same product in the older format versions
# (without the fields those versions lack).
set -euo pipefail
pkgbuild=$1 sample=$2 out=$3
mkdir -p "$out"
"$pkgbuild" build "$sample/demo.manifest" -o "$out/demo.pkg" >/dev/null
for version in 0 2 3; do
  variant="$sample/.fuzz-v$version.manifest"
  awk -v v="$version" '
    /^\[/ { section = $0 }
    /^FormatVersion/ { print "FormatVersion = " v; next }
    /^ProgramShortcutOn/ && v < 4 { next }
    section == "[menu]" && !/^\[/ && v < 3 { next }
    { print }' "$sample/demo.manifest" > "$variant"
  "$pkgbuild" build "$variant" -o "$out/v$version.pkg" >/dev/null
  rm -f "$variant"
done
