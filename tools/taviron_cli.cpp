#include "tools/taviron_cli.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "bitmap/status_text.h"
#include "bitmap/taviron.h"
#include "platform/file_name.h"

namespace {

constexpr const char* kUsage = "usage: taviron info FILE\n"
                               "       taviron convert IN OUT [--compressed]\n";

// The kind of a file named on the command line, by its extension (any case).
enum class Reading { taviron, bmp, png };

Reading kind_of(const char* name) {
    if (platform::has_extension(name, ".bmp")) return Reading::bmp;
    if (platform::has_extension(name, ".png")) return Reading::png;
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
    if (status != TAV_OK) return fail(err, path, taviron_status_text(status, TavironAccess::Load));
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

int convert(const char* in, const char* out_path, bool compressed, std::ostream& err) {
    Taviron bitmap;
    const Reading what = kind_of(in);
    const std::int32_t read_status = read_input(bitmap, in, what);
    const TavironAccess reading = what == Reading::png   ? TavironAccess::ImportPng
                                  : what == Reading::bmp ? TavironAccess::Import
                                                         : TavironAccess::Load;
    if (read_status != TAV_OK) return fail(err, in, taviron_status_text(read_status, reading));
    // A BMP name for the output is written as a Taviron file, as before: there is no BMP writer.
    const bool png = kind_of(out_path) == Reading::png;
    const std::int32_t write_status = png          ? bitmap.save_png(out_path)
                                      : compressed ? bitmap.save_compressed(out_path)
                                                   : bitmap.save(out_path);
    if (write_status != TAV_OK)
        return fail(err, out_path,
                    taviron_status_text(write_status, png ? TavironAccess::SavePng : TavironAccess::Save));
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
