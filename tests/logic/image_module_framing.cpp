// image_module_framing.cpp -- the program's framing code and artwork loader compiled a second
// time, against the image module instead of DevIL, exactly as the Windows build compiles them,
// for the image-module tests to hold beside the DevIL build. Everything those sources include
// is included first, so that only their own declarations land in the namespace.
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "logic/image_library_side.h"
#include "pictures/picture.h"
#include "pictures/picture_fit.h"
#include "platform/embedded_resources.h"
#include "platform/image_library.h"
#include "platform/image_module.h"
#include "platform/message_box.h"
#include "platform/this_thread.h"

// The framing code keeps DevIL's types and IL_ names, which image_library.h gives the module
// on Windows with these same values.
static_assert(std::is_same<ILuint, unsigned>::value && std::is_same<ILint, int>::value &&
                  std::is_same<ILubyte, unsigned char>::value &&
                  std::is_same<ILenum, unsigned>::value,
              "DevIL's types");
static_assert(IL_RGB == image_module::RGB && IL_RGBA == image_module::RGBA &&
                  IL_LUMINANCE == image_module::LUMINANCE &&
                  IL_UNSIGNED_BYTE == image_module::UNSIGNED_BYTE && IL_PNG == image_module::PNG,
              "formats");
static_assert(IL_ORIGIN_SET == image_module::ORIGIN_SET &&
                  IL_ORIGIN_LOWER_LEFT == image_module::ORIGIN_LOWER_LEFT &&
                  IL_ORIGIN_UPPER_LEFT == image_module::ORIGIN_UPPER_LEFT &&
                  IL_FORMAT_SET == image_module::FORMAT_SET &&
                  IL_FORMAT_MODE == image_module::FORMAT_MODE &&
                  IL_BLIT_BLEND == image_module::BLIT_BLEND,
              "modes");
static_assert(IL_IMAGE_WIDTH == image_module::IMAGE_WIDTH &&
                  IL_IMAGE_HEIGHT == image_module::IMAGE_HEIGHT &&
                  IL_IMAGE_DEPTH == image_module::IMAGE_DEPTH &&
                  IL_IMAGE_SIZE_OF_DATA == image_module::IMAGE_SIZE_OF_DATA &&
                  IL_IMAGE_BPP == image_module::IMAGE_BPP &&
                  IL_IMAGE_FORMAT == image_module::IMAGE_FORMAT &&
                  IL_IMAGE_TYPE == image_module::IMAGE_TYPE &&
                  IL_CUR_IMAGE == image_module::CUR_IMAGE &&
                  IL_IMAGE_ORIGIN == image_module::IMAGE_ORIGIN &&
                  ILU_FILTER == image_module::FILTER && ILU_BILINEAR == image_module::BILINEAR,
              "queries");

namespace on_image_module {

// These hide DevIL's functions of the same names, as image_library.h's do on Windows.
using image_module::ilBindImage;
using image_module::ilBlit;
using image_module::ilConvertImage;
using image_module::ilDeleteImages;
using image_module::ilDisable;
using image_module::ilEnable;
using image_module::ilGenImages;
using image_module::ilGetData;
using image_module::ilGetInteger;
using image_module::ilInit;
using image_module::ilIsEnabled;
using image_module::ilIsImage;
using image_module::ilLoadL;
using image_module::ilRegisterOrigin;
using image_module::ilSetInteger;
using image_module::ilShutDown;
using image_module::ilTexImage;
using image_module::iluImageParameter;
using image_module::iluInit;
using image_module::iluScale;

#include "pictures/embedded_artwork.cpp"
#include "pictures/thumbnails.cpp"
#include "pictures/slot_composer.cpp"

constexpr const char *SIDE_NAME = "image module";
#include "logic/image_library_side.inc"

} // namespace on_image_module
