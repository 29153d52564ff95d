// program_arguments_win32.cpp -- the UTF-8 arguments from GetCommandLineW and
// CommandLineToArgvW, since the argv of main is in the ANSI code page.
#include "platform/program_arguments.h"

#include <string>
#include <windows.h>
#include <shellapi.h>

#include "platform/wide_text.h"

void programArguments(int *argc, char ***argv) {
    int count = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr)
        return;
    char **utf8 = new char *[count + 1];
    for (int i = 0; i < count; i++) {
        std::string argument = narrow(wide[i]);
        utf8[i] = new char[argument.size() + 1];
        argument.copy(utf8[i], argument.size());
        utf8[i][argument.size()] = '\0';
    }
    utf8[count] = nullptr;
    LocalFree(wide);
    *argc = count;
    *argv = utf8;
}
