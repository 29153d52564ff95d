// depth_offset.h -- polygon offsets given in steps of a 16-bit depth buffer. The fixtures lie
// in the wall planes and are kept in front by offsets of one or two such steps; on a deeper
// buffer one step is far finer than the rounding of depth across differently tessellated
// surfaces, and the wall would show through doors and pictures seen from close by.
#pragma once

// Reads the depth-buffer size of the current context; once per context, before any offset.
void measureDepthResolution();

// glPolygonOffset with units counted in 16-bit depth steps.
void setPolygonOffset(float factor, float units);
