#!/bin/sh
# `addrix` without arguments where there is no display: a clear message and
# exit status 69 instead of an abort.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" 2>&1)
status=$?
printf '%s\n' "$out"
[ "$status" -eq 69 ] && printf '%s\n' "$out" | grep -q "no display"
