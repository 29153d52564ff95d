// program_arguments_posix.cpp -- arguments are the system's own bytes, taken as they come.
#include "platform/program_arguments.h"

void programArguments(int *, char ***) {}
