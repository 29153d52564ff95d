// test_pictures.h -- small picture files written for tests.
#pragma once
#include <string>

// Writes a width x height PNG of one colour at path; false when it cannot.
bool writeSolidPng(const std::string &path, int width, int height, unsigned char red,
                   unsigned char green, unsigned char blue);

// Writes a width x height JPEG of four flat quadrants (colours given top-left, top-right,
// bottom-left, bottom-right as stored, RGB) at quality 95, with an EXIF block holding the
// orientation (1-8; 0: no EXIF block at all) and, when dateTaken is not empty, the date it was
// taken ("YYYY:MM:DD HH:MM:SS") as EXIF stores it. False when it cannot.
bool writeQuadrantJpeg(const std::string &path, int width, int height,
                       const unsigned char quadrants[4][3], int orientation,
                       const std::string &dateTaken = "");

// Writes a width x height JPEG whose every pixel differs from its neighbours (ramps of red and
// green, a pattern of blue), with an EXIF orientation, so that any two ways of scaling it tell
// apart. False when it cannot.
bool writeTexturedJpeg(const std::string &path, int width, int height, int orientation);
