#!/bin/bash
# check-layers.sh -- fails when a source file includes from a layer it may not reach, or names a
# system library's header outside platform/.
#
# The layers and what each may include besides itself:
#   platform  the operating system, window system, fonts, picture decoders, image library
#   pictures  platform                   pixels only: no rooms, no threads, no GL
#   loading   platform pictures          paths in, slot images out: stores, workers, background
#   gallery   platform                   the walk's model, and which pictures a room shows
#   render    platform pictures loading gallery   GL only
#   app       everything
set -u
cd "$(dirname "$0")/.."

declare -A may=(
    [platform]=""
    [pictures]="platform"
    [loading]="platform pictures"
    [gallery]="platform"
    [render]="platform pictures loading gallery"
    [app]="platform pictures loading gallery render"
)
# Libraries only platform/ may include: each is reached through one of its headers.
libraries='IL/|gdk-pixbuf/|gdk/|gtk/|glib|SDL|ft2build|freetype|fontconfig|EGL/|windows\.h'

status=0
for layer in "${!may[@]}"; do
    while IFS= read -r line; do
        file=${line%%:*}
        target=$(sed -E 's/.*#[[:space:]]*include[[:space:]]*"([a-z_]+)\/.*/\1/' <<<"${line#*:}")
        [[ $target == "$layer" ]] && continue
        if [[ " ${may[$layer]} " != *" $target "* ]]; then
            echo "include across the layers: $file includes from $target/" >&2
            status=1
        fi
    done < <(grep -HE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]+/' \
                 "$layer"/*.cpp "$layer"/*.h 2>/dev/null)
    [[ $layer == platform ]] && continue
    while IFS= read -r line; do
        echo "library header outside platform/: $line" >&2
        status=1
    done < <(grep -HE "^[[:space:]]*#[[:space:]]*include[[:space:]]*<($libraries)" \
                 "$layer"/*.cpp "$layer"/*.h 2>/dev/null)
done
((status == 0)) && echo "layers: every include stays within what its layer may reach"
exit $status
