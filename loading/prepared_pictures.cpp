// prepared_pictures.cpp -- the two stores of pictures kept between rooms.
#include "loading/prepared_pictures.h"

PictureStore<Picture> decodedPictures(DECODED_PICTURE_BUDGET);
PictureStore<SlotImage> framedPictures(FRAMED_PICTURE_BUDGET);
