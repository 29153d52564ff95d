// folder_enum_posix.cpp -- folder entries through opendir/readdir, read whole and handed out in
// name order (platform/name_order.h), as NTFS lists a folder.
#include "platform/folder_enum.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <unordered_map>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "platform/name_order.h"

namespace {

// One entry as read: its sort key in the key pool, followed there by a NUL, so that the name,
// which ends the key, can be handed out in place.
struct ListedEntry {
    uint32_t keyOffset;
    uint16_t keyLength;
    uint16_t nameStart; // the name's offset inside the key
};

// An entry being sorted: eight key bytes from the depth being sorted on, as a big-endian
// number, so that most of the work touches no pool.
struct SortItem {
    uint64_t chunk;
    uint32_t entry;
};

// Everything one search needs. The buffers of the last search closed on a thread are kept for
// the thread's next search: reading a folder again then touches memory already mapped, and the
// sort is skipped when the folder gave exactly the same names in the same order.
struct SearchBuffers {
    std::vector<unsigned char> keys;
    std::vector<ListedEntry> entries; // in reading order
    std::vector<uint8_t> directories; // the directory flag of each entry, in reading order
    std::vector<uint32_t> order;      // entry indices in name order
    std::vector<char> sortedNames;    // the names in name order, each NUL-terminated
    std::vector<SortItem> items;
    std::vector<SortItem> scratch;
};

// Buffers larger than this are released rather than kept (a folder of about 300 000 entries).
constexpr size_t KEPT_BUFFER_BYTES = 32u << 20;
// Runs shorter than this are sorted by insertion.
constexpr size_t INSERTION_SORT_LIMIT = 96;

thread_local SearchBuffers spareBuffers;

size_t capacityBytes(const SearchBuffers &buffers) {
    return buffers.keys.capacity() + buffers.entries.capacity() * sizeof(ListedEntry) +
           buffers.directories.capacity() + buffers.order.capacity() * sizeof(uint32_t) +
           buffers.sortedNames.capacity() +
           (buffers.items.capacity() + buffers.scratch.capacity()) * sizeof(SortItem);
}

// What identifies one state of a folder: any entry added, removed or renamed changes its
// modification and change times.
struct FolderIdentity {
    dev_t device;
    ino_t inode;
    struct timespec modified;
    struct timespec changed;
};

bool sameIdentity(const FolderIdentity &a, const FolderIdentity &b) {
    return a.device == b.device && a.inode == b.inode && a.modified.tv_sec == b.modified.tv_sec &&
           a.modified.tv_nsec == b.modified.tv_nsec && a.changed.tv_sec == b.changed.tv_sec &&
           a.changed.tv_nsec == b.changed.tv_nsec;
}

// The types asked of the entries of the last folder whose listing did not tell them, while that
// folder stays as it was: a scan lists a folder twice, and on storage where every stat is slow
// the second listing asks nothing again. Any thread may list folders. Folders larger than this
// are not remembered.
constexpr size_t REMEMBERED_TYPES_LIMIT = 100000;

struct RememberedTypes {
    std::mutex lock;
    bool known = false; // guarded by lock, like the rest
    FolderIdentity identity = {};
    std::unordered_map<std::string, bool> isDirectory;
};

RememberedTypes &rememberedTypes() {
    static RememberedTypes remembered;
    return remembered;
}

// The types one listing asks, and the folder's identity, read (one fstat) the first time an
// entry needs asking.
struct TypeAsking {
    bool identityRead = false;
    bool identityValid = false;
    bool remembered = false; // the remembered types are this folder's
    FolderIdentity identity = {};
    std::vector<std::pair<std::string, bool>> asked;
    bool tooMany = false;
};

// The directory flag of one entry. The listing's type when it gives one (links are asked, so a
// link to a folder is a folder); the folder itself and its parent need no asking; otherwise
// the type remembered for this state of the folder, or stat's answer, which follows links.
bool entryIsDirectory(DIR *dir, const struct dirent *entry, TypeAsking *asking) {
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK)
        return entry->d_type == DT_DIR;
    const char *name = entry->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
        return true;
    RememberedTypes &remembered = rememberedTypes();
    if (!asking->identityRead) {
        asking->identityRead = true;
        struct stat info;
        if (fstat(dirfd(dir), &info) == 0) {
            asking->identityValid = true;
            asking->identity = {info.st_dev, info.st_ino, info.st_mtim, info.st_ctim};
            std::lock_guard<std::mutex> guard(remembered.lock);
            asking->remembered =
                remembered.known && sameIdentity(remembered.identity, asking->identity);
        }
    }
    if (asking->remembered) {
        std::lock_guard<std::mutex> guard(remembered.lock);
        auto found = remembered.isDirectory.find(name);
        if (found != remembered.isDirectory.end())
            return found->second;
    }
    struct stat info;
    bool isDirectory = fstatat(dirfd(dir), name, &info, 0) == 0 && S_ISDIR(info.st_mode);
    asking->tooMany = asking->tooMany || asking->asked.size() >= REMEMBERED_TYPES_LIMIT;
    if (!asking->tooMany)
        asking->asked.push_back({name, isDirectory});
    return isDirectory;
}

// Keeps what a whole listing asked, for the folder's next listing.
void rememberTypes(TypeAsking *asking) {
    if (!asking->identityValid || asking->tooMany || asking->asked.empty())
        return;
    RememberedTypes &remembered = rememberedTypes();
    std::lock_guard<std::mutex> guard(remembered.lock);
    if (!asking->remembered || !remembered.known) {
        remembered.isDirectory.clear();
        remembered.known = true;
        remembered.identity = asking->identity;
    }
    for (auto &entry : asking->asked)
        remembered.isDirectory[std::move(entry.first)] = entry.second;
}

} // namespace

struct FolderSearch {
    SearchBuffers buffers;
    size_t count = 0;    // entries read
    size_t next = 0;     // the next entry to hand out, in name order
    size_t nextName = 0; // where its name starts in sortedNames
    bool endsInError = false;
};

namespace {

const char *entryName(const SearchBuffers &buffers, size_t entry) {
    const ListedEntry &listed = buffers.entries[entry];
    return reinterpret_cast<const char *>(buffers.keys.data()) + listed.keyOffset +
           listed.nameStart;
}

// Stores entry number index with its key after the previous entry's. False when the pool
// would pass what an offset can address.
bool storeEntry(SearchBuffers *buffers, size_t index, const char *name, size_t length) {
    uint32_t offset = 0;
    if (index > 0) {
        const ListedEntry &previous = buffers->entries[index - 1];
        offset = previous.keyOffset + previous.keyLength + 1;
    }
    size_t room = nameSortKeyCapacity(length) + 1;
    if (offset + room > UINT32_MAX)
        return false;
    if (buffers->keys.size() < offset + room)
        buffers->keys.resize(offset + room + offset / 2);
    unsigned char *key = buffers->keys.data() + offset;
    size_t keyLength = nameSortKey(name, length, key);
    key[keyLength] = '\0';
    if (buffers->entries.size() <= index)
        buffers->entries.resize(index + 1 + index / 2);
    buffers->entries[index] = {offset, static_cast<uint16_t>(keyLength),
                               static_cast<uint16_t>(keyLength - length)};
    return true;
}

// Reads the whole folder into the buffers; an error part-way keeps what was read before it.
// Returns whether the names, in reading order, are exactly those the buffers held before.
bool readAllEntries(FolderSearch *search, DIR *dir) {
    SearchBuffers &buffers = search->buffers;
    const size_t previousCount = buffers.order.size();
    bool unchanged = true;
    TypeAsking asking;
    size_t count = 0;
    for (;;) {
        // readdir signals both the end and an error with null; only an error sets errno.
        errno = 0;
        const struct dirent *found = readdir(dir);
        if (found == nullptr) {
            search->endsInError = errno != 0;
            break;
        }
        size_t length = strlen(found->d_name);
        // Names kept from the last search stay where they are while they go on matching.
        unchanged = unchanged && count < previousCount &&
                    strcmp(entryName(buffers, count), found->d_name) == 0;
        if (!unchanged && !storeEntry(&buffers, count, found->d_name, length)) {
            search->endsInError = true;
            break;
        }
        if (buffers.directories.size() <= count)
            buffers.directories.resize(count + 1 + count / 2);
        buffers.directories[count] = entryIsDirectory(dir, found, &asking);
        count++;
    }
    search->count = count;
    if (!search->endsInError)
        rememberTypes(&asking);
    return unchanged && count == previousCount;
}

// Eight bytes of an entry's key from depth on, big-endian, zero past its end.
uint64_t keyChunk(const SearchBuffers &buffers, uint32_t entry, size_t depth) {
    const ListedEntry &listed = buffers.entries[entry];
    const unsigned char *key = buffers.keys.data() + listed.keyOffset;
    uint64_t chunk = 0;
    if (depth + 8 <= listed.keyLength) {
        memcpy(&chunk, key + depth, 8);
        return __builtin_bswap64(chunk);
    }
    for (size_t i = depth; i < depth + 8; i++)
        chunk = (chunk << 8) | (i < listed.keyLength ? key[i] : 0);
    return chunk;
}

// Key order of two items whose keys agree before chunkDepth and whose chunks hold the eight
// bytes from there.
bool itemBefore(const SearchBuffers &buffers, const SortItem &a, const SortItem &b,
                size_t chunkDepth) {
    if (a.chunk != b.chunk)
        return a.chunk < b.chunk;
    const ListedEntry &first = buffers.entries[a.entry], &second = buffers.entries[b.entry];
    size_t depth = chunkDepth + 8;
    size_t common = first.keyLength < second.keyLength ? first.keyLength : second.keyLength;
    if (common > depth) {
        int order = memcmp(buffers.keys.data() + first.keyOffset + depth,
                           buffers.keys.data() + second.keyOffset + depth, common - depth);
        if (order != 0)
            return order < 0;
    }
    return first.keyLength < second.keyLength;
}

void insertionSort(const SearchBuffers &buffers, SortItem *items, size_t count, size_t depth,
                   size_t chunkDepth) {
    if (chunkDepth == SIZE_MAX) {
        for (size_t i = 0; i < count; i++)
            items[i].chunk = keyChunk(buffers, items[i].entry, depth);
        chunkDepth = depth;
    }
    for (size_t i = 1; i < count; i++) {
        SortItem item = items[i];
        size_t j = i;
        for (; j > 0 && itemBefore(buffers, item, items[j - 1], chunkDepth); j--)
            items[j] = items[j - 1];
        items[j] = item;
    }
}

// Most significant byte first. The items' keys agree before depth; their chunks hold the key
// bytes from chunkDepth on (SIZE_MAX: not loaded yet) and are reloaded when the sort passes
// them. Each split scatters the items from one array into the other, so the two swap roles;
// every finished group writes its entries into out, the name order. Every group but the
// largest is sorted by a call of its own, the largest by going on here, so the calls nest no
// deeper than log2 of the count.
void sortItems(const SearchBuffers &buffers, SortItem *items, SortItem *other, uint32_t *out,
               size_t count, size_t depth, size_t chunkDepth) {
    for (;;) {
        if (count < INSERTION_SORT_LIMIT) {
            insertionSort(buffers, items, count, depth, chunkDepth);
            for (size_t i = 0; i < count; i++)
                out[i] = items[i].entry;
            return;
        }
        if (chunkDepth == SIZE_MAX || depth >= chunkDepth + 8) {
            bool goesOn = false; // some key is longer than depth
            for (size_t i = 0; i < count; i++) {
                items[i].chunk = keyChunk(buffers, items[i].entry, depth);
                goesOn = goesOn || buffers.entries[items[i].entry].keyLength > depth;
            }
            if (!goesOn) { // the keys are alike to their ends
                for (size_t i = 0; i < count; i++)
                    out[i] = items[i].entry;
                return;
            }
            chunkDepth = depth;
        }
        // Skip the bytes in which every item agrees.
        uint64_t differing = 0;
        for (size_t i = 1; i < count; i++)
            differing |= items[i].chunk ^ items[0].chunk;
        if (differing == 0) {
            depth = chunkDepth + 8;
            continue;
        }
        depth = chunkDepth + static_cast<size_t>(__builtin_clzll(differing)) / 8;
        const int shift = static_cast<int>(56 - 8 * (depth - chunkDepth));
        size_t counts[256] = {};
        for (size_t i = 0; i < count; i++)
            counts[(items[i].chunk >> shift) & 0xFF]++;
        size_t starts[256], next[256];
        size_t position = 0;
        int largest = 0;
        for (int value = 0; value < 256; value++) {
            starts[value] = next[value] = position;
            position += counts[value];
            if (counts[value] > counts[largest])
                largest = value;
        }
        for (size_t i = 0; i < count; i++)
            other[next[(items[i].chunk >> shift) & 0xFF]++] = items[i];
        for (int value = 0; value < 256; value++) {
            if (value == largest || counts[value] == 0)
                continue;
            if (counts[value] == 1)
                out[starts[value]] = other[starts[value]].entry;
            else
                sortItems(buffers, other + starts[value], items + starts[value],
                          out + starts[value], counts[value], depth + 1, chunkDepth);
        }
        SortItem *rest = other + starts[largest];
        other = items + starts[largest];
        items = rest;
        out += starts[largest];
        count = counts[largest];
        depth++;
    }
}

void sortEntries(SearchBuffers *buffers, size_t count) {
    buffers->items.resize(count);
    buffers->scratch.resize(count);
    buffers->order.resize(count);
    for (size_t i = 0; i < count; i++)
        buffers->items[i].entry = static_cast<uint32_t>(i);
    sortItems(*buffers, buffers->items.data(), buffers->scratch.data(), buffers->order.data(),
              count, 0, SIZE_MAX);
}

// The names laid out in name order, so that the reader walks memory in step with the list.
void layOutSortedNames(SearchBuffers *buffers, size_t count) {
    size_t bytes = 0;
    for (size_t i = 0; i < count; i++) {
        const ListedEntry &listed = buffers->entries[i];
        bytes += listed.keyLength - listed.nameStart + 1;
    }
    buffers->sortedNames.resize(bytes);
    char *out = buffers->sortedNames.data();
    for (size_t i = 0; i < count; i++) {
        const uint32_t entry = buffers->order[i];
        const ListedEntry &listed = buffers->entries[entry];
        size_t size = listed.keyLength - listed.nameStart + 1;
        memcpy(out, entryName(*buffers, entry), size);
        out += size;
    }
}

} // namespace

FolderSearch *openFolderSearch(const char *path) {
    DIR *dir = opendir(path);
    if (dir == nullptr)
        return nullptr;
    FolderSearch *search = new FolderSearch;
    search->buffers = std::move(spareBuffers);
    spareBuffers = SearchBuffers();
    bool unchanged = readAllEntries(search, dir);
    closedir(dir);
    if (!unchanged) {
        sortEntries(&search->buffers, search->count);
        layOutSortedNames(&search->buffers, search->count);
    }
    return search;
}

FolderNextResult nextFolderEntry(FolderSearch *search, FolderEntry *entry) {
    if (search->next == search->count)
        return search->endsInError ? FOLDER_NEXT_ERROR : FOLDER_NEXT_END;
    const char *name = search->buffers.sortedNames.data() + search->nextName;
    entry->name = name;
    entry->isDirectory = search->buffers.directories[search->buffers.order[search->next++]] != 0;
    search->nextName += strlen(name) + 1;
    return FOLDER_NEXT_ENTRY;
}

void closeFolderSearch(FolderSearch *search) {
    if (search == nullptr)
        return;
    if (capacityBytes(search->buffers) <= KEPT_BUFFER_BYTES)
        spareBuffers = std::move(search->buffers);
    delete search;
}
