// command_line.h -- the program's command line: an optional start folder, --help and --version.
#pragma once

enum CommandLineAction { RUN_GALLERY, SHOW_HELP, SHOW_VERSION, BAD_USAGE };

struct CommandLine {
    CommandLineAction action;
    const char *folder;      // RUN_GALLERY: the folder named, or null for the current one
    const char *badArgument; // BAD_USAGE: the argument that was not understood
};

// Reads the arguments after the program name. "--" ends the options, so a folder whose name
// begins with "-" can still be named.
CommandLine parseCommandLine(int argc, char **argv);

// The text --help prints; its first line is the usage line printed after a bad argument.
extern const char *const USAGE_TEXT;
