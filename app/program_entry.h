// program_entry.h -- the whole run of the program, from the command line to the last frame.
#pragma once

// The version --version prints.
extern const char *const PROGRAM_VERSION;

// Reads the command line, shows the startup dialog, scans the start folder, opens the gallery
// and runs it. The exit status: 0 after --help, --version, Cancel, a declined windowed mode or
// a normal end; 2 for a command line it does not understand; 1 when the dialog, the window or
// its context cannot be made (after one line on standard error saying why).
int runProgram(int argc, char **argv);
