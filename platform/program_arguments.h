// program_arguments.h -- the program's command-line arguments as UTF-8, whatever the system
// hands to main.
#pragma once

// Replaces argc and argv with the UTF-8 arguments (on Windows from GetCommandLineW; elsewhere
// they already are the system's bytes and stay as they are). The new argv lives until exit.
void programArguments(int *argc, char ***argv);
