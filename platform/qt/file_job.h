#pragma once
// Long file work off the window's thread: the job runs on a thread of its own while the window
// keeps repainting; after about half a second a progress box shows the bytes done of the total.
// User input waits until the job has finished, so the document cannot change meanwhile.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/file_progress.h"

class QWidget;

namespace platform {

// How long a job runs before the progress box comes up.
inline constexpr int kProgressDelayMs = 500;

// Runs `job` on another thread and returns its result once it has finished; meanwhile the event
// loop runs without user input, and `text` with the progress comes up in a box over `owner` when
// the job takes longer than kProgressDelayMs.
std::int32_t run_file_job(QWidget* owner, const std::string& text, const FileProgress& progress,
                          const std::function<std::int32_t()>& job);

} // namespace platform
