// test_pictures.h -- small picture files written for tests.
#pragma once
#include <string>

// Writes a width x height PNG of one colour at path; false when it cannot.
bool writeSolidPng(const std::string &path, int width, int height, unsigned char red,
                   unsigned char green, unsigned char blue);
