// canvas.cpp -- colour arithmetic, canvases and fields, and writing them out as PNG files.
#include <IL/il.h>
#include <algorithm>
#include <cmath>

#include "artwork/artwork.h"

Colour operator+(Colour a, Colour b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Colour operator*(Colour a, float k) {
    return {a.r * k, a.g * k, a.b * k};
}
Colour operator*(Colour a, Colour b) {
    return {a.r * b.r, a.g * b.g, a.b * b.b};
}
Colour mix(Colour a, Colour b, float t) {
    return a * (1.0f - t) + b * t;
}

Canvas makeCanvas(int width, int height) {
    Canvas canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.colour.assign(static_cast<size_t>(width) * height, Colour{0, 0, 0});
    canvas.alpha.assign(static_cast<size_t>(width) * height, 1.0f);
    return canvas;
}

Field makeField(int width, int height, float initial) {
    Field field;
    field.width = width;
    field.height = height;
    field.value.assign(static_cast<size_t>(width) * height, initial);
    return field;
}

static ILubyte toByte(float value) {
    return static_cast<ILubyte>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

bool savePng(const Canvas &canvas, int channels, const std::string &path) {
    std::vector<ILubyte> bytes;
    bytes.reserve(static_cast<size_t>(canvas.width) * canvas.height * channels);
    for (size_t i = 0; i < canvas.colour.size(); ++i) {
        bytes.push_back(toByte(canvas.colour[i].r));
        bytes.push_back(toByte(canvas.colour[i].g));
        bytes.push_back(toByte(canvas.colour[i].b));
        if (channels == 4)
            bytes.push_back(toByte(canvas.alpha[i]));
    }
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    bool saved = ilTexImage(canvas.width, canvas.height, 1, static_cast<ILubyte>(channels),
                            channels == 4 ? IL_RGBA : IL_RGB, IL_UNSIGNED_BYTE, bytes.data());
    // Our rows run top to bottom; the PNG writer follows the image's declared origin.
    ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    ilEnable(IL_FILE_OVERWRITE);
    ilSetInteger(IL_PNG_INTERLACE, IL_FALSE);
    saved = saved && ilSave(IL_PNG, path.c_str());
    ilDeleteImages(1, &image);
    return saved;
}
