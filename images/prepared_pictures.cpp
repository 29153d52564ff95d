// prepared_pictures.cpp -- the two stores of pictures kept between rooms.
#include "images/prepared_pictures.h"

PictureStore decodedPictures(DECODED_PICTURE_BUDGET);
PictureStore framedPictures(FRAMED_PICTURE_BUDGET);
