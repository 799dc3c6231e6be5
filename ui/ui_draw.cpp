// Fonts, images, drawing on images and canvases, and the gadgets that show
// pictures (canvas, image button).
#include <cmath>

#include "ui/ui_internal.h"

namespace {

std::map<int, QFont> g_fonts;
std::map<int, bool> g_font_smooth;  // loaded with UI_FONT_HIGH_QUALITY
std::map<int, QImage> g_images;
int g_next_image = 100000;

// Pictures the program draws (canvases, new images) hold as many pixels per
// unit as the display shows, so that their boxes and texts come out as sharp
// as the toolkit's own gadgets; every operation takes units and the picture
// its own ratio. The built-in images keep their artwork's pixels, one per
// unit, and are enlarged pixel for pixel where they are shown.
qreal display_ratio() { return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0; }

QImage blank_drawing(int width, int height, QColor ground) {
  const qreal ratio = display_ratio();
  QImage image(static_cast<int>(std::ceil(width * ratio)), static_cast<int>(std::ceil(height * ratio)),
               QImage::Format_RGB32);
  if (image.isNull()) return image;
  image.setDevicePixelRatio(ratio);
  image.fill(ground);
  return image;
}

// A picture's size in units.
QSize units_of(const QImage& image) { return image.deviceIndependentSize().toSize(); }

// The picture's pixel under the top-left corner of unit (x, y).
QPoint pixel_of(const QImage& image, int x, int y) {
  const qreal ratio = image.devicePixelRatio();
  return QPoint(std::min(static_cast<int>(x * ratio), image.width() - 1),
                std::min(static_cast<int>(y * ratio), image.height() - 1));
}

// What drawing works on: an image or a canvas gadget, looked up anew by
// every operation so that freeing either ends the drawing harmlessly.
enum class Target { none, image, canvas };
Target g_target = Target::none;
int g_target_number = -1;
int g_drawing_font = UI_DEFAULT_FONT;

class Canvas : public QWidget {
 public:
  Canvas(int gadget, QWidget* parent, int width, int height)
      : QWidget(parent), image(blank_drawing(width, height, Qt::white)), gadget_(gadget) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  QImage image;
  int last_x = 0;
  int last_y = 0;

  void player_click(int x, int y) {
    last_x = x;
    last_y = y;
    ui_queue_gadget_event(gadget_, this, UI_TYPE_CLICK);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QSize units = units_of(image);
    if (units.width() < width() || units.height() < height()) p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, image);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) {
      QPoint at = event->position().toPoint();
      player_click(at.x(), at.y());
    }
    QWidget::mousePressEvent(event);
  }

 private:
  int gadget_;
};

// A push button whose face is a picture. A picture as large as the button
// is its whole face, pixel for pixel (the coloured buttons show exactly their
// colour, disabled too); only a press darkens its rim. A smaller picture sits
// centred on the ordinary button face and greys when disabled.
class ImageButton : public QPushButton {
 public:
  ImageButton(QWidget* parent, const QImage& face)
      : QPushButton(parent), face_(ui_image_for_display(face)) {
    setAutoDefault(false);
  }

  void set_face(const QImage& face) {
    face_ = ui_image_for_display(face);
    update();
  }

 protected:
  QSize sizeHint() const override { return units_of(face_) + QSize(4, 4); }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QRect r = rect();
    QSize face = units_of(face_);
    bool fills = !face_.isNull() && face.width() >= r.width() && face.height() >= r.height();
    if (fills) {
      p.drawImage(QPoint(0, 0), face_);
      if (isDown()) {
        p.setPen(QColor(64, 64, 64));
        p.drawRect(r.adjusted(0, 0, -1, -1));
      }
      return;
    }
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
    if (face_.isNull()) return;
    QPixmap pixmap = QPixmap::fromImage(face_);
    if (!isEnabled())
      pixmap = style()->generatedIconPixmap(QIcon::Disabled, pixmap, &option);
    QSize s = face;
    if (s.width() > r.width() - 4 || s.height() > r.height() - 4)
      s.scale(r.size() - QSize(4, 4), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), s);
    target.moveCenter(r.center());
    if (isDown()) target.translate(1, 1);
    p.drawPixmap(target, pixmap);
  }

 private:
  QImage face_;
};

QImage* target_image() {
  if (g_target == Target::image) return ui_find_image(g_target_number);
  if (g_target == Target::canvas) {
    Gadget* g = ui_find_gadget(g_target_number);
    if (!g || g->kind != GadgetKind::canvas) return nullptr;
    return &static_cast<Canvas*>(g->widget.data())->image;
  }
  return nullptr;
}

QColor colour_or_black(int64_t colour) {
  return colour < 0 ? QColor(0, 0, 0) : to_qcolor(colour);
}

}  // namespace

// The toolkit would smooth a picture it enlarges for the display, which blurs
// the artwork's edges; each pixel becomes a block of the display's pixels
// instead.
QImage ui_image_for_display(const QImage& image) {
  const qreal ratio = display_ratio();
  if (image.isNull() || image.devicePixelRatio() == ratio) return image;
  QSize units = units_of(image);
  QImage shown = image.scaled(static_cast<int>(std::ceil(units.width() * ratio)),
                              static_cast<int>(std::ceil(units.height() * ratio)),
                              Qt::IgnoreAspectRatio, Qt::FastTransformation);
  shown.setDevicePixelRatio(ratio);
  return shown;
}

// ---- drawn texts -------------------------------------------------------------------
// The same few texts are drawn again and again on the same ground (a chart's
// column numbers at every redraw, the numbers of the pool buttons), and
// laying a text out is most of what drawing it costs. Where the ground under
// the whole text is one colour, the text is drawn once onto a stamp of that
// colour, which later draws of the same text, font, colour and ground copy:
// the stamp holds the very pixels the drawing would leave there, smoothed
// edges included. Any other ground gets the text drawn.
namespace {

struct TextStamp {
  QImage image;
  QPoint offset;  // the stamp's top-left corner from the text's baseline origin, in units
};
std::unordered_map<QString, TextStamp> g_text_stamps;

// What laying a text out in a font tells, kept for the next time: measuring
// a text costs as much as drawing it.
struct TextMeasure {
  int advance;
  int ascent;
  int height;
  QRect box;  // every unit the text may ink, from its baseline origin, and a margin
};
std::unordered_map<QString, TextMeasure> g_text_measures;
constexpr size_t kMostKeptTexts = 1024;

// `font` is font number `number` as drawn (crisp or not).
const TextMeasure& measure_text(const QFont& font, int number, const QString& text) {
  const QString key = QString::number(number) + QLatin1Char(font.styleStrategy() & QFont::NoAntialias ? 'c' : 's') +
                      QLatin1Char('/') + text;
  auto found = g_text_measures.find(key);
  if (found != g_text_measures.end()) return found->second;
  if (g_text_measures.size() >= kMostKeptTexts) g_text_measures.clear();
  QFontMetrics fm(font);
  TextMeasure m;
  m.advance = fm.horizontalAdvance(text);
  m.ascent = fm.ascent();
  m.height = fm.height();
  m.box = fm.boundingRect(text).united(QRect(0, -m.ascent, m.advance, m.height)).adjusted(-2, -2, 2, 2);
  return g_text_measures.emplace(key, m).first->second;
}

// The one colour of the image's pixels in `area`, or nothing when they are
// not all alike or the area is not wholly inside.
std::optional<QRgb> uniform_ground(const QImage& image, const QRect& area) {
  if (area.isEmpty() || !image.rect().contains(area)) return std::nullopt;
  const QRgb ground = image.pixel(area.topLeft());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = area.left(); x <= area.right(); ++x)
      if (line[x] != ground) return std::nullopt;
  }
  return ground;
}

}  // namespace

// ---- fonts -------------------------------------------------------------------------
bool ui_load_font(int font, const std::string& name, int points, unsigned style) {
  if (points <= 0 || name.empty()) return false;
  QFont f(to_qstring(name));
  f.setPointSize(points);
  f.setBold((style & UI_FONT_BOLD) != 0);
  f.setStyleStrategy((style & UI_FONT_HIGH_QUALITY) ? QFont::PreferAntialias
                                                    : QFont::PreferDefault);
  if (QFontInfo(f).family().isEmpty()) return false;
  g_fonts[font] = f;
  g_font_smooth[font] = (style & UI_FONT_HIGH_QUALITY) != 0;
  // What was kept of an earlier font under this number.
  g_text_measures.clear();
  g_text_stamps.clear();
  return true;
}

void ui_set_default_font(int font) {
  g_ui_default_font = ui_font_exists(font) ? font : UI_DEFAULT_FONT;
}

QFont ui_font(int font) {
  auto it = g_fonts.find(font);
  return it == g_fonts.end() ? QApplication::font() : it->second;
}

bool ui_font_exists(int font) { return g_fonts.count(font) != 0; }

// ---- images ------------------------------------------------------------------------
bool ui_image_from_pixels(int image, int width, int height, int channels,
                          const unsigned char* pixels) {
  if (width <= 0 || height <= 0 || !pixels || (channels != 3 && channels != 4)) return false;
  QImage wrapped(pixels, width, height, width * channels,
                 channels == 3 ? QImage::Format_RGB888 : QImage::Format_RGBA8888);
  QImage converted =
      wrapped.convertToFormat(channels == 3 ? QImage::Format_RGB32 : QImage::Format_ARGB32);
  if (converted.isNull()) return false;
  if (g_target == Target::image && g_target_number == image) g_target = Target::none;
  g_images[image] = converted;
  return true;
}

int ui_new_image(int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  QImage image = blank_drawing(width, height, Qt::black);
  if (image.isNull()) return 0;
  int number = g_next_image++;
  g_images[number] = image;
  return number;
}

void ui_free_image(int image) {
  if (g_target == Target::image && g_target_number == image) g_target = Target::none;
  g_images.erase(image);
}

void ui_free_all_images() {
  g_images.clear();
  g_target = Target::none;
}

QImage* ui_find_image(int image) {
  auto it = g_images.find(image);
  return it == g_images.end() ? nullptr : &it->second;
}

bool ui_image_exists(int image) { return ui_find_image(image) != nullptr; }

int ui_image_width(int image) {
  QImage* i = ui_find_image(image);
  return i ? units_of(*i).width() : 0;
}

int ui_image_height(int image) {
  QImage* i = ui_find_image(image);
  return i ? units_of(*i).height() : 0;
}

// ---- drawing ------------------------------------------------------------------------
bool ui_start_drawing_image(int image) {
  ui_stop_drawing();
  if (!ui_find_image(image)) return false;
  g_target = Target::image;
  g_target_number = image;
  g_drawing_font = UI_DEFAULT_FONT;
  return true;
}

bool ui_start_drawing_canvas(int gadget) {
  ui_stop_drawing();
  Gadget* g = ui_find_gadget(gadget);
  if (!g || g->kind != GadgetKind::canvas) return false;
  g_target = Target::canvas;
  g_target_number = gadget;
  g_drawing_font = UI_DEFAULT_FONT;
  return true;
}

void ui_stop_drawing() {
  if (g_target == Target::canvas) {
    if (Gadget* g = ui_find_gadget(g_target_number)) g->widget->update();
  }
  g_target = Target::none;
  g_target_number = -1;
}

void ui_end_drawing_on_gadget(int gadget) {
  if (g_target == Target::canvas && g_target_number == gadget) {
    g_target = Target::none;
    g_target_number = -1;
  }
}

void ui_drawing_font(int font) { g_drawing_font = ui_font_exists(font) ? font : UI_DEFAULT_FONT; }

void ui_draw_box(int x, int y, int width, int height, int64_t colour) {
  QImage* image = target_image();
  if (!image || width <= 0 || height <= 0) return;
  QPainter p(image);
  p.fillRect(x, y, width, height, colour_or_black(colour));
}

void ui_draw_text(int x, int y, const std::string& text, int64_t front, int64_t back) {
  QImage* image = target_image();
  if (!image || text.empty()) return;
  QFont font = ui_font(g_drawing_font);
  // Drawn text is crisp unless its font asked for quality: every glyph pixel
  // is then exactly the front colour, which the program reads back.
  auto smooth = g_font_smooth.find(g_drawing_font);
  if (smooth == g_font_smooth.end() || !smooth->second)
    font.setStyleStrategy(QFont::NoAntialias);
  QString t = to_qstring(text);
  const TextMeasure& m = measure_text(font, g_drawing_font, t);
  QPainter p(image);
  if (back >= 0) p.fillRect(x, y, m.advance, m.height, to_qcolor(back));
  const QColor pen = colour_or_black(front);
  const QPoint baseline(x, y + m.ascent);
  const qreal ratio = image->devicePixelRatio();
  const QRect box = m.box;
  const QRect area((baseline + box.topLeft()) * ratio, box.size() * ratio);
  const bool whole_pixels = ratio == std::floor(ratio) && (image->format() == QImage::Format_RGB32);
  const std::optional<QRgb> ground = whole_pixels ? uniform_ground(*image, area) : std::nullopt;
  QString key;
  if (ground) {
    key = QString::number(g_drawing_font) + QLatin1Char('/') + QString::number(pen.rgb()) +
          QLatin1Char('/') + QString::number(*ground) + QLatin1Char('/') +
          QString::number(ratio) + QLatin1Char('/') + t;
    auto found = g_text_stamps.find(key);
    if (found != g_text_stamps.end()) {
      p.setCompositionMode(QPainter::CompositionMode_Source);
      p.drawImage(baseline + found->second.offset, found->second.image);
      return;
    }
  }
  p.setFont(font);
  p.setPen(pen);
  p.drawText(baseline, t);
  if (key.isEmpty()) return;
  // The first drawing on this ground: what it left is the stamp.
  p.end();
  if (g_text_stamps.size() >= kMostKeptTexts) g_text_stamps.clear();
  g_text_stamps.emplace(key, TextStamp{image->copy(area), box.topLeft()});
}

int ui_text_width(const std::string& text) {
  return measure_text(ui_font(g_drawing_font), g_drawing_font, to_qstring(text)).advance;
}

int ui_text_height(const std::string& text) {
  (void)text;  // one line: the font's line height
  return QFontMetrics(ui_font(g_drawing_font)).height();
}

int64_t ui_point(int x, int y) {
  QImage* image = target_image();
  if (!image || x < 0 || y < 0) return -1;
  QSize units = units_of(*image);
  if (x >= units.width() || y >= units.height()) return -1;
  return from_qrgb(image->pixel(pixel_of(*image, x, y)));
}

void ui_flood_fill(int x, int y, int64_t colour) {
  QImage* image = target_image();
  if (!image || x < 0 || y < 0) return;
  QSize units = units_of(*image);
  if (x >= units.width() || y >= units.height()) return;
  // The fill runs over the picture's own pixels, from the one under (x, y).
  const QPoint seed_pixel = pixel_of(*image, x, y);
  // Every drawing image is 32 bits a pixel; colours compare without alpha.
  const QRgb from = image->pixel(seed_pixel) & 0xFFFFFFu;
  const QColor c = colour_or_black(colour);
  const QRgb to = c.rgb() & 0xFFFFFFu;
  if (from == to) return;
  const int w = image->width();
  const int h = image->height();
  auto at = [image](int px, int py) -> QRgb& {
    return reinterpret_cast<QRgb*>(image->scanLine(py))[px];
  };
  auto matches = [&](int px, int py) { return (at(px, py) & 0xFFFFFFu) == from; };
  auto paint = [&](int px, int py) { at(px, py) = (at(px, py) & 0xFF000000u) | to; };
  std::vector<QPoint> stack{seed_pixel};
  while (!stack.empty()) {
    QPoint seed = stack.back();
    stack.pop_back();
    int py = seed.y();
    int left = seed.x();
    if (!matches(left, py)) continue;
    while (left > 0 && matches(left - 1, py)) --left;
    int right = seed.x();
    while (right + 1 < w && matches(right + 1, py)) ++right;
    for (int px = left; px <= right; ++px) paint(px, py);
    for (int ny : {py - 1, py + 1}) {
      if (ny < 0 || ny >= h) continue;
      bool in_run = false;
      for (int px = left; px <= right; ++px) {
        bool m = matches(px, ny);
        if (m && !in_run) stack.emplace_back(px, ny);
        in_run = m;
      }
    }
  }
}

// ---- canvases and image buttons ---------------------------------------------------------
QWidget* ui_make_canvas(int gadget, QWidget* parent, int width, int height) {
  return new Canvas(gadget, parent, width, height);
}

void ui_canvas_resized(QWidget* canvas, int width, int height) {
  auto* c = static_cast<Canvas*>(canvas);
  if (width <= 0 || height <= 0 || units_of(c->image) == QSize(width, height)) return;
  QImage grown = blank_drawing(width, height, Qt::white);
  QPainter p(&grown);
  p.drawImage(0, 0, c->image);
  p.end();
  c->image = grown;
  c->update();
}

void ui_canvas_player_click(QWidget* canvas, int x, int y) {
  static_cast<Canvas*>(canvas)->player_click(x, y);
}

int ui_canvas_last_x(QWidget* canvas) { return static_cast<Canvas*>(canvas)->last_x; }
int ui_canvas_last_y(QWidget* canvas) { return static_cast<Canvas*>(canvas)->last_y; }

void ui_set_image_button_face(QWidget* button, const QImage& face) {
  static_cast<ImageButton*>(button)->set_face(face);
}

QWidget* ui_make_image_button(int gadget, QWidget* parent, const QImage& face) {
  auto* button = new ImageButton(parent, face);
  QObject::connect(button, &QPushButton::clicked,
                   [gadget, button] { ui_queue_gadget_event(gadget, button, UI_TYPE_CLICK); });
  return button;
}
