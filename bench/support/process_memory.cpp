// process_memory.cpp -- figures read from /proc/self/status.
#include "support/process_memory.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

double statusMegabytes(const char *field) {
    FILE *status = fopen("/proc/self/status", "r");
    if (status == nullptr)
        return -1;
    char line[256];
    double megabytes = -1;
    while (fgets(line, sizeof line, status) != nullptr)
        if (strncmp(line, field, strlen(field)) == 0)
            megabytes = atof(line + strlen(field)) / 1024.0;
    fclose(status);
    return megabytes;
}
