# sample_room_regions.sh -- the regions of the sample gallery's first room, seen from the start
# pose in an 800x600 client area, that the Windows and Linux programs must show alike: floor,
# ceiling, both walls, the far end with its door, the first two pictures and the first door.
# Sourced by sample_room_test.sh and by linux_sample_room.sh, which measures them in the Linux
# program.
# shellcheck shell=bash

# name WxH+X+Y
SAMPLE_ROOM_REGIONS=(
    "floor 300x100+250+480"
    "ceiling 200x60+300+40"
    "left_wall 50x40+120+310"
    "right_wall 40x90+615+210"
    "far_end 50x25+370+280"
    "picture 30x100+55+150"
    "picture2 25x80+200+195"
    "door 50x150+705+220"
)

# Prints "name r g b" (means 0 to 1) for every region of a capture.
measure_sample_room() {
    local entry
    for entry in "${SAMPLE_ROOM_REGIONS[@]}"; do
        printf '%s %s\n' "${entry%% *}" "$(convert "$1" -crop "${entry#* }" +repage \
            -scale 1x1\! -format '%[fx:r] %[fx:g] %[fx:b]' info:)"
    done
}
