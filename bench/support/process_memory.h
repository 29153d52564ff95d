// process_memory.h -- this process's memory as the kernel counts it, for the benchmarks.
#pragma once

// A "VmRSS:" or "VmHWM:" figure of this process in MB, or -1.
double statusMegabytes(const char *field);
