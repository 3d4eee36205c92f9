#!/usr/bin/env bash
# golden-output.sh <galder-sim> <program> [wine]
# Converts the sample backup and downloads golden/galder-contacts.txt from
# galder-sim in both record layouts (the same contacts: the same output) with
# <program>, and compares every output and change report with the files in
# golden/, byte for byte. The Linux and the
# Windows builds are held to the same files. With "wine", <program> is
# addrix-cli.exe, run under Wine with the device on COM9 of $WINEPREFIX.
# ADDRIX_GOLDEN_UPDATE=1 writes the files anew after a deliberate change.
set -euo pipefail
sim=$1 program=$2 mode=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
golden=$here/golden
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# The program's own name for a path: under Wine drive Z: is the root.
native() {
    if [[ $mode == wine ]]; then echo "Z:${1//\//\\}"; else echo "$1"; fi
}

# compare <golden> <name>: the output <name>.csv and its report against
# golden/<golden>.csv and its report.
compare() {
    for suffix in .csv -report.csv; do
        local want=$golden/$1$suffix got=$work/$2$suffix
        [[ ${ADDRIX_GOLDEN_UPDATE:-} == 1 ]] && cp "$got" "$want"
        if ! cmp "$want" "$got"; then
            diff <(cat -v "$want") <(cat -v "$got") | head -n 20 >&2 || true
            failed=1
        fi
    done
}

# export <name> <options>...: an export of the program into $work.
export_to() {
    local name=$1
    shift
    local run=("$program")
    [[ $mode == wine ]] && run=("${ADDRIX_WINE:-wine}" "$program")
    "${run[@]}" export "$@" --dir "$(native "$work")" --file "$name.csv" \
        --report "$(native "$work/$name-report.csv")" >"$work/$name.log" 2>&1 ||
        { cat "$work/$name.log" >&2; return 1; }
}

export_to sample --source ivro --input "$(native "$(realpath "$here/../../../samples/addressBook.adr")")"
compare sample sample

for layout in 1 4; do
    sim_args=(--contacts "$golden/galder-contacts.txt" --layout "$layout" --once)
    if [[ $mode == wine ]]; then
        export -f export_to native
        export program mode work
        bash "$here/../../support/with-galder-com.sh" "$sim" 9 "${sim_args[@]}" -- \
            bash -c 'export_to "$0" --source galder --port 9' "galder-layout$layout"
    else
        # A copy of the program whose settings file maps COM1 to the simulator.
        "$sim" "${sim_args[@]}" >"$work/sim.out" 2>&1 &
        sim_pid=$!
        for _ in $(seq 100); do
            [[ $(head -n 1 "$work/sim.out") == /dev/* ]] && break
            sleep 0.05
        done
        mkdir -p "$work/program"
        cp "$program" "$work/program/addrix"
        printf '[Ports]\r\nCOM1=%s\r\n' "$(head -n 1 "$work/sim.out")" >"$work/program/addrix.INI"
        program=$work/program/addrix export_to "galder-layout$layout" --source galder --port 1
        wait "$sim_pid" || true
    fi
    compare galder "galder-layout$layout"
done
exit "$failed"
