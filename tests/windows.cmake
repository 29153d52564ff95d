# windows.cmake -- the tests of the Windows build, cross-built and run under Wine (scripts/
# test-windows.sh): the logic and GL tests that make sense there, with a hidden-window WGL
# context in place of EGL, window messages through the real window procedure, and
# whole-program tests of quillmere.exe.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
add_compile_options(-include ${CMAKE_CURRENT_SOURCE_DIR}/windows/test_prelude.h)

# Test support on Windows: temporary trees through Win32; no thumbnail cache to keep private;
# no GdkPixbuf to write test pictures with.
list(FILTER QM_TEST_SUPPORT EXCLUDE REGEX "/(temp_tree|private_cache|test_pictures)\\.cpp$")
list(APPEND QM_TEST_SUPPORT ${CMAKE_CURRENT_SOURCE_DIR}/windows/temp_tree_win32.cpp)

# Logic tests: all but the ones about DevIL itself (the image module held beside it) or Linux's
# dynamic loader.
file(GLOB QM_LOGIC_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/logic/*.cpp)
list(FILTER QM_LOGIC_TESTS EXCLUDE REGEX
     "/(sanitizer_settings_test|image_module_test|image_module_framing)\\.cpp$")
quillmere_test(quillmere_logic_tests SOURCES ${QM_LOGIC_TESTS} REAL picture_file)

# File-system tests on real folders: the scanner through FindFirstFileExW, the settings file.
# No links: Wine's CreateSymbolicLinkW reports success and makes none.
quillmere_test(quillmere_fs_tests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fs/folder_scanner_fs_test.cpp
                                          ${CMAKE_CURRENT_SOURCE_DIR}/fs/settings_file_test.cpp
                                          ${CMAKE_CURRENT_SOURCE_DIR}/fs/file_stamp_test.cpp
               REAL folder_enum drive_list current_directory file_stamp settings_file picture_file
               EXCLUDE FolderScannerFs.LinksCountAsWhatTheyLeadTo)

# Picture files that misbehave, served by the fake picture-file service.
file(GLOB QM_FAULT_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/faults/*.cpp)
quillmere_test(quillmere_fault_tests SOURCES ${QM_FAULT_TESTS} REAL thumbnail_cache file_stamp)

# GL tests on a WGL context; those that write picture files with DevIL stay on Linux. Font
# linking, from the registry, is Windows's own.
file(GLOB QM_GL_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/gl/*.cpp)
list(FILTER QM_GL_TESTS EXCLUDE REGEX
     "/(gl_test_context|scene_frame_test|room_picture_loader_test|picture_view_screen_test)\\.cpp$")
quillmere_test(quillmere_gl_tests
               SOURCES ${QM_GL_TESTS} ${CMAKE_CURRENT_SOURCE_DIR}/windows/gl_test_context_win32.cpp
                       ${CMAKE_CURRENT_SOURCE_DIR}/windows/font_linking_test.cpp
               REAL fonts folder_enum current_directory picture_file)

# Window messages through the gallery's window procedure.
quillmere_test(quillmere_event_tests
               SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/windows/window_messages_test.cpp
               REAL events keyboard picture_file)

# Whole-program tests: tests/windows/<name>_test.sh, given the program's path, under the Wine
# prefix and display scripts/test-windows.sh provides.
file(GLOB QM_WINDOWS_PROGRAM_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/windows/*_test.sh)
foreach(script IN LISTS QM_WINDOWS_PROGRAM_TESTS)
    get_filename_component(stem ${script} NAME_WE)
    add_test(NAME windows_program_${stem} COMMAND bash ${script} $<TARGET_FILE:quillmere>)
    set_tests_properties(windows_program_${stem} PROPERTIES ENVIRONMENT "${QM_TEST_ENVIRONMENT}"
                         TIMEOUT 300 RUN_SERIAL TRUE)
endforeach()
