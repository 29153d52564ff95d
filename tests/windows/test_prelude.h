// test_prelude.h -- read first by every test source on Windows: windows.h, without the empty
// 16-bit "near" and "far" macros it still defines, which the tests use as plain names.
#pragma once
#include <windows.h>
#undef near
#undef far
