#include "model/asc_lines.h"

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

void AscLineCounter::Add(const char* data, size_t size) {
    // A line starts behind each '\n' and every 2047 bytes into a longer physical line; the
    // search for the next '\n' stops at such a forced start.
    size_t i = 0;
    while (i < size) {
        const uint64_t intoLine = column_ % kAscMaxLineLength;
        if (intoLine == 0) {
            contentLines_ += AscIsContentLine(std::string_view(data + i, 1));
        }
        const size_t toForcedStart = static_cast<size_t>(kAscMaxLineLength - intoLine);
        const size_t span = size - i < toForcedStart ? size - i : toForcedStart;
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

uint64_t AscContentLines(const char* data, size_t size) {
    AscLineCounter counter;
    counter.Add(data, size);
    return counter.contentLines();
}
