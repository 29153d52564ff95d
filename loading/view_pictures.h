// view_pictures.h -- the pictures of the full-size view, decoded on a worker thread ahead of
// need: the one shown, its neighbours, and the shown one at its own size while zoomed in.
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

#include "pictures/picture_decoder.h"

// SIZE_WINDOW fits the picture whole in the window; SIZE_FULL is the picture at its own size,
// for a close look (still within the decoder's memory bound).
enum ViewPictureSize { SIZE_WINDOW, SIZE_FULL };

struct ViewPicture {
    PictureDecodeResult result = PICTURE_UNDECODABLE;
    Picture picture;    // upright, top row first; empty unless decoded
    char dateTaken[20]; // EXIF "YYYY:MM:DD HH:MM:SS", or empty
};

struct ViewPictureWish {
    std::string path;
    ViewPictureSize size;
};

// Owns the worker thread ("qm-view"). It holds only what was last wished for: a picture no
// longer wished for is dropped (a caller still holding it keeps it alive until it lets go), so
// the memory is that of the wish list. Its decoding takes its memory from the budget every
// decode of the program shares. Every member is for the owner's thread. Thread: one owner.
class ViewPictures {
  public:
    ViewPictures();
    // Lets the worker finish the picture it decodes and joins it.
    ~ViewPictures();
    // Stops the worker as the destructor does, but waits at most limit for it (a read of a hung
    // file may never return). False when it has not ended: it is left running, and the object
    // must then outlive the process, which the caller ends at once.
    bool stopWithin(std::chrono::milliseconds limit);
    ViewPictures(const ViewPictures &) = delete;
    ViewPictures &operator=(const ViewPictures &) = delete;

    // Replaces the wish list, most urgent first, for a windowWidth x windowHeight window. What
    // is held and still wished is kept; the worker decodes the rest in list order.
    void wish(const std::vector<ViewPictureWish> &wishes, uint32_t windowWidth,
              uint32_t windowHeight);

    // The picture wished at path and size, once decoded (or refused); null before.
    std::shared_ptr<const ViewPicture> find(const std::string &path, ViewPictureSize size);

    // Waits at most limit for the wished picture; true when find() now gives it.
    bool waitFor(const std::string &path, ViewPictureSize size, std::chrono::milliseconds limit);

    // Decoded pixels held now, in bytes.
    size_t heldBytes();

  private:
    struct Entry {
        ViewPictureWish wish;
        bool taken = false; // the worker has it in hand or done
        std::shared_ptr<const ViewPicture> decoded;
    };

    void work();
    void askToStop();
    Entry *findEntry(const std::string &path, ViewPictureSize size);

    std::mutex lock;
    std::condition_variable changed; // a wish list replaced, a picture done, or the end
    std::vector<Entry> entries;      // guarded by lock
    uint32_t windowWidth = 0;        // guarded by lock
    uint32_t windowHeight = 0;
    bool stopping = false;
    bool ended = false;                  // the worker has returned
    std::atomic<bool> cancelling{false}; // a decode waiting for memory gives up
    std::thread worker;
};
