#pragma once
// Test doubles for the disc monitor: drives kept in memory and a window that records what it is asked.
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "discmon/disc_state.h"
#include "discmon/drive_access.h"
#include "discmon/ulmar_window.h"
#include "discmon/volume_info.h"

inline VolumeInfo make_volume(const char* name, std::uint32_t serial, const char* fs, std::uint32_t flags) {
    VolumeInfo info{};
    std::strncpy(info.volumeName, name, sizeof info.volumeName - 1);
    info.serialNumber = serial;
    info.fsFlags = flags;
    std::strncpy(info.fsName, fs, sizeof info.fsName - 1);
    return info;
}

class FakeDrives : public DriveAccess {
  public:
    std::set<char> optical;           // letters that are optical drives
    std::map<char, VolumeInfo> discs; // discs in drives; a drive without an entry is not ready
    std::map<char, unsigned> errors;  // drives that fail with this error (after scribbling on the info)
    std::vector<char> asked;          // letters asked for their type
    std::vector<std::pair<char, bool>> locks;
    int volume_reads = 0;

    unsigned drive_type(char letter) override {
        asked.push_back(letter);
        return optical.count(letter) ? DRIVE_CDROM : DRIVE_NO_ROOT_DIR;
    }
    unsigned volume_information(char letter, VolumeInfo& info) override {
        ++volume_reads;
        if (auto e = errors.find(letter); e != errors.end()) {
            std::memset(&info, 'x', sizeof info);
            return e->second;
        }
        auto d = discs.find(letter);
        if (d == discs.end()) return ERROR_NOT_READY;
        info = d->second;
        return ERROR_SUCCESS;
    }
    void lock_tray(char letter, bool prevent) override { locks.emplace_back(letter, prevent); }

    // What the drive's status would say: a disc entry is a readable disc.
    DiscState disc_state(char letter) const {
        return discs.count(letter) ? DiscState::present : DiscState::absent;
    }
};

class RecordingWindow : public UlmarWindow {
  public:
    struct Box {
        std::string text, caption;
        platform::BoxStyle style;
    };
    struct Posted {
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    std::vector<Box> boxes;
    std::vector<Posted> posted;
    std::vector<int> quits;

    platform::BoxAnswer message_box(const std::string& text, const std::string& caption,
                                    platform::BoxStyle style) override {
        boxes.push_back({text, caption, style});
        return platform::BoxAnswer::ok;
    }
    void post_message(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        posted.push_back({message, wParam, lParam});
    }
    void post_quit(int code) override { quits.push_back(code); }
};
