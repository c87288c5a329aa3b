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

int convert(const char* in, const char* out_path, bool compressed, std::ostream& err) {
    Taviron bitmap;
    const TavironAccess reading =
        platform::has_extension(in, ".bmp") ? TavironAccess::Import : TavironAccess::Load;
    const std::int32_t read_status =
        reading == TavironAccess::Import ? bitmap.import_bmp(in) : bitmap.load(in);
    if (read_status != TAV_OK) return fail(err, in, taviron_status_text(read_status, reading));
    const std::int32_t write_status = compressed ? bitmap.save_compressed(out_path) : bitmap.save(out_path);
    if (write_status != TAV_OK)
        return fail(err, out_path, taviron_status_text(write_status, TavironAccess::Save));
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
