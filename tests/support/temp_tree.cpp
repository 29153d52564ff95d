// temp_tree.cpp -- creating and removing temporary folder trees.
#include "support/temp_tree.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

std::string makeTempFolder() {
    char pattern[] = "/tmp/quillmere-test-XXXXXX";
    return mkdtemp(pattern) != nullptr ? pattern : "";
}

bool makeFile(const std::string &path) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

bool makeFolder(const std::string &path) {
    return mkdir(path.c_str(), 0755) == 0;
}

bool makeSymlink(const std::string &target, const std::string &path) {
    return symlink(target.c_str(), path.c_str()) == 0;
}

static int removeEntry(const char *path, const struct stat *, int, struct FTW *) {
    // Make folders accessible again first, in case a test took their permissions away.
    chmod(path, 0755);
    return remove(path);
}

void removeTree(const std::string &path) {
    if (!path.empty())
        nftw(path.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}
