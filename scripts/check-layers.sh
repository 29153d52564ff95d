#!/bin/bash
# check-layers.sh -- fails when a source file includes from a layer above its own.
# Layers, lowest first: platform <- gallery <- images <- render <- app.
set -u
cd "$(dirname "$0")/.."
layers=(platform gallery images render app)

rank() {
    local i
    for i in "${!layers[@]}"; do
        [[ ${layers[$i]} == "$1" ]] && { echo "$i"; return; }
    done
    echo -1
}

status=0
for layer in "${layers[@]}"; do
    own=$(rank "$layer")
    while IFS= read -r line; do
        file=${line%%:*}
        target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"${line#*:}")
        included=$(rank "$target")
        if ((included > own)); then
            echo "upward include: $file includes from $target/" >&2
            status=1
        fi
    done < <(grep -HE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]+/' \
                 "$layer"/*.cpp "$layer"/*.h 2>/dev/null)
done
((status == 0)) && echo "layers: every include points down"
exit $status
