// jpeg_writer.cpp -- baseline JPEG files through libjpeg, encoded in memory.
#include "samples/picture_writers.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

bool encodeJpeg(const Picture &picture, int quality, std::vector<unsigned char> &bytes) {
    jpeg_compress_struct compressor;
    jpeg_error_mgr errors;
    compressor.err = jpeg_std_error(&errors); // a library error prints and ends the program
    jpeg_create_compress(&compressor);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compressor, &buffer, &size);
    compressor.image_width = picture.width;
    compressor.image_height = picture.height;
    compressor.input_components = 3;
    compressor.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compressor);
    jpeg_set_quality(&compressor, quality, TRUE);
    // The exact integer transform and fixed tables give the same bytes on every run.
    compressor.dct_method = JDCT_ISLOW;
    compressor.optimize_coding = FALSE;
    jpeg_start_compress(&compressor, TRUE);
    while (compressor.next_scanline < compressor.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(
            &picture.rgb[static_cast<size_t>(compressor.next_scanline) * picture.width * 3]);
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    jpeg_destroy_compress(&compressor);
    bytes.assign(buffer, buffer + size);
    std::free(buffer);
    return size > 0;
}
