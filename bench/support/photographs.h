// photographs.h -- photograph-like JPEGs for the benchmarks: landscapes that compress like a
// camera's pictures, so decoding costs what real photographs cost.
#pragma once
#include <string>

// Writes a 12-megapixel (4000 x 3000) landscape, different for every n, as a quality-90 JPEG at
// path; adds its size in bytes to *totalBytes. False when it cannot be written.
bool writePhotograph(const std::string &path, int n, long *totalBytes);
