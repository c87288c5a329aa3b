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
            return true;
        }
        if (available >= kAscMaxLineLength || eof_) {
            line = std::string_view(cur_, limit);
            cur_ += limit;
            ++linesRead_;
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
    // Newlines are counted 16 bytes at a time in byte lanes, summed before they can overflow.
    typedef unsigned char Lanes __attribute__((vector_size(16)));
    const Lanes newline = {'\n', '\n', '\n', '\n', '\n', '\n', '\n', '\n',
                           '\n', '\n', '\n', '\n', '\n', '\n', '\n', '\n'};
    size_t i = 0;
    while (i + 16 <= size) {
        Lanes counts = {};
        for (int round = 0; round < 255 && i + 16 <= size; ++round, i += 16) {
            Lanes chunk;
            std::memcpy(&chunk, data + i, 16);
            counts -= static_cast<Lanes>(chunk == newline); // a match is all ones, that is -1
        }
        for (int lane = 0; lane < 16; ++lane)
            newlines_ += counts[lane];
    }
    for (; i < size; ++i)
        newlines_ += data[i] == '\n';
    if (size > 0) last_ = data[size - 1];
    size_ += size;
}

uint64_t AscLineCounter::bound() const {
    // Every line ends at a '\n', after 2047 characters or at the end of the data, so the lines
    // number at most the newlines plus the forced breaks plus an unterminated last line.
    return newlines_ + size_ / kAscMaxLineLength + (last_ != '\n' ? 1 : 0);
}

uint64_t AscLineBound(const char* data, size_t size) {
    AscLineCounter counter;
    counter.Add(data, size);
    return counter.bound();
}
