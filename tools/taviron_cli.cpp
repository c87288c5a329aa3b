#include "tools/taviron_cli.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "bitmap/taviron.h"

namespace {

constexpr const char* kUsage = "usage: taviron info FILE\n"
                               "       taviron convert IN OUT [--compressed]\n";

// The kind of a file named on the command line, by its extension (any case).
enum class Reading { taviron, bmp, png };

std::string_view reason_reading(std::int32_t status, Reading what) {
    switch (status) {
    case TAV_ERR_FAILED:
        return "cannot open or read the file";
    case TAV_ERR_MAGIC:
        return what == Reading::bmp   ? "not a BMP file"
               : what == Reading::png ? "not a PNG file"
                                      : "not a Taviron file";
    case TAV_ERR_STORAGE:
        return "unknown storage (neither raw nor zlib)";
    case TAV_ERR_BUFFER:
        return "compressed pixels are longer than the image";
    case TAV_ERR_DATA:
        return what == Reading::png ? "damaged PNG data" : "compressed pixels are damaged";
    case TAV_ERR_SIZE:
        return "pixel data is cut short or of the wrong length";
    case TAV_ERR_MEMORY:
        return what == Reading::png ? "out of memory, or a chunk larger than the reader allows"
                                    : "out of memory";
    case TAV_ERR_ARGUMENT:
        if (what == Reading::bmp) return "BMP header that cannot be decoded";
        if (what == Reading::png) return "PNG header that cannot be decoded, or image size out of range";
        return "image size out of range";
    default:
        return "cannot be read";
    }
}

std::string_view reason_writing(std::int32_t status, Reading what) {
    switch (status) {
    case TAV_ERR_FAILED:
        return "cannot write the file";
    case TAV_ERR_MEMORY:
        return "out of memory";
    case TAV_ERR_ARGUMENT:
        return what == Reading::png ? "a PNG needs at least one pixel each way" : "image size out of range";
    default:
        return "compression failed";
    }
}

bool ends_with(std::string_view name, std::string_view extension) {
    if (name.size() < extension.size()) return false;
    const std::string_view tail = name.substr(name.size() - extension.size());
    for (std::size_t i = 0; i < tail.size(); ++i)
        if ((tail[i] | 0x20) != extension[i]) return false;
    return true;
}

Reading kind_of(std::string_view name) {
    if (ends_with(name, ".bmp")) return Reading::bmp;
    if (ends_with(name, ".png")) return Reading::png;
    return Reading::taviron;
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
    switch (what) {
    case Reading::bmp:
        return bitmap.import_bmp(path);
    case Reading::png:
        return bitmap.import_png(path);
    case Reading::taviron:
        break;
    }
    return bitmap.load(path);
}

std::int32_t write_output(Taviron& bitmap, const char* path, Reading what, bool compressed) {
    if (what == Reading::png) return bitmap.save_png(path);
    return compressed ? bitmap.save_compressed(path) : bitmap.save(path);
}

int convert(const char* in, const char* out_path, bool compressed, std::ostream& err) {
    Taviron bitmap;
    const Reading what = kind_of(in);
    const std::int32_t read_status = read_input(bitmap, in, what);
    if (read_status != TAV_OK) return fail(err, in, reason_reading(read_status, what));
    // A BMP name for the output is written as a Taviron file, as before: there is no BMP writer.
    const Reading target = kind_of(out_path) == Reading::png ? Reading::png : Reading::taviron;
    const std::int32_t write_status = write_output(bitmap, out_path, target, compressed);
    if (write_status != TAV_OK) return fail(err, out_path, reason_writing(write_status, target));
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
