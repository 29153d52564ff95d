# windows.cmake -- the benchmarks of the Windows build, run under Wine by
# scripts/run-windows-benchmark.sh on photographs the Linux build writes. The frames are the
# program's own "TEXTURES" resources, so the resource script is built in.
add_executable(bench_room_load ${CMAKE_CURRENT_LIST_DIR}/room_load_benchmark_win32.cpp
               ${CMAKE_SOURCE_DIR}/tests/windows/gl_test_context_win32.cpp
               ${QM_PROGRAM_RESOURCES})
target_include_directories(bench_room_load PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(bench_room_load PRIVATE quillmere_core ${QM_REAL_PLATFORM} quillmere_core
                      PkgConfig::EGL PkgConfig::GLLIBS)
