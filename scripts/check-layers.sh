#!/usr/bin/env bash
# Checks that every layer includes only the layers below it (the build
# enforces it for the .cpp files; this also covers headers no .cpp of the
# layer includes). Prints each offending include; exit status 1 if any.
set -u
cd "$(dirname "$0")/.."

declare -A allowed=(
    [base]="base"
    [qtbase]="base qtbase"
    [core]="base core"
    [deck]="base core deck"
    [engine]="base core deck engine"
    [report]="base core report"
    [optimizer]="base core deck engine report export optimizer"
    [editor]="base core deck editor"
    [export]="base core deck engine report export"
    [present]="base core deck engine report optimizer editor export present"
    [control]="base core deck engine report optimizer editor export present control"
    [views]="base qtbase core deck engine report optimizer editor export present control views"
    [app]="base qtbase core deck engine report optimizer editor export present control views app"
    [builder]="base qtbase builder"
    [viewer]="base qtbase viewer"
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
