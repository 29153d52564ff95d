// scan_benchmark.cpp -- time of scanning a folder of 100 000 entries against one bare readdir
// pass over the same folder: a folder entered afresh (its names never sorted on this thread
// before) and the same folder scanned again.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "gallery/folder_scanner.h"
#include "gallery/gallery_state.h"

static const int ENTRY_COUNT = 100000;
static const int RUNS = 20;

static double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Half pictures, the rest other files and folders; each folder's names carry its own tag, so
// the two folders never list the same names.
static bool fillFolder(const std::string &folder, const char *tag) {
    if (mkdir(folder.c_str(), 0755) != 0)
        return false;
    char path[PATH_MAX];
    for (int i = 0; i < ENTRY_COUNT; i++) {
        if (i % 2 == 0) {
            snprintf(path, sizeof path, "%s/Picture %s %06d.jpg", folder.c_str(), tag, i);
        } else if (i % 10 == 1) {
            snprintf(path, sizeof path, "%s/folder %s %06d", folder.c_str(), tag, i);
            if (mkdir(path, 0755) != 0)
                return false;
            continue;
        } else {
            snprintf(path, sizeof path, "%s/Notes %s %06d.txt", folder.c_str(), tag, i);
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

static void scan(const std::string &folder) {
    strcpy(currentPath, folder.c_str());
    scanFolder();
}

int main() {
    char root[] = "/tmp/quillmere-scan-bench-XXXXXX";
    if (mkdtemp(root) == nullptr) {
        perror("mkdtemp");
        return 1;
    }
    const std::string folders[2] = {std::string(root) + "/a", std::string(root) + "/b"};
    bool filled = fillFolder(folders[0], "a") && fillFolder(folders[1], "b");
    if (filled) {
        // Warm the directory cache for every measurement.
        scan(folders[0]);
        scan(folders[1]);

        // Alternating between the two folders, every scan meets names it has not sorted.
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < RUNS; i++)
            scan(folders[i % 2]);
        double freshTime = secondsSince(start) / RUNS;

        start = std::chrono::steady_clock::now();
        for (int i = 0; i < RUNS; i++)
            scan(folders[0]);
        double againTime = secondsSince(start) / RUNS;

        size_t sink = 0;
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < RUNS; i++)
            sink += bareReaddirPass(folders[i % 2].c_str());
        double readdirTime = secondsSince(start) / RUNS;

        printf("entries: %d (pictures %u, folders %u)\n", ENTRY_COUNT, pictureCount, folderCount);
        printf("bare readdir pass:     %.3f ms (checksum %zu)\n", readdirTime * 1e3, sink % 10);
        printf("scanFolder, new folder: %.3f ms per scan (%d runs), ratio %.2f\n", freshTime * 1e3,
               RUNS, freshTime / readdirTime);
        printf("scanFolder, same again: %.3f ms per scan (%d runs), ratio %.2f\n", againTime * 1e3,
               RUNS, againTime / readdirTime);
    } else {
        perror("creating the benchmark folders");
    }
    nftw(root, removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    return filled ? 0 : 1;
}
