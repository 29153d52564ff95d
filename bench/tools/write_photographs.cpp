// write_photographs.cpp -- writes the benchmarks' ten 12-megapixel photographs into a folder, for
// the Windows benchmark, which has no JPEG writer of its own: write_photographs FOLDER.
#include <cstdio>
#include <string>

#include "support/photographs.h"

int main(int argc, char **argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: write_photographs FOLDER\n");
        return 2;
    }
    long totalBytes = 0;
    for (int n = 0; n < 10; n++) {
        char name[32];
        snprintf(name, sizeof name, "/photo%02d.jpg", n);
        if (!writePhotograph(argv[1] + std::string(name), n, &totalBytes)) {
            fprintf(stderr, "Cannot write %s%s\n", argv[1], name);
            return 1;
        }
    }
    printf("%.1f MB of photographs in %s\n", totalBytes / 1e6, argv[1]);
    return 0;
}
