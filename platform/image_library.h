// image_library.h -- the image library that frames pictures and reads the embedded artwork:
// DevIL's image objects and operations under their own names (ilGenImages, ilBindImage,
// ilTexImage, ilBlit, iluScale, ilLoadL and the rest). Everything else reaches the library only
// through this header. Its state is one bound image: Thread: main only.
#pragma once
#include <IL/il.h>
#include <IL/ilu.h>
