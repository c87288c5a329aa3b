#include "discmon/ulmar_window_proc.h"

#include <cstdio>
#include <cstring>

#include "discmon/device_change.h"

namespace {

int bit(std::uint32_t flags, std::uint32_t mask) {
    return (flags & mask) != 0 ? 1 : 0;
}

// The text of a fixed-size field, up to its terminator or its end: a block copied in from outside
// need not be terminated, and the text must not run on into the next field.
template <std::size_t N> std::string field_text(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

} // namespace

std::string drives_text(const char* letters) {
    std::string text = "K dispozici jsou disky: ";
    text += letters;
    text += ".\n\nPro test je pouzita mechanika: ";
    // Without a drive the letter is the zero character: the text ends here.
    if (letters[0] != '\0') {
        text += letters[0];
        text += ':';
    }
    return text;
}

std::string inserted_text(const VolumeInfo& info) {
    char serial[16];
    std::snprintf(serial, sizeof serial, "%08X", static_cast<unsigned>(info.serialNumber));
    const std::uint32_t f = info.fsFlags;
    std::string text = "Vlozen disk.\n\nNazev: ";
    text += field_text(info.volumeName);
    text += "\nSeriove cislo: ";
    text += serial;
    text += "\nFile system: ";
    text += field_text(info.fsName);
    text += "\n\nVlajky:\n\tCase preserved: " + std::to_string(bit(f, FILE_CASE_PRESERVED_NAMES));
    text += "\n\tRozlisovani velikosti: " + std::to_string(bit(f, FILE_CASE_SENSITIVE_SEARCH));
    text += "\n\tUnicode: " + std::to_string(bit(f, FILE_UNICODE_ON_DISK));
    text += "\n\tACL: " + std::to_string(bit(f, FILE_PERSISTENT_ACLS));
    text += "\n\tKomprese souboru: " + std::to_string(bit(f, FILE_FILE_COMPRESSION));
    text += "\n\tKomprimovany disk: " + std::to_string(bit(f, FILE_VOLUME_IS_COMPRESSED));
    return text;
}

UlmarWindowProc::UlmarWindowProc(UlmarWindow& window, DiscMonitor& monitor)
    : window_(window), monitor_(monitor) {}

void UlmarWindowProc::show(const std::string& text) {
    window_.message_box(text, kUlmarTitle, platform::BoxStyle::ok);
}

std::intptr_t UlmarWindowProc::handle(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (monitor_.handle_message(message, wParam, lParam) == 1) return 1;
    switch (message) {
    case WM_CREATE:
        return on_create();
    case WM_USER:
        return on_user(wParam, lParam);
    case WM_DESTROY:
        return on_destroy();
    default:
        return 0;
    }
}

std::intptr_t UlmarWindowProc::on_create() {
    char letters[256] = {};
    monitor_.list_cd_drives(letters, 255);
    show(drives_text(letters));
    monitor_.select_drive(letters[0]);
    monitor_.read_volume();
    monitor_.set_notify(&window_, WM_USER);
    return 0;
}

std::intptr_t UlmarWindowProc::on_user(std::uintptr_t wParam, std::intptr_t) {
    if (wParam == 0) {
        VolumeInfo info;
        monitor_.get_current_info(&info);
        show(inserted_text(info));
    } else if (wParam == 1) {
        show(kRemovedText);
    }
    return 0;
}

std::intptr_t UlmarWindowProc::on_destroy() {
    window_.post_quit(0);
    return 0;
}
