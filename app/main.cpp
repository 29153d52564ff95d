// main.cpp -- program entry: line-buffered progress output, then the program's run.
#include "app/program_entry.h"

#include <cstdio>

int main(int argc, char **argv) {
    // Progress lines appear as they happen even when standard output is a pipe or a file.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    return runProgram(argc, argv);
}
