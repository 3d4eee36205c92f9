#!/usr/bin/env bash
# with-galder-com.sh <galder-sim> <com number> [sim options] -- <command>...
# Runs <command> (a Windows program under Wine) with galder-sim playing the
# device on COM<number> of the Wine prefix: the simulator's pseudo-terminal
# is entered in HKLM\Software\Wine\Ports and linked in the prefix's
# dosdevices folder, which Wine reads at every open (no restart).
set -euo pipefail
sim=$1 com=$2
shift 2
sim_args=()
while [[ $# -gt 0 && $1 != -- ]]; do
    sim_args+=("$1")
    shift
done
shift
: "${WINEPREFIX:?the Wine prefix}"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)

out=$(mktemp)
"$sim" "${sim_args[@]}" >"$out" 2>&1 &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; rm -f "$out"' EXIT
pty=
for _ in $(seq 100); do
    pty=$(head -n 1 "$out")
    [[ $pty == /dev/* ]] && break
    sleep 0.05
done
[[ $pty == /dev/* ]] || { echo "galder-sim gave no terminal: $(cat "$out")" >&2; exit 1; }

"$wine" reg add 'HKLM\Software\Wine\Ports' /v "COM$com" /t REG_SZ /d "$pty" /f >/dev/null 2>&1
mkdir -p "$WINEPREFIX/dosdevices"
ln -sfn "$pty" "$WINEPREFIX/dosdevices/com$com"
status=0
"$@" || status=$?
"$wine" reg delete 'HKLM\Software\Wine\Ports' /v "COM$com" /f >/dev/null 2>&1 || true
rm -f "$WINEPREFIX/dosdevices/com$com"
exit "$status"
