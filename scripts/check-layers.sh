#!/usr/bin/env bash
# Checks that every layer includes only the layers that layers.txt lets it
# use, directly or through the layers it uses (the build enforces it for the
# .cpp files; this also covers headers no .cpp of the layer includes), and
# that the table has no cycle. A folder may include what any of its parts
# ("folder/part" lines) reaches. Prints each offender; exit status 1 if any.
set -u
cd "$(dirname "$0")/.."

declare -A uses=()   # layer -> the layers its line names
declare -A reach=()  # layer -> the folders its headers may come from
status=0

while read -r layer rest; do
    rest=${rest%%#*}
    uses[$layer]=$rest
done < <(grep -E '^[a-z]' layers.txt)

# reachFrom LAYER TRAIL: fills reach[LAYER]; TRAIL holds the layers on the
# way down, to tell a cycle.
reachFrom() {
    local layer=$1 trail=$2 used folders
    [ -n "${reach[$layer]+set}" ] && return
    if [ -z "${uses[$layer]+set}" ]; then
        echo "layers.txt: ${trail# } uses $layer, which has no line"
        status=1
        reach[$layer]=""
        return
    fi
    folders=" ${layer%%/*} "
    for used in ${uses[$layer]}; do
        case " $trail $layer " in
        *" $used "*)
            echo "layers.txt: cycle through${trail} $layer $used"
            status=1
            continue
            ;;
        esac
        reachFrom "$used" "$trail $layer"
        folders+="${reach[$used]} "
    done
    reach[$layer]=$folders
}

declare -A allowed=() # folder -> the folders it may include
for layer in "${!uses[@]}"; do
    reachFrom "$layer" ""
    folder=${layer%%/*}
    allowed[$folder]+=" ${reach[$layer]} "
done
# A broken table says nothing sure about the includes.
[ $status -eq 0 ] || exit $status

for folder in "${!allowed[@]}"; do
    [ -d "$folder" ] || continue
    while IFS= read -r hit; do
        included=${hit#*#include \"}
        included=${included%%/*}
        case " ${allowed[$folder]} " in
        *" $included "*) ;;
        *)
            echo "$hit: $folder/ may not include $included/"
            status=1
            ;;
        esac
    done < <(grep -rnE '#include "[a-z_]+/' "$folder" --include='*.h' --include='*.cpp')
done
exit $status
