// relief.cpp -- distance fields, blurring and the lighting of painted height fields.
#include <algorithm>
#include <cmath>
#include <queue>

#include "artwork/artwork.h"

namespace {
int wrapOrClamp(int i, int size, bool wrap) {
    if (wrap)
        return ((i % size) + size) % size;
    return std::clamp(i, 0, size - 1);
}

// Shortest signed offset from a to b along an axis of the given size.
int axisDelta(int a, int b, int size, bool wrap) {
    int d = b - a;
    if (wrap) {
        if (d > size / 2)
            d -= size;
        if (d < -size / 2)
            d += size;
    }
    return d;
}
} // namespace

Field distanceTo(const Field &sources, bool wrap) {
    const int w = sources.width;
    const int h = sources.height;
    Field distance = makeField(w, h, 1e9f);
    std::vector<int> nearest(static_cast<size_t>(w) * h, -1);
    using Entry = std::pair<float, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
    for (int i = 0; i < w * h; ++i) {
        if (sources.value[i] != 0.0f) {
            distance.value[i] = 0.0f;
            nearest[i] = i;
            queue.push({0.0f, i});
        }
    }
    // Each pixel inherits its neighbour's nearest source, measured exactly from itself.
    while (!queue.empty()) {
        auto [d, i] = queue.top();
        queue.pop();
        if (d > distance.value[i])
            continue;
        int x = i % w;
        int y = i / w;
        int sx = nearest[i] % w;
        int sy = nearest[i] / w;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                int nx = x + dx;
                int ny = y + dy;
                if (!wrap && (nx < 0 || ny < 0 || nx >= w || ny >= h))
                    continue;
                nx = wrapOrClamp(nx, w, wrap);
                ny = wrapOrClamp(ny, h, wrap);
                int n = ny * w + nx;
                float ex = static_cast<float>(axisDelta(nx, sx, w, wrap));
                float ey = static_cast<float>(axisDelta(ny, sy, h, wrap));
                float candidate = std::sqrt(ex * ex + ey * ey);
                if (candidate < distance.value[n]) {
                    distance.value[n] = candidate;
                    nearest[n] = nearest[i];
                    queue.push({candidate, n});
                }
            }
        }
    }
    return distance;
}

Field blur(const Field &field, int radius, bool wrap) {
    const int w = field.width;
    const int h = field.height;
    Field across = makeField(w, h);
    Field result = makeField(w, h);
    const float scale = 1.0f / (2 * radius + 1);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float sum = 0.0f;
            for (int k = -radius; k <= radius; ++k)
                sum += field.at(wrapOrClamp(x + k, w, wrap), y);
            across.at(x, y) = sum * scale;
        }
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float sum = 0.0f;
            for (int k = -radius; k <= radius; ++k)
                sum += across.at(x, wrapOrClamp(y + k, h, wrap));
            result.at(x, y) = sum * scale;
        }
    }
    return result;
}

// How much of the light a pixel loses to higher ground between it and the light (0 to 1).
static float occlusion(const Field &height, int x, int y, float lx, float ly, float rise,
                       bool wrap) {
    const float start = height.at(x, y);
    float blocked = 0.0f;
    for (int step = 1; step <= 40; ++step) {
        int sx = static_cast<int>(std::lround(x + lx * step));
        int sy = static_cast<int>(std::lround(y + ly * step));
        if (!wrap && (sx < 0 || sy < 0 || sx >= height.width || sy >= height.height))
            break;
        float ground =
            height.at(wrapOrClamp(sx, height.width, wrap), wrapOrClamp(sy, height.height, wrap));
        float ray = start + rise * step;
        blocked = std::max(blocked, std::min(1.0f, (ground - ray) / 1.5f));
    }
    return blocked;
}

void shadeRelief(Canvas &canvas, const Field &height, const Canvas &albedo, const Finish &finish,
                 bool wrap) {
    const int w = height.width;
    const int h = height.height;
    // Light from the upper left and somewhat in front; y grows downwards.
    const float lx = -0.55f, ly = -0.70f, lz = 0.85f;
    const float lLength = std::sqrt(lx * lx + ly * ly + lz * lz);
    const float Lx = lx / lLength, Ly = ly / lLength, Lz = lz / lLength;
    const float hLength = std::sqrt(Lx * Lx + Ly * Ly + (Lz + 1) * (Lz + 1));
    const float Hx = Lx / hLength, Hy = Ly / hLength, Hz = (Lz + 1) / hLength;
    const float planar = std::sqrt(lx * lx + ly * ly);
    Field scaled = height;
    for (float &v : scaled.value)
        v *= finish.relief;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float gx = 0.5f * (scaled.at(wrapOrClamp(x + 1, w, wrap), y) -
                               scaled.at(wrapOrClamp(x - 1, w, wrap), y));
            float gy = 0.5f * (scaled.at(x, wrapOrClamp(y + 1, h, wrap)) -
                               scaled.at(x, wrapOrClamp(y - 1, h, wrap)));
            float nLength = std::sqrt(gx * gx + gy * gy + 1.0f);
            float nx = -gx / nLength, ny = -gy / nLength, nz = 1.0f / nLength;
            float diffuse = std::max(0.0f, nx * Lx + ny * Ly + nz * Lz) / Lz;
            if (finish.shadow > 0.0f) {
                float blocked =
                    occlusion(scaled, x, y, lx / planar, ly / planar, lz / planar, wrap);
                diffuse *= 1.0f - finish.shadow * blocked;
            }
            float lit = finish.ambient + (1.0f - finish.ambient) * diffuse;
            float gloss = 0.0f;
            if (finish.specular > 0.0f)
                gloss = finish.specular *
                        std::pow(std::max(0.0f, nx * Hx + ny * Hy + nz * Hz), finish.shininess);
            size_t i = static_cast<size_t>(y) * w + x;
            canvas.colour[i] = albedo.colour[i] * lit + finish.highlight * gloss;
            canvas.alpha[i] = albedo.alpha[i];
        }
    }
}
