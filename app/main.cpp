// main.cpp -- program entry: line-buffered progress output, then the program's run.
#include "app/program_entry.h"
#include "platform/program_arguments.h"

#include <cstdio>

int main(int argc, char **argv) {
    // Progress lines appear as they happen even when standard output is a pipe or a file.
#ifdef _WIN32
    // The Windows C runtime takes line buffering for full buffering: no buffer there.
    setvbuf(stdout, nullptr, _IONBF, 0);
#else
    setvbuf(stdout, nullptr, _IOLBF, 0);
#endif
    programArguments(&argc, &argv);
    return runProgram(argc, argv);
}
