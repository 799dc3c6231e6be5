// The HTML manual's address and the hand-over of addresses (the manual, the
// About window's mail links) to the system's default program.
#include <string>

#include "app/app.h"
#include "core/core.h"
#include "core/files.h"
#include "core/state.h"
#include "ui/ui.h"

namespace {

// In a file address "#" and "?" can only belong to a folder's or a file's
// name: left as they are, the browser would read what follows as a fragment
// or a query and open another place. A mail link keeps its "?subject=".
bool kept_unencoded(unsigned char byte, bool file_address) {
  if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9')) return true;
  if (file_address && (byte == '#' || byte == '?')) return false;
  for (const char* p = "-._~!#$&'()*,/:;=?@"; *p != '\0'; p++) {
    if (byte == static_cast<unsigned char>(*p)) return true;
  }
  return false;
}

// Every byte of the UTF-8 text outside the kept set becomes %XX, so what
// reaches the system is one address with no blank, quote, backslash, control
// character or non-ASCII byte in it.
std::string percent_encode(const std::string& text) {
  const bool file_address = text.starts_with("file:");
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (unsigned char byte : text) {
    if (kept_unencoded(byte, file_address)) {
      out += static_cast<char>(byte);
    } else {
      out += '%';
      out += hex[byte >> 4];
      out += hex[byte & 0x0F];
    }
  }
  return out;
}

}  // namespace

std::string manual_file_path() {
  // The program directory first, so that a copy beside the settings (and the
  // repository's own, from its root) wins; then the installation's.
  const std::string name = std::string("Kestrova_Manual10_") + (g_language == 2 ? "PT" : "EN") + ".html";
  const std::string here = g_program_dir + name;
  if (g_installed_data_dir.empty() || plain_file_size(here) > 0) return here;
  return g_installed_data_dir + name;
}

std::string build_manual_url() {
  std::string path = manual_file_path();
  if (path.empty() || path[0] != '/') path = "/" + path;
  return "file://" + path;
}

bool open_in_browser(const std::string& text) {
  // The encoded address goes straight to the system's opener, never through
  // a shell, so characters a shell would act on are only ever part of it.
  return ui_open_address(percent_encode(text));
}

void open_manual() {
  // The system's opener starts a browser for any file address, present or
  // not, so a missing manual is noticed here; an empty file or a folder is
  // no manual either.
  const std::string path = manual_file_path();
  if (plain_file_size(path) > 0 && open_in_browser(build_manual_url())) return;
  ui_message(translate("Warning!"), translate("The manual could not be opened:") + " " + path, UI_ICON_WARNING);
}
