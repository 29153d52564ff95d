# Turns the files listed in resources/manifest.txt ("TYPE ID file") into one C++ source that
# holds each file as a byte array, with a table to find them by type and numeric id.
file(STRINGS ${RESOURCE_DIR}/manifest.txt lines REGEX "^[^#]")
set(arrays "")
set(table "")
set(index 0)
foreach(line IN LISTS lines)
    if(NOT line MATCHES "^([A-Z]+) +([0-9]+) +(.+)$")
        message(FATAL_ERROR "resources/manifest.txt: cannot read line '${line}'")
    endif()
    set(type ${CMAKE_MATCH_1})
    set(id ${CMAKE_MATCH_2})
    set(name ${CMAKE_MATCH_3})
    file(READ ${RESOURCE_DIR}/${name} hex HEX)
    string(LENGTH "${hex}" hex_length)
    math(EXPR size "${hex_length} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND arrays "static const unsigned char resource${index}[] = {${bytes}};\n")
    string(APPEND table "    {\"${type}\", ${id}, resource${index}, ${size}},\n")
    math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.tmp
"// Generated from resources/manifest.txt; do not edit.\n"
"#include \"platform/embedded_resource_table.h\"\n\n"
"${arrays}\n"
"const EmbeddedResource embeddedResources[] = {\n${table}    {nullptr, 0, nullptr, 0},\n};\n")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
