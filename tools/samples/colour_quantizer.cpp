// colour_quantizer.cpp -- median-cut reduction of an RGB picture to a 256-colour palette.
#include "samples/picture_writers.h"

#include <cstddef>
#include <cstdint>

namespace {

const int BINS = 32 * 32 * 32;

struct Histogram {
    std::vector<uint32_t> count;
    std::vector<uint64_t> sum; // three sums per bin
};

struct Box {
    int low[3];
    int high[3]; // inclusive
    uint64_t count;
};

int binOf(const unsigned char *pixel) {
    return ((pixel[0] >> 3) << 10) | ((pixel[1] >> 3) << 5) | (pixel[2] >> 3);
}

int binAt(const int channel[3]) {
    return (channel[0] << 10) | (channel[1] << 5) | channel[2];
}

// Walks every bin inside a box.
template <typename Visit> void forEachBin(const Box &box, Visit visit) {
    int channel[3];
    for (channel[0] = box.low[0]; channel[0] <= box.high[0]; channel[0]++) {
        for (channel[1] = box.low[1]; channel[1] <= box.high[1]; channel[1]++) {
            for (channel[2] = box.low[2]; channel[2] <= box.high[2]; channel[2]++) {
                visit(channel, binAt(channel));
            }
        }
    }
}

// Narrows a box to the bins it holds pixels in and totals its pixels.
void shrinkBox(const Histogram &histogram, Box &box) {
    int low[3] = {31, 31, 31};
    int high[3] = {0, 0, 0};
    uint64_t count = 0;
    forEachBin(box, [&](const int *channel, int bin) {
        if (histogram.count[bin] == 0) {
            return;
        }
        count += histogram.count[bin];
        for (int axis = 0; axis < 3; axis++) {
            low[axis] = channel[axis] < low[axis] ? channel[axis] : low[axis];
            high[axis] = channel[axis] > high[axis] ? channel[axis] : high[axis];
        }
    });
    for (int axis = 0; axis < 3; axis++) {
        box.low[axis] = low[axis];
        box.high[axis] = high[axis];
    }
    box.count = count;
}

int longestAxis(const Box &box) {
    int axis = 0;
    for (int other = 1; other < 3; other++) {
        if (box.high[other] - box.low[other] > box.high[axis] - box.low[axis]) {
            axis = other;
        }
    }
    return axis;
}

// Splits a box at the median of its pixels along its longest side.
void splitBox(const Histogram &histogram, Box &box, Box &rest) {
    const int axis = longestAxis(box);
    std::vector<uint64_t> slices(32, 0);
    forEachBin(box,
               [&](const int *channel, int bin) { slices[channel[axis]] += histogram.count[bin]; });
    uint64_t below = 0;
    int cut = box.low[axis];
    for (; cut < box.high[axis] - 1; cut++) {
        below += slices[cut];
        if (below * 2 >= box.count) {
            break;
        }
    }
    rest = box;
    box.high[axis] = cut;
    rest.low[axis] = cut + 1;
    shrinkBox(histogram, box);
    shrinkBox(histogram, rest);
}

} // namespace

IndexedPicture quantizePicture(const Picture &picture) {
    Histogram histogram;
    histogram.count.assign(BINS, 0);
    histogram.sum.assign(BINS * 3, 0);
    const size_t pixelCount = static_cast<size_t>(picture.width) * picture.height;
    for (size_t i = 0; i < pixelCount; i++) {
        const unsigned char *pixel = &picture.rgb[i * 3];
        const int bin = binOf(pixel);
        histogram.count[bin]++;
        for (int channel = 0; channel < 3; channel++) {
            histogram.sum[bin * 3 + channel] += pixel[channel];
        }
    }

    std::vector<Box> boxes(1, Box{{0, 0, 0}, {31, 31, 31}, 0});
    shrinkBox(histogram, boxes[0]);
    while (boxes.size() < 256) {
        int chosen = -1;
        uint64_t bestScore = 0;
        for (size_t i = 0; i < boxes.size(); i++) {
            const int axis = longestAxis(boxes[i]);
            const uint64_t score = boxes[i].count * (boxes[i].high[axis] - boxes[i].low[axis]);
            if (score > bestScore) {
                bestScore = score;
                chosen = static_cast<int>(i);
            }
        }
        if (chosen < 0) {
            break;
        }
        Box rest;
        splitBox(histogram, boxes[chosen], rest);
        boxes.push_back(rest);
    }

    IndexedPicture indexed;
    indexed.width = picture.width;
    indexed.height = picture.height;
    for (size_t i = 0; i < boxes.size(); i++) {
        uint64_t sum[3] = {0, 0, 0};
        forEachBin(boxes[i], [&](const int *, int bin) {
            for (int channel = 0; channel < 3; channel++) {
                sum[channel] += histogram.sum[bin * 3 + channel];
            }
        });
        for (int channel = 0; channel < 3; channel++) {
            const uint64_t count = boxes[i].count ? boxes[i].count : 1;
            indexed.palette[i * 3 + channel] =
                static_cast<unsigned char>((sum[channel] + count / 2) / count);
        }
    }

    // Each occupied bin maps to the palette entry nearest to the mean colour of its pixels.
    std::vector<unsigned char> nearest(BINS, 0);
    for (int bin = 0; bin < BINS; bin++) {
        if (histogram.count[bin] == 0) {
            continue;
        }
        long mean[3];
        for (int channel = 0; channel < 3; channel++) {
            mean[channel] =
                static_cast<long>(histogram.sum[bin * 3 + channel] / histogram.count[bin]);
        }
        long bestDistance = -1;
        for (size_t entry = 0; entry < boxes.size(); entry++) {
            long distance = 0;
            for (int channel = 0; channel < 3; channel++) {
                const long d = mean[channel] - indexed.palette[entry * 3 + channel];
                distance += d * d;
            }
            if (bestDistance < 0 || distance < bestDistance) {
                bestDistance = distance;
                nearest[bin] = static_cast<unsigned char>(entry);
            }
        }
    }
    indexed.indices.resize(pixelCount);
    for (size_t i = 0; i < pixelCount; i++) {
        indexed.indices[i] = nearest[binOf(&picture.rgb[i * 3])];
    }
    return indexed;
}

Picture expandIndexed(const IndexedPicture &indexed) {
    Picture picture = makePicture(indexed.width, indexed.height);
    for (size_t i = 0; i < indexed.indices.size(); i++) {
        for (int channel = 0; channel < 3; channel++) {
            picture.rgb[i * 3 + channel] = indexed.palette[indexed.indices[i] * 3 + channel];
        }
    }
    return picture;
}
