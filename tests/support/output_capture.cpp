// output_capture.cpp -- redirects a standard stream's descriptor into a temporary file.
#include "support/output_capture.h"

#include <unistd.h>

struct Capture {
    int savedFd = -1;
    FILE *file = nullptr;
};

// Indexed by descriptor: only standard output (1) and standard error (2) are captured.
static Capture captures[3];

static Capture *captureOf(FILE *stream) {
    int fd = fileno(stream);
    return fd == 1 || fd == 2 ? &captures[fd] : nullptr;
}

void startCapture(FILE *stream) {
    Capture *capture = captureOf(stream);
    if (capture == nullptr || capture->file != nullptr)
        return;
    int fd = fileno(stream);
    fflush(stream);
    capture->file = tmpfile();
    capture->savedFd = dup(fd);
    dup2(fileno(capture->file), fd);
}

std::string stopCapture(FILE *stream) {
    Capture *capture = captureOf(stream);
    std::string text;
    if (capture == nullptr || capture->file == nullptr)
        return text;
    fflush(stream);
    dup2(capture->savedFd, fileno(stream));
    close(capture->savedFd);
    rewind(capture->file);
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, capture->file)) > 0)
        text.append(buffer, n);
    fclose(capture->file);
    capture->file = nullptr;
    return text;
}
