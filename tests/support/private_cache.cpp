// private_cache.cpp -- every test program gets a thumbnail cache of its own under /tmp, made at
// start-up and removed at exit: the program writes thumbnails, never into the user's cache.
#include <cstdlib>
#include <string>

#include "support/temp_tree.h"

namespace {

struct PrivateCache {
    std::string folder;
    PrivateCache() : folder(makeTempFolder()) {
        if (!folder.empty())
            setenv("XDG_CACHE_HOME", folder.c_str(), 1);
    }
    ~PrivateCache() {
        if (!folder.empty())
            removeTree(folder);
    }
};

PrivateCache privateCache;

} // namespace
