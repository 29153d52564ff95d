// picture_codec_win32.cpp -- the picture decoders of WIC (Windows Imaging Component): the file's
// bytes gathered, one full decode of the first frame, shrunk with IWICBitmapScaler and turned
// into RGBA with IWICFormatConverter. Only what Wine implements too: no source transform (so no
// shrink while decoding) and no metadata (orientation is read by our own JPEG and TIFF header
// readers, and the pixels come as stored: the orientation left is 0, none read).
#include "platform/picture_codec.h"

#include <cstring>
#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>
#include <wincodec.h>

struct PictureCodec {
    ChooseDecodeSize chooseSize;
    void *context;
    std::vector<unsigned char> bytes;
    bool refused;
};

namespace {

// Releases a COM pointer when it leaves scope.
template <typename T> struct Held {
    T *pointer = nullptr;
    ~Held() {
        if (pointer != nullptr)
            pointer->Release();
    }
    T **out() { return &pointer; }
    T *operator->() const { return pointer; }
};

// COM on the calling thread for the length of one call: worker threads come and go, and the
// main thread may already hold a single-threaded apartment (which serves WIC just as well).
struct ComScope {
    HRESULT result;
    ComScope() : result(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result))
            CoUninitialize();
    }
};

bool createFactory(Held<IWICImagingFactory> *factory) {
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(factory->out())));
}

// The source, shrunk to width x height (bilinear: WIC's Fant filter averages every pixel a
// target pixel covers) and converted to 32-bit RGBA, copied out top row first.
bool copyRgba(IWICImagingFactory *factory, IWICBitmapSource *source, uint32_t width,
              uint32_t height, CodecPixels *pixels) {
    UINT storedWidth = 0, storedHeight = 0;
    if (FAILED(source->GetSize(&storedWidth, &storedHeight)))
        return false;
    Held<IWICBitmapScaler> scaler;
    IWICBitmapSource *sized = source;
    if (width != storedWidth || height != storedHeight) {
        if (FAILED(factory->CreateBitmapScaler(scaler.out())) ||
            FAILED(scaler->Initialize(source, width, height, WICBitmapInterpolationModeFant)))
            return false;
        sized = scaler.pointer;
    }
    Held<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(sized, GUID_WICPixelFormat32bppRGBA, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return false;
    size_t stride = (size_t)width * 4;
    if (stride * height > 0xFFFFFFFFull)
        return false;
    pixels->rgba.resize(stride * height);
    pixels->width = width;
    pixels->height = height;
    return SUCCEEDED(
        converter->CopyPixels(nullptr, (UINT)stride, (UINT)(stride * height), pixels->rgba.data()));
}

} // namespace

// JPEG, PNG, GIF, BMP and TIFF are WIC's own; WebP, HEIF and AVIF decode where Windows has
// their codecs installed (WebP comes with Windows 10 1809 and later, HEIF and AVIF with the
// Store's image extensions). A format without a codec fails at the decode, like a broken file.
PictureCodec *openPictureCodec(PictureFormat, ChooseDecodeSize chooseSize, void *context) {
    return new PictureCodec{chooseSize, context, {}, false};
}

// WIC decodes from a whole stream; the bytes are gathered until the input ends.
bool feedPictureCodec(PictureCodec *codec, const unsigned char *bytes, size_t size) {
    if (codec->refused)
        return false;
    codec->bytes.insert(codec->bytes.end(), bytes, bytes + size);
    return true;
}

bool finishPictureCodec(PictureCodec *codec, CodecPixels *pixels) {
    if (codec->refused || codec->bytes.empty() || codec->bytes.size() > 0xFFFFFFFFull)
        return false;
    ComScope com;
    Held<IWICImagingFactory> factory;
    if (!createFactory(&factory))
        return false;
    Held<IStream> stream;
    stream.pointer = SHCreateMemStream(codec->bytes.data(), (UINT)codec->bytes.size());
    Held<IWICBitmapDecoder> decoder;
    Held<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    if (stream.pointer == nullptr ||
        FAILED(factory->CreateDecoderFromStream(stream.pointer, nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.out())) ||
        FAILED(decoder->GetFrame(0, frame.out())) || FAILED(frame->GetSize(&width, &height)) ||
        width == 0 || height == 0)
        return false;
    // The stored size is known and no pixel is decoded yet: the caller may refuse.
    uint32_t targetWidth = width, targetHeight = height;
    if (!codec->chooseSize(codec->context, width, height, &targetWidth, &targetHeight)) {
        codec->refused = true;
        return false;
    }
    std::vector<unsigned char>().swap(codec->bytes);
    return copyRgba(factory.pointer, frame.pointer, targetWidth, targetHeight, pixels);
}

// WIC scales on its own path for each size asked: a second copy would cost a second decode,
// which is left to whoever wants it.
void askPictureCodecForSecondSize(PictureCodec *, uint32_t, uint32_t) {}

bool pictureCodecRefused(const PictureCodec *codec) {
    return codec->refused;
}

void closePictureCodec(PictureCodec *codec) {
    delete codec;
}

// No decoder shrinks while it decodes here: every picture is counted at its full size.
void codecDecodeSize(PictureFormat, uint32_t width, uint32_t height, uint32_t, uint32_t,
                     uint64_t *decodedWidth, uint64_t *decodedHeight) {
    *decodedWidth = width;
    *decodedHeight = height;
}

bool scalePixels(const unsigned char *rgba, uint32_t width, uint32_t height, uint32_t newWidth,
                 uint32_t newHeight, std::vector<unsigned char> *scaled) {
    ComScope com;
    Held<IWICImagingFactory> factory;
    Held<IWICBitmap> bitmap;
    if (!createFactory(&factory) ||
        FAILED(factory->CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppRGBA,
                                               width * 4, width * height * 4,
                                               const_cast<BYTE *>(rgba), bitmap.out())))
        return false;
    CodecPixels pixels;
    if (!copyRgba(factory.pointer, bitmap.pointer, newWidth, newHeight, &pixels))
        return false;
    scaled->swap(pixels.rgba);
    return true;
}
