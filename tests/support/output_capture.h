// output_capture.h -- collects what the code under test writes to standard output or error.
#pragma once
#include <cstdio>
#include <string>

// Redirects the stream (stdout or stderr) into a temporary file until stopCapture.
void startCapture(FILE *stream);

// Restores the stream and returns everything written to it since startCapture.
std::string stopCapture(FILE *stream);
