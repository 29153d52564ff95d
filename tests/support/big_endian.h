// big_endian.h -- appending 16- and 32-bit values to a byte string, most significant byte first,
// as TIFF structures in "MM" order and JPEG segments store them.
#pragma once
#include <string>

inline void put16(std::string *bytes, unsigned value) {
    bytes->push_back((char)(value >> 8));
    bytes->push_back((char)value);
}

inline void put32(std::string *bytes, unsigned value) {
    put16(bytes, value >> 16);
    put16(bytes, value & 0xFFFF);
}
