#pragma once
// The editors' question before unsaved changes would be discarded, and the same question when
// the desktop session ends.
#include <functional>
#include <string>

#include "platform/box_style.h"

class QObject;
class QWidget;

namespace platform {

// A modal question box owned by `owner` with Save, Discard and Cancel (Save preselected);
// closing the box or Escape counts as Cancel.
UnsavedAnswer ask_unsaved_changes(QWidget* owner, const std::string& text, const std::string& caption);

// When the desktop session is about to end, `may_end` is asked while `context` lives:
// `can_ask` tells whether the session manager lets the program put up a question. When it
// returns false the program asks the session manager to cancel the end of the session.
void on_session_end(QObject* context, std::function<bool(bool can_ask)> may_end);

} // namespace platform
