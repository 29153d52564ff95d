// picture_check.cpp -- decoding written pictures back through DevIL and checking the gallery tree.
#include "samples/picture_check.h"

#include <IL/il.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <strings.h>
#include <system_error>

namespace fs = std::filesystem;

void initPictureDecoder() {
    ilInit();
    ilEnable(IL_ORIGIN_SET);
    ilOriginFunc(IL_ORIGIN_UPPER_LEFT);
}

bool decodePicture(const std::string &path, Picture &decoded) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    bool loaded = ilLoadImage(path.c_str()) && ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE);
    if (loaded) {
        decoded = makePicture(ilGetInteger(IL_IMAGE_WIDTH), ilGetInteger(IL_IMAGE_HEIGHT));
        const ILubyte *data = ilGetData();
        loaded = data != nullptr;
        if (loaded) {
            decoded.rgb.assign(data, data + decoded.rgb.size());
        }
    }
    ilDeleteImages(1, &image);
    return loaded;
}

double meanDifference(const Picture &a, const Picture &b) {
    if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) {
        return -1.0;
    }
    double sum = 0.0;
    for (size_t i = 0; i < a.rgb.size(); i++) {
        sum += std::abs(static_cast<int>(a.rgb[i]) - static_cast<int>(b.rgb[i]));
    }
    return a.rgb.empty() ? 0.0 : sum / a.rgb.size();
}

bool isPictureName(const std::string &name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) {
        return false;
    }
    const char *extension = name.c_str() + dot + 1;
    return strcasecmp(extension, "jpg") == 0 || strcasecmp(extension, "jpeg") == 0 ||
           strcasecmp(extension, "gif") == 0 || strcasecmp(extension, "bmp") == 0;
}

namespace {

struct TreeTally {
    int topPictures = 0;
    int topDoors = 0;
    int foldersWithTen = 0;
    int foldersWithMore = 0;   // more than ten pictures, below the top
    int foldersWithNone = 0;   // doors below the top that show no picture
    int hugePictures = 0;      // 3000 pixels or more on the long side
    int topExtensions[4] = {}; // jpg, jpeg, gif, bmp
    int topMixedCase = 0;      // extensions not all in lower case
    int topShapes[3] = {};     // landscape, portrait, square
    int unreadable = 0;
    long totalBytes = 0;
};

int extensionKind(const std::string &name) {
    const char *extension = name.c_str() + name.rfind('.') + 1;
    static const char *const kinds[4] = {"jpg", "jpeg", "gif", "bmp"};
    for (int kind = 0; kind < 4; kind++) {
        if (strcasecmp(extension, kinds[kind]) == 0) {
            return kind;
        }
    }
    return -1;
}

bool hasUpperCase(const std::string &text) {
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') {
            return true;
        }
    }
    return false;
}

// Tallies one folder and the folders below it; depth 0 is the top folder. Dot-folders are
// walked (their pictures must decode too) but are not doors and are not tallied as folders.
void tallyFolder(const fs::path &folder, int depth, bool isDoor, TreeTally &tally) {
    int pictures = 0;
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory()) {
            const bool door = isDoor && name[0] != '.';
            if (depth == 0 && door) {
                tally.topDoors++;
            }
            tallyFolder(entry.path(), depth + 1, door, tally);
            continue;
        }
        tally.totalBytes += static_cast<long>(entry.file_size());
        if (!isPictureName(name)) {
            continue;
        }
        pictures++;
        Picture decoded;
        if (!decodePicture(entry.path().string(), decoded)) {
            std::fprintf(stderr, "cannot decode %s\n", entry.path().c_str());
            tally.unreadable++;
            continue;
        }
        const int longSide = decoded.width > decoded.height ? decoded.width : decoded.height;
        tally.hugePictures += longSide >= 3000;
        if (depth == 0) {
            tally.topExtensions[extensionKind(name)]++;
            tally.topMixedCase += hasUpperCase(name.substr(name.rfind('.')));
            const int shape =
                decoded.width > decoded.height ? 0 : (decoded.width < decoded.height ? 1 : 2);
            tally.topShapes[shape]++;
        }
    }
    if (error) {
        std::fprintf(stderr, "cannot list %s: %s\n", folder.c_str(), error.message().c_str());
        tally.unreadable++;
    }
    if (depth == 0) {
        tally.topPictures = pictures;
    } else if (isDoor) {
        tally.foldersWithTen += pictures == 10;
        tally.foldersWithMore += pictures > 10;
        tally.foldersWithNone += pictures == 0;
    }
}

bool expect(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "gallery check failed: %s\n", what);
    }
    return condition;
}

} // namespace

bool checkGalleryTree(const std::string &root, long maxTotalBytes) {
    TreeTally tally;
    tallyFolder(fs::path(root), 0, true, tally);
    bool ok = expect(tally.unreadable == 0, "every picture and folder can be read");
    ok &= expect(tally.topPictures >= 25, "at least 25 pictures in the top folder");
    ok &= expect(tally.topDoors > 9, "more than one room of doors in the top folder");
    ok &= expect(tally.foldersWithTen > 0, "a folder of exactly ten pictures");
    ok &= expect(tally.foldersWithMore > 0, "a sub-folder of more than ten pictures");
    ok &= expect(tally.foldersWithNone > 0, "a sub-folder without pictures");
    ok &= expect(tally.hugePictures == 1, "exactly one picture of 3000 pixels or more");
    ok &= expect(tally.topExtensions[0] && tally.topExtensions[1] && tally.topExtensions[2] &&
                     tally.topExtensions[3],
                 "every picture extension in the top folder");
    ok &= expect(tally.topMixedCase > 0, "upper-case extensions in the top folder");
    ok &= expect(tally.topShapes[0] && tally.topShapes[1] && tally.topShapes[2],
                 "landscape, portrait and square pictures in the top folder");
    ok &= expect(tally.totalBytes <= maxTotalBytes, "the gallery stays within its size budget");
    std::printf("%d pictures and %d doors in the top folder, %ld bytes in all\n", tally.topPictures,
                tally.topDoors, tally.totalBytes);
    return ok;
}
