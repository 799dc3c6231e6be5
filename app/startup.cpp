// Start-up in its fixed order, the built-in images and the end of the process.
#include <png.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/app.h"
#include "app/images.h"
#include "core/core.h"
#include "core/ids.h"
#include "techniques/techniques.h"
#include "ui/ui.h"

namespace {

// Creates the four fonts. The settings file that holds the language is not
// read yet, so the failure messages are shown as they stand.
void create_fonts() {
  struct FontChoice {
    int font;
    int points;
    unsigned style;
    const char* failure;
  };
  static const FontChoice fonts[] = {
      {FONT_NORMAL, 10, UI_FONT_HIGH_QUALITY, "Can't load Arial font size 10."},
      {FONT_SMALL, 8, UI_FONT_HIGH_QUALITY, "Can't load Arial font size 8."},
      {FONT_TINY, 7, UI_FONT_HIGH_QUALITY, "Can't load Arial font size 7."},
      {FONT_BOLD, 10, UI_FONT_BOLD | UI_FONT_HIGH_QUALITY, "Can't load Arial font size 10."},
  };
  forget_button_faces();
  for (const FontChoice& f : fonts) {
    if (!ui_load_font(f.font, "Arial", f.points, f.style)) {
      ui_message("Error", f.failure, UI_ICON_ERROR);
    }
  }
  ui_set_default_font(FONT_NORMAL);
}

// libpng pulls the compressed bytes through this reader.
struct MemoryReader {
  const unsigned char* data;
  size_t size;
  size_t offset;
};

void read_from_memory(png_structp png, png_bytep out, png_size_t length) {
  MemoryReader* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (length > reader->size - reader->offset) png_error(png, "read past the end of the image");
  std::memcpy(out, reader->data + reader->offset, length);
  reader->offset += length;
}

// Pixels of one decoded image: rows of RGB or RGBA, 8 bits per channel.
struct DecodedImage {
  unsigned width = 0;
  unsigned height = 0;
  int channels = 0;
  std::vector<unsigned char> pixels;
  std::vector<png_bytep> rows;
};

// Decodes a PNG held in memory. libpng reports errors by a long jump back to
// the setjmp below, so nothing with a destructor may be created between the
// two: the buffers live in `out`, which belongs to the caller.
bool decode_png(const unsigned char* data, size_t size, DecodedImage& out) {
  if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  MemoryReader reader{data, size, 0};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &reader, read_from_memory);
  png_read_info(png, info);

  // Whatever the file holds comes out as 8-bit RGB, or RGBA when it carries
  // transparency.
  int colour_type = png_get_color_type(png, info);
  if (colour_type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colour_type == PNG_COLOR_TYPE_GRAY || colour_type == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  if (png_get_bit_depth(png, info) < 8) png_set_expand(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  png_set_strip_16(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  out.width = png_get_image_width(png, info);
  out.height = png_get_image_height(png, info);
  out.channels = png_get_channels(png, info);
  size_t row_bytes = png_get_rowbytes(png, info);
  if (out.width == 0 || out.height == 0 || (out.channels != 3 && out.channels != 4) ||
      png_get_bit_depth(png, info) != 8 || row_bytes != size_t(out.width) * out.channels) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  out.pixels.resize(row_bytes * out.height);
  out.rows.resize(out.height);
  for (unsigned y = 0; y < out.height; ++y) out.rows[y] = out.pixels.data() + y * row_bytes;
  png_read_image(png, out.rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

// Decodes a PNG held in memory into image `number`.
bool load_png_image(int number, const unsigned char* data, size_t size) {
  DecodedImage image;
  return decode_png(data, size, image) &&
         ui_image_from_pixels(number, int(image.width), int(image.height), image.channels,
                              image.pixels.data());
}

}  // namespace

int64_t load_embedded_images() {
  // The table is ordered by image number; each image that cannot be decoded
  // is reported on its own and the next one follows.
  int64_t loaded = 0;
  for (const EmbeddedImage* e = kestrova_embedded_images; e->number != 0; ++e) {
    if (load_png_image(e->number, e->data, e->size)) {
      ++loaded;
    } else {
      ui_message("Error", "Can't load image.", UI_ICON_ERROR);
    }
  }
  return loaded;
}

void set_program_icon(int window) {
  if (load_png_image(IMAGE_PROGRAM_ICON, kestrova_embedded_icon.data, kestrova_embedded_icon.size))
    ui_set_window_icon(window, IMAGE_PROGRAM_ICON);
}

void start_program() {
  // A write past the file-size limit (ulimit -f) then fails like one on a
  // full disk, and the save reports it, instead of the signal ending the
  // program with the tickets in memory.
  std::signal(SIGXFSZ, SIG_IGN);
  init_game_state();
  create_fonts();
  load_embedded_images();
  load_main_prefs();  // a missing or foreign file leaves the defaults
  ui_set_toolkit_language(static_cast<int>(g_language));
  build_main_window();
  update_recent_files("");
  refresh_recent_files_menu();
  load_technique_prefs();
  show_technique_settings();
  g_quit_requested = 0;
}

void program_main() {
  if (!ui_init()) {
    std::fputs("Kestrova: the window system could not be started.\n", stderr);
    std::exit(1);
  }
  start_program();
  run_event_loop();
}

void end_program() {
  ui_shutdown();
  std::exit(0);
}
