#!/usr/bin/env bash
# Fails when an include in src/ points up or sideways in the layers:
#   app/{gui,cli} > app/galder > wizard > export > sources/{ivro,galder}, settings
#   > contact > platform (platform/qt only for app/)
# when a Qt header is included below app/ and platform/qt/, when a shell
# reaches the export driver other than through the export session, and when
# anything in src/ lets pending events run from inside a handler.
set -euo pipefail
cd "$(dirname "$0")/../src"

# What a folder may include from src/, besides itself.
allowed_for() {
    local below_export="contact/ platform/"
    case "$1" in
    platform/qt/*) echo "platform/" ;;
    platform/*) echo "platform/" ;;
    contact/*) echo "platform/" ;;
    sources/ivro/* | sources/galder/* | settings/*) echo "$below_export" ;;
    export/*) echo "sources/ settings/ $below_export" ;;
    wizard/*) echo "export/ sources/ settings/ $below_export" ;;
    app/galder/*) echo "sources/galder/ platform/" ;;
    app/cli/* | app/gui/*) echo "app/galder/ wizard/ export/ sources/ settings/ $below_export" ;;
    app/*) echo "app/ wizard/ export/ sources/ settings/ $below_export" ;;
    *) echo "" ;;
    esac
}

# The folder a file belongs to, as the rules above name it.
home_of() {
    case "$1" in
    platform/qt/*) echo "platform/qt/" ;;
    platform/*) echo "platform/" ;;
    sources/*/*) echo "${1%%/*}/$(cut -d/ -f2 <<<"$1")/" ;;
    app/*/*) echo "app/$(cut -d/ -f2 <<<"$1")/" ;;
    */*) echo "${1%%/*}/" ;;
    *) echo "" ;;
    esac
}

status=0
while IFS= read -r file; do
    home=$(home_of "$file")
    allowed=$(allowed_for "$file")
    while IFS= read -r line; do
        target=$(sed -E 's/^#include "([^"]+)".*/\1/' <<<"$line")
        ok=0
        [[ $target == "$home"* ]] && ok=1
        for prefix in $allowed; do
            [[ $target == "$prefix"* ]] && ok=1
        done
        # Qt services are for the shells alone.
        if [[ $target == platform/qt/* && $file != app/* && $file != platform/qt/* ]]; then
            ok=0
        fi
        if [[ $target == export/IWizardForm.h && $file != export/* && $file != wizard/* &&
              $file != app/* ]]; then
            ok=0
        fi
        # The shells run an export only through wizard/ExportSession.h.
        if [[ $target == export/ExportDriver.h && $file == app/* ]]; then
            ok=0
        fi
        if ((ok == 0)); then
            echo "src/$file: includes \"$target\" against the layers"
            status=1
        fi
    done < <(grep -E '^#include "' "$file" || true)
    if [[ $file != app/* && $file != platform/qt/* ]] && grep -qE '^#include <Q' "$file"; then
        echo "src/$file: includes a Qt header below the shells"
        status=1
    fi
    if grep -q 'processEvents' "$file"; then
        echo "src/$file: lets pending events run from inside a handler (processEvents)"
        status=1
    fi
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's#^\./##' | sort)

if ((status == 0)); then
    echo "layers: every include points down"
fi
exit "$status"
