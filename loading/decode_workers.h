// decode_workers.h -- a list of pictures obtained on worker threads, one per core, and handed
// to the thread that owns them in list order as each is ready.
#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "loading/picture_source.h"
#include "pictures/picture_decoder.h"

struct DecodedEntry {
    std::string path;
    PictureStamp stamp; // read once, by the worker
    // The slot image the framed-picture store held for this version of the file; then nothing
    // else was obtained.
    std::shared_ptr<const SlotImage> framed;
    PictureDecodeResult result = PICTURE_UNDECODABLE;
    Picture picture;
    std::unique_ptr<ThumbnailToWrite> thumbnail; // decoded from a file the cache lacks
    bool done = false;
};

// The cores decoding may use: the machine's, unless the environment variable QUILLMERE_CORES
// names another count (1 to 1024). Thread: any.
size_t decodingCores();

// Owns the worker threads ("qm-decode"): they take the next picture not yet taken, read its
// file's stamp, and leave in its entry the slot image framed earlier from that version of the
// file if the framed-picture store holds one, else the picture obtained (obtainPicture: from
// memory, the thumbnail cache or the file). The owner's thread touches no file.
// Every member is for the owner's thread. Thread: one owner, usually main.
class DecodeWorkers {
  public:
    // Starts obtaining the pictures at paths, each to fit an innerWidth x innerHeight area, on
    // as many workers as decodingCores (at least two, at most one per picture). Their decodes
    // share decodedPixelBudget with every other.
    DecodeWorkers(const std::vector<std::string> &paths, uint32_t innerWidth, uint32_t innerHeight);
    // Lets each worker finish the picture it is decoding, gives up those still waiting for
    // memory, skips the rest, and joins them.
    ~DecodeWorkers();
    DecodeWorkers(const DecodeWorkers &) = delete;
    DecodeWorkers &operator=(const DecodeWorkers &) = delete;

    // Waits at most the given time for entry index to be obtained (or refused); true when it is.
    bool waitFor(size_t index, std::chrono::milliseconds limit);

    // Waits until entry index is obtained (or refused) and hands it over; the workers no
    // longer touch it.
    DecodedEntry *wait(size_t index);

    size_t workerCount() const { return workers.size(); }

  private:
    void work();

    std::vector<DecodedEntry> entries;
    uint32_t innerWidth;
    uint32_t innerHeight;
    std::mutex lock;
    std::condition_variable entryDone;
    size_t nextEntry = 0;               // the next entry a worker takes; guarded by lock
    std::atomic<bool> cancelled{false}; // set when the owner no longer wants the rest
    std::vector<std::thread> workers;
};
