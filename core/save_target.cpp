// The target of a save chosen in the save dialog, shared by every file the
// program writes where the player points it.
#include "core/core.h"
#include "core/files.h"
#include "core/text.h"
#include "ui/ui.h"

namespace {

// path with `ending` appended unless its last characters, lower-cased,
// already are that ending.
std::string with_ending(const std::string& path, const std::string& ending) {
  if (lower_ascii(text_right(path, text_length(ending))) == ending) return path;
  return path + ending;
}

// The overwrite question for a target that exists and is not empty; true
// when the target may be written.
bool may_replace(const std::string& path) {
  if (plain_file_size(path) == 0) return true;
  return ui_message(translate("Warning!"), translate("File already exists! Overwrite it?"),
                    UI_MESSAGE_YES_NO | UI_ICON_WARNING) == UI_ANSWER_YES;
}

}  // namespace

std::string choose_save_target(const std::string& title, const std::string& filter, const std::string& ending) {
  std::string path = ui_save_file_dialog(title, "", filter, 0);
  if (path.empty()) return "";
  path = with_ending(path, ending);
  return may_replace(path) ? path : "";
}
