#include "platform/qt/scroll_bar.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

namespace platform {

int max_thumb_position(int min, int max, int page) {
    if (max < min) return min;
    const long long range = static_cast<long long>(max) - min + 1;
    const long long effective = page < 0 ? range : std::min<long long>(page, range);
    return static_cast<int>(std::max<long long>(min, max - std::max<long long>(effective - 1, 0)));
}

void apply_scroll_settings(QScrollBar& bar, int min, int max, int page, int position) {
    const QSignalBlocker quiet(bar);
    const bool scrollable = page >= 0 && static_cast<long long>(page) <= static_cast<long long>(max) - min;
    const int last = max_thumb_position(min, max, page);
    bar.setRange(min, last);
    bar.setPageStep(std::max(page, 1));
    bar.setSingleStep(1);
    bar.setValue(std::clamp(position, min, last));
    bar.setEnabled(scrollable);
}

} // namespace platform
