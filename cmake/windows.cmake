# windows.cmake -- the Windows build: the system's own libraries under the target names the Linux
# build gets from pkg-config (so the rest of the build is shared), the _win32 platform backends,
# and the program's resources (icon, version, startup dialog, artwork).
add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 _USE_MATH_DEFINES)
# MinGW's GL headers lack two names Mesa's have.
add_compile_definitions(GLAPIENTRY=APIENTRY "_GLUfuncptr=void(*)()")

function(qm_system_target name)
    add_library(${name} INTERFACE IMPORTED)
    set_property(TARGET ${name} PROPERTY INTERFACE_LINK_LIBRARIES ${ARGN})
endfunction()
qm_system_target(PkgConfig::GLLIBS glu32 opengl32 gdi32)
# Our own image module stands in for DevIL; it reads PNG through WIC.
qm_system_target(PkgConfig::DEVIL qm_platform_image_module windowscodecs ole32 uuid)
qm_system_target(PkgConfig::SDL2 user32 gdi32 opengl32)
qm_system_target(PkgConfig::FREETYPE gdi32)
qm_system_target(PkgConfig::GTK3 shell32 ole32 comctl32 user32)
qm_system_target(PkgConfig::GDKPIXBUF windowscodecs ole32 shlwapi uuid)
qm_system_target(PkgConfig::EGL opengl32 gdi32 user32)

# Keeps the _win32 backend of every service that has one, and the files of services that are
# the same on every platform.
function(qm_windows_platform_sources variable)
    set(kept "")
    foreach(source IN LISTS ${variable})
        get_filename_component(stem ${source} NAME_WE)
        string(REGEX REPLACE "_[a-z0-9]+$" "" service ${stem})
        if(stem MATCHES "_win32$" OR NOT EXISTS ${CMAKE_SOURCE_DIR}/platform/${service}_win32.cpp)
            list(APPEND kept ${source})
        endif()
    endforeach()
    set(${variable} ${kept} PARENT_SCOPE)
endfunction()

# Every Windows backend converts its text at the seam with wide_text.
function(qm_windows_platform_links)
    foreach(service IN LISTS QM_PLATFORM_SERVICES)
        if(NOT service STREQUAL "wide_text")
            target_link_libraries(qm_platform_${service} PUBLIC qm_platform_wide_text)
        endif()
    endforeach()
endfunction()

# The resource script: artwork as "TEXTURES" resources from resources/manifest.txt, the startup
# dialog template, the icon and the version.
set(QM_RC_TEXTURES "")
file(STRINGS ${CMAKE_SOURCE_DIR}/resources/manifest.txt qm_rc_lines REGEX "^TEXTURES ")
foreach(line IN LISTS qm_rc_lines)
    string(REGEX MATCH "^TEXTURES +([0-9]+) +(.+)$" matched "${line}")
    string(APPEND QM_RC_TEXTURES
           "${CMAKE_MATCH_1} TEXTURES \"${CMAKE_SOURCE_DIR}/resources/${CMAKE_MATCH_2}\"\n")
endforeach()
set(QM_RC_DIR ${CMAKE_SOURCE_DIR}/resources)
configure_file(${CMAKE_SOURCE_DIR}/resources/quillmere.rc.in
               ${CMAKE_BINARY_DIR}/generated/quillmere.rc @ONLY)
set(QM_PROGRAM_RESOURCES ${CMAKE_BINARY_DIR}/generated/quillmere.rc)
set_property(SOURCE ${QM_PROGRAM_RESOURCES} APPEND PROPERTY OBJECT_DEPENDS
             ${CMAKE_SOURCE_DIR}/resources/startup_dialog.rc ${CMAKE_SOURCE_DIR}/resources/quillmere.ico)
enable_language(RC)
