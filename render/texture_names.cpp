// texture_names.cpp -- the table of texture names.
#include "render/texture_names.h"

GLuint textureNames[TEXTURE_COUNT];
