#!/usr/bin/env bash
# Makes the tiny audio fixtures of the tests (committed; run again only to change them):
# two seconds of silence as MP3 (lame) and as OGG Vorbis (oggenc), without tags, and a second of
# a 440 Hz tone as OGG Vorbis (its audio packets are not empty, as digital silence's may be).
set -euo pipefail
cd "$(dirname "$0")"
head -c 176400 /dev/zero | lame --quiet -r -s 44.1 --bitwidth 16 -m m --signed --little-endian -b 32 - silent.mp3
head -c 176400 /dev/zero | oggenc --quiet -r -R 44100 -C 1 -B 16 -q 0 -o silent.ogg -
python3 -c "
import math, struct, sys
sys.stdout.buffer.write(b''.join(struct.pack('<h', int(6000 * math.sin(i * 2 * math.pi * 440 / 44100)))
                                 for i in range(44100)))" | oggenc --quiet -r -R 44100 -C 1 -B 16 -q 0 -o tone.ogg -
ls -l silent.mp3 silent.ogg tone.ogg
