#include "tools/taviron_cli.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "bitmap/taviron.h"

namespace {

constexpr const char* kUsage = "usage: taviron info FILE\n"
                               "       taviron convert IN OUT [--compressed]\n";

enum class Reading { taviron, bmp };

std::string_view reason_reading(std::int32_t status, Reading what) {
    switch (status) {
    case TAV_ERR_FAILED:
        return "cannot open or read the file";
    case TAV_ERR_MAGIC:
        return what == Reading::bmp ? "not a BMP file" : "not a Taviron file";
    case TAV_ERR_STORAGE:
        return "unknown storage (neither raw nor zlib)";
    case TAV_ERR_BUFFER:
        return "compressed pixels are longer than the image";
    case TAV_ERR_DATA:
        return "compressed pixels are damaged";
    case TAV_ERR_SIZE:
        return "pixel data is cut short or of the wrong length";
    case TAV_ERR_MEMORY:
        return "out of memory";
    case TAV_ERR_ARGUMENT:
        return what == Reading::bmp ? "BMP header that cannot be decoded" : "image size out of range";
    default:
        return "cannot be read";
    }
}

std::string_view reason_writing(std::int32_t status) {
    switch (status) {
    case TAV_ERR_FAILED:
        return "cannot write the file";
    case TAV_ERR_MEMORY:
        return "out of memory";
    case TAV_ERR_ARGUMENT:
        return "image size out of range";
    default:
        return "compression failed";
    }
}

bool ends_with_bmp(std::string_view name) {
    if (name.size() < 4) return false;
    const std::string_view tail = name.substr(name.size() - 4);
    return tail[0] == '.' && (tail[1] | 0x20) == 'b' && (tail[2] | 0x20) == 'm' && (tail[3] | 0x20) == 'p';
}

int fail(std::ostream& err, std::string_view file, std::string_view reason) {
    err << "taviron: " << file << ": " << reason << '\n';
    return 1;
}

int usage(std::ostream& err) {
    err << kUsage;
    return 2;
}

int info(const char* path, std::ostream& out, std::ostream& err) {
    Taviron bitmap;
    const std::int32_t status = bitmap.load(path);
    if (status != TAV_OK) return fail(err, path, reason_reading(status, Reading::taviron));
    out << "width " << bitmap.get_width() << '\n'
        << "height " << bitmap.get_height() << '\n'
        << "storage " << bitmap.storage << (bitmap.storage == 1 ? " (zlib)" : " (raw)") << '\n';
    return 0;
}

std::int32_t read_input(Taviron& bitmap, const char* path, Reading what) {
    if (what == Reading::taviron) return bitmap.load(path);
    return bitmap.import_bmp(path);
}

int convert(const char* in, const char* out_path, bool compressed, std::ostream& err) {
    Taviron bitmap;
    const Reading what = ends_with_bmp(in) ? Reading::bmp : Reading::taviron;
    const std::int32_t read_status = read_input(bitmap, in, what);
    if (read_status != TAV_OK) return fail(err, in, reason_reading(read_status, what));
    const std::int32_t write_status = compressed ? bitmap.save_compressed(out_path) : bitmap.save(out_path);
    if (write_status != TAV_OK) return fail(err, out_path, reason_writing(write_status));
    return 0;
}

} // namespace

int run_taviron(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    if (argc < 2) return usage(err);
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h") {
        out << kUsage;
        return 0;
    }
    if (command == "info") {
        if (argc != 3) return usage(err);
        return info(argv[2], out, err);
    }
    if (command == "convert") {
        bool compressed = false;
        const char* files[2] = {nullptr, nullptr};
        int count = 0;
        for (int i = 2; i < argc; ++i) {
            const std::string_view arg = argv[i];
            if (arg == "--compressed")
                compressed = true;
            else if (arg.size() > 1 && arg[0] == '-' && arg != "-")
                return usage(err);
            else if (count < 2)
                files[count++] = argv[i];
            else
                return usage(err);
        }
        if (count != 2) return usage(err);
        return convert(files[0], files[1], compressed, err);
    }
    return usage(err);
}
