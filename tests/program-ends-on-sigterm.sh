#!/usr/bin/env bash
# The real program, sent SIGTERM while it starts on a new library, ends as Exit ends it: exit
# code 0 and the window's place saved in Cadenzo.ini.
set -euo pipefail
program=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder"
printf '[Settings]\nIgnore Splash=1\n' >Cadenzo.ini
QT_QPA_PLATFORM=offscreen "$program" 2>/dev/null &
pid=$!
for _ in $(seq 600); do
  [ -s Cadenzo.mdb ] && break
  sleep 0.1
done
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || { echo "ended with $status"; exit 1; }
grep -q '^Place=' Cadenzo.ini || { echo "the window's place was not saved"; exit 1; }
