#include "model/asc_lines.h"

#include <string.h>

#include <cstring>

bool AscLineReader::Next(std::string_view& line) {
    for (;;) {
        const size_t available = static_cast<size_t>(end_ - cur_);
        if (available == 0) {
            if (eof_) return false;
            Refill();
            continue;
        }
        const size_t limit = available < kAscMaxLineLength ? available : kAscMaxLineLength;
        const char* newline = static_cast<const char*>(std::memchr(cur_, '\n', limit));
        if (newline != nullptr) {
            line = std::string_view(cur_, static_cast<size_t>(newline - cur_));
            cur_ = newline + 1;
            ++linesRead_;
            contentLinesRead_ += AscIsContentLine(line);
            return true;
        }
        if (available >= kAscMaxLineLength || eof_) {
            line = std::string_view(cur_, limit);
            cur_ += limit;
            ++linesRead_;
            contentLinesRead_ += AscIsContentLine(line);
            return true;
        }
        Refill();
    }
}

void AscLineReader::Refill() {
    // Keep the unfinished line at the front and fill the rest of the buffer behind it.
    const size_t kept = static_cast<size_t>(end_ - cur_);
    std::memmove(buffer_, cur_, kept);
    const size_t got = std::fread(buffer_ + kept, 1, capacity_ - kept, file_);
    cur_ = buffer_;
    end_ = buffer_ + kept + got;
    if (got == 0) {
        eof_ = true;
        failed_ = std::ferror(file_) != 0;
    }
}

namespace {

// Bytes looked at as one window; below the line length, so that within a window that holds a
// '\n' only the line running into it can be long.
constexpr size_t kCountWindow = 1024;

// Positions p in [1, size) where a '\n' at p - 1 is followed by a content character at p,
// 16 positions at a time in byte lanes.
uint64_t ContentStartsAfterNewlines(const char* data, size_t size) {
    typedef unsigned char Lanes __attribute__((vector_size(16)));
    const Lanes newline = {'\n', '\n', '\n', '\n', '\n', '\n', '\n', '\n',
                           '\n', '\n', '\n', '\n', '\n', '\n', '\n', '\n'};
    uint64_t found = 0;
    size_t p = 1;
    Lanes counts = {};
    static_assert(kCountWindow / 16 < 255, "lane counts must not overflow");
    for (; p + 16 <= size; p += 16) {
        Lanes before, at;
        std::memcpy(&before, data + p - 1, 16);
        std::memcpy(&at, data + p, 16);
        const Lanes digit = static_cast<Lanes>((at - '0') < 10);
        const Lanes letter = static_cast<Lanes>(((at | 0x20) - 'a') < 26);
        counts -= static_cast<Lanes>((before == newline) & (digit | letter)); // all ones, that is -1
    }
    for (int lane = 0; lane < 16; ++lane)
        found += counts[lane];
    for (; p < size; ++p)
        found += data[p - 1] == '\n' && AscIsContentLine(std::string_view(data + p, 1));
    return found;
}

} // namespace

void AscLineCounter::Add(const char* data, size_t size) {
    // A line starts behind each '\n' and every 2047 bytes into a longer physical line.
    size_t i = 0;
    while (i < size) {
        const size_t n = size - i < kCountWindow ? size - i : kCountWindow;
        const char* window = data + i;
        const auto* first = static_cast<const char*>(std::memchr(window, '\n', n));
        if (first != nullptr && column_ + static_cast<uint64_t>(first - window) < kAscMaxLineLength) {
            // No line of this window is long: lines start at its front (when a '\n' came just
            // before) and behind its newlines.
            if (column_ == 0) contentLines_ += AscIsContentLine(std::string_view(window, 1));
            contentLines_ += ContentStartsAfterNewlines(window, n);
            const auto* last = static_cast<const char*>(memrchr(window, '\n', n));
            column_ = static_cast<uint64_t>(window + n - (last + 1));
            i += n;
            continue;
        }
        // A long line: walk it, stopping at each forced start.
        const size_t end = i + n;
        while (i < end) {
            const uint64_t intoLine = column_ % kAscMaxLineLength;
            if (intoLine == 0) contentLines_ += AscIsContentLine(std::string_view(data + i, 1));
            const size_t toForcedStart = static_cast<size_t>(kAscMaxLineLength - intoLine);
            const size_t span = end - i < toForcedStart ? end - i : toForcedStart;
            const char* newline = static_cast<const char*>(std::memchr(data + i, '\n', span));
            if (newline != nullptr) {
                i = static_cast<size_t>(newline - data) + 1;
                column_ = 0;
            } else {
                i += span;
                column_ += span;
            }
        }
    }
}

uint64_t AscContentLines(const char* data, size_t size) {
    AscLineCounter counter;
    counter.Add(data, size);
    return counter.contentLines();
}
