#!/usr/bin/env bash
# Checks that every layer includes only the layers below it (the build
# enforces it for the .cpp files; this also covers headers no .cpp of the
# layer includes). Prints each offending include; exit status 1 if any.
set -u
cd "$(dirname "$0")/.."

declare -A allowed=(
    [core]="core"
    [deck]="core deck"
    [engine]="core deck engine"
    [report]="core report"
    [optimizer]="core deck engine report export optimizer"
    [editor]="core deck editor"
    [export]="core deck engine report export"
    [present]="core deck engine report optimizer editor export present"
    [control]="core deck engine report optimizer editor export present control"
    [views]="core deck engine report optimizer editor export present control views"
    [app]="core deck engine report optimizer editor export present control views app"
    [builder]="builder"
    [viewer]="viewer"
)

status=0
for layer in "${!allowed[@]}"; do
    [ -d "$layer" ] || continue
    while IFS= read -r hit; do
        included=${hit#*#include \"}
        included=${included%%/*}
        case " ${allowed[$layer]} " in
        *" $included "*) ;;
        *)
            echo "$hit: $layer/ may not include $included/"
            status=1
            ;;
        esac
    done < <(grep -rnE '#include "[a-z_]+/' "$layer" --include='*.h' --include='*.cpp')
done
exit $status
