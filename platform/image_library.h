// image_library.h -- the image library that frames pictures and reads the embedded artwork:
// DevIL's image objects and operations under their own names (ilGenImages, ilBindImage,
// ilTexImage, ilBlit, iluScale, ilLoadL and the rest). Everything else reaches the library only
// through this header. Its state is one bound image: Thread: main only.
//
// Linux uses DevIL itself; Windows, which has no DevIL, our image module with the same names,
// numbers and results (platform/image_module.h).
#pragma once
#ifndef _WIN32
#include <IL/il.h>
#include <IL/ilu.h>
#else
#include "platform/image_module.h"

typedef unsigned int ILenum;
typedef unsigned char ILboolean;
typedef int ILint;
typedef int ILsizei;
typedef unsigned char ILubyte;
typedef unsigned int ILuint;

#define IL_FALSE 0
#define IL_TRUE 1
#define IL_RGB image_module::RGB
#define IL_RGBA image_module::RGBA
#define IL_LUMINANCE image_module::LUMINANCE
#define IL_UNSIGNED_BYTE image_module::UNSIGNED_BYTE
#define IL_PNG image_module::PNG
#define IL_ORIGIN_SET image_module::ORIGIN_SET
#define IL_ORIGIN_LOWER_LEFT image_module::ORIGIN_LOWER_LEFT
#define IL_ORIGIN_UPPER_LEFT image_module::ORIGIN_UPPER_LEFT
#define IL_FORMAT_SET image_module::FORMAT_SET
#define IL_FORMAT_MODE image_module::FORMAT_MODE
#define IL_BLIT_BLEND image_module::BLIT_BLEND
#define IL_IMAGE_WIDTH image_module::IMAGE_WIDTH
#define IL_IMAGE_HEIGHT image_module::IMAGE_HEIGHT
#define IL_IMAGE_DEPTH image_module::IMAGE_DEPTH
#define IL_IMAGE_SIZE_OF_DATA image_module::IMAGE_SIZE_OF_DATA
#define IL_IMAGE_BPP image_module::IMAGE_BPP
#define IL_IMAGE_FORMAT image_module::IMAGE_FORMAT
#define IL_IMAGE_TYPE image_module::IMAGE_TYPE
#define IL_CUR_IMAGE image_module::CUR_IMAGE
#define IL_IMAGE_ORIGIN image_module::IMAGE_ORIGIN
#define ILU_FILTER image_module::FILTER
#define ILU_BILINEAR image_module::BILINEAR

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
#endif
