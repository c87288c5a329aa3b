#pragma once
// Scroll bars set the way the old platform set them: a range, a page and a position.

class QScrollBar;

namespace platform {

// The largest thumb position of a bar with positions min..max and a page of `page` positions
// (a negative page counts as larger than the range, leaving only `min`).
int max_thumb_position(int min, int max, int page);

// Sets `bar` to positions min..max with a page of `page`, the thumb at `position` (kept within reach).
// A bar with nothing to scroll (page larger than max - min) stays visible but disabled.
// Sends no signals.
void apply_scroll_settings(QScrollBar& bar, int min, int max, int page, int position);

} // namespace platform
