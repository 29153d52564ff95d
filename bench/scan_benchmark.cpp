// scan_benchmark.cpp -- time of scanning a folder of 100 000 entries against one bare readdir
// pass over the same folder.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"

static const int ENTRY_COUNT = 100000;
static const int FOLDER_COUNT = 10000;
static const int RUNS = 20;

static double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Half pictures, the rest other files and folders.
static bool fillFolder(const char *folder) {
    char path[PATH_MAX];
    for (int i = 0; i < ENTRY_COUNT; i++) {
        if (i % 2 == 0) {
            snprintf(path, sizeof path, "%s/picture %06d.jpg", folder, i);
        } else if (i % 10 == 1) {
            snprintf(path, sizeof path, "%s/folder %06d", folder, i);
            if (mkdir(path, 0755) != 0)
                return false;
            continue;
        } else {
            snprintf(path, sizeof path, "%s/notes %06d.txt", folder, i);
        }
        int fd = open(path, O_WRONLY | O_CREAT, 0644);
        if (fd < 0)
            return false;
        close(fd);
    }
    return true;
}

static int removeEntry(const char *path, const struct stat *, int, struct FTW *) {
    return remove(path);
}

// One enumeration with nothing done per entry but touching its name.
static size_t bareReaddirPass(const char *folder) {
    size_t bytes = 0;
    DIR *dir = opendir(folder);
    while (const struct dirent *entry = readdir(dir))
        bytes += static_cast<unsigned char>(entry->d_name[0]);
    closedir(dir);
    return bytes;
}

int main() {
    char folder[] = "/tmp/quillmere-scan-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        perror("mkdtemp");
        return 1;
    }
    bool filled = fillFolder(folder);
    if (filled) {
        strcpy(currentPath, folder);
        scanFolder(); // warm the directory cache for both measurements

        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < RUNS; i++)
            scanFolder();
        double scanTime = secondsSince(start) / RUNS;

        size_t sink = 0;
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < RUNS; i++)
            sink += bareReaddirPass(folder);
        double readdirTime = secondsSince(start) / RUNS;

        printf("entries: %d (pictures %u, folders %u)\n", ENTRY_COUNT, pictureCount, folderCount);
        printf("scanFolder:        %.3f ms per scan (%d runs)\n", scanTime * 1e3, RUNS);
        printf("bare readdir pass: %.3f ms (checksum %zu)\n", readdirTime * 1e3, sink % 10);
        printf("ratio:             %.2f\n", scanTime / readdirTime);
    } else {
        perror("creating the benchmark folder");
    }
    nftw(folder, removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    return filled ? 0 : 1;
}
