# windows.cmake -- the benchmarks of the Windows build.
