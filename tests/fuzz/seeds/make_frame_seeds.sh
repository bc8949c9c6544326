#!/usr/bin/env bash
# Writes the seed streams of the frames fuzzer: a valid frame of each kind,
# short frames, frames with odd bytes in their fields, noise, and a mixed
# stream of the lot.
set -euo pipefail
export LC_ALL=C
out=$1
mkdir -p "$out"
cd "$out"
p() { printf -- "$2" > "$1"; }
p weight.bin          '+0001.50kg  110\r\n'
p weight-lb.bin       '-000.000lb  000\r\n'
p weight-odd.bin      '+\377\376.9.9.kg  1\000\377\r\n'
p version-rovan.bin   '+0123456VA     \r\n'
p version-selmar.bin  '+0123456YB     \r\n'
p version-noletter.bin '-0123456V\000     \r\n'
p settings.bin        'R\000\003\000\002\000\000\000\002\000\003\000\003\000\003\r\n'
p settings-high.bin   'R\377\377\377\377\377\377\377\377\377\377\377\377\377\377\r\n'
p other.bin           'X0000000000000\r\n\r\n'
p short.bin           '+01\r\n'
p crlf.bin            '\r\n\r\n\r\n'
p split-crlf.bin      '+0001.50kg  110\r+0001.50kg  110\n\r\n'
awk 'BEGIN { srand(7); for (i = 0; i < 512; i++) printf "%c", int(rand() * 256) }' > noise.bin
awk 'BEGIN { srand(11); for (i = 0; i < 256; i++) printf "%c", (rand() < 0.2 ? 13 : (rand() < 0.5 ? 10 : 43)) }' > crlf-noise.bin
cat weight.bin version-rovan.bin settings.bin short.bin noise.bin weight-lb.bin version-selmar.bin \
    other.bin weight.bin > mixed.bin
