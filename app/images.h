// The built-in PNG images, embedded into the program at build time.
#pragma once

#include <cstddef>

struct EmbeddedImage {
  int number;                 // image number; 0 ends the table
  const unsigned char* data;  // the PNG file's bytes
  size_t size;
};
extern const EmbeddedImage kestrova_embedded_images[];
extern const EmbeddedImage kestrova_embedded_icon;  // the program icon; number 0
