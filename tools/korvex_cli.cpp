#include "tools/korvex_cli.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "model/interchange.h"
#include "model/korvex_file.h"
#include "model/model.h"
#include "model/status_text.h"
#include "platform/file_name.h"
#include "tools/korvex_asc.h"
#include "tools/korvex_stream.h"

namespace {

constexpr const char* kUsage = "usage: korvex info FILE\n"
                               "       korvex convert IN OUT [--compressed] [--simple-asc]\n"
                               "       korvex formats\n";

int UsageError(FILE* err, const std::string& problem) {
    std::fprintf(err, "korvex: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

int Fail(FILE* err, const char* file, const std::string& reason) {
    std::fprintf(err, "korvex: %s: %s\n", file, reason.c_str());
    return 1;
}

// The compression word of a file's header, for the message about an unknown method.
int32_t CompressionWordOf(const char* path) {
    int32_t word = 0;
    if (FILE* f = std::fopen(path, "rb")) {
        if (std::fseek(f, 16, SEEK_SET) == 0 && std::fread(&word, sizeof word, 1, f) != 1) word = 0;
        std::fclose(f);
    }
    return word;
}

// The shared words for the status; a file the system refused is named by the system's own reason,
// an unknown compression method by its number.
std::string Reason(int32_t status, ModelAccess access, const char* path, int savedErrno) {
    if (status == MODEL_ERR_OPEN && savedErrno != 0) return std::strerror(savedErrno);
    std::string text = ModelStatusText(status, access);
    if (status == MODEL_ERR_COMPRESSION) text += " " + std::to_string(CompressionWordOf(path));
    return text;
}

// A model that releases its lists when the command ends.
struct OwnedModel {
    Model m;
    OwnedModel() { ModelInit(&m); }
    ~OwnedModel() { ModelRelease(&m); }
};

int Info(const std::vector<std::string>& args, FILE* out, FILE* err) {
    if (args.size() != 1) return UsageError(err, "info takes one FILE");
    const char* path = args[0].c_str();
    OwnedModel model;
    errno = 0;
    const int32_t status = ModelLoad(&model.m, path);
    if (status != MODEL_OK) return Fail(err, path, Reason(status, ModelAccess::Read, path, errno));
    const Model& m = model.m;
    std::fprintf(out, "file: %s\n", path);
    std::fprintf(out, "magic: %.6s\n", m.magic);
    std::fprintf(out, "compression: %d (%s)\n", m.compression, m.compression == 1 ? "zlib" : "plain");
    std::fprintf(out, "reserved: %u\n", static_cast<unsigned>(m.reserved));
    std::fprintf(out, "vertices: %d\n", m.vertexCount);
    std::fprintf(out, "faces: %d\n", m.faceCount);
    std::fprintf(out, "dummies: %d\n", m.dummyCount);
    std::fprintf(out, "materials: %d\n", m.materialCount);
    return 0;
}

// "korvex: FILE: reason" for the interchange operations, whose reason is already in words.
int InterchangeFail(FILE* err, const char* file, int32_t status, const std::string& reason) {
    if (status == MODEL_ERR_MEMORY) return Fail(err, file, ModelStatusText(status, ModelAccess::Import));
    return Fail(err, file, reason.empty() ? "error " + std::to_string(status) : reason);
}

int Formats(const std::vector<std::string>& args, FILE* out, FILE* err) {
    if (!args.empty()) return UsageError(err, "formats takes no arguments");
    std::fprintf(out, "reads: korvex kor asc");
    for (const std::string& extension : InterchangeReadExtensions())
        std::fprintf(out, " %s", extension.c_str());
    std::fprintf(out, "\nwrites: korvex kor obj gltf glb ply stl\n");
    return 0;
}

int Convert(const std::vector<std::string>& args, FILE* out, FILE* err) {
    std::vector<std::string> files;
    bool compressed = false, simpleAsc = false;
    for (const std::string& a : args) {
        if (a == "--compressed") {
            compressed = true;
        } else if (a == "--simple-asc") {
            simpleAsc = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return UsageError(err, "unknown option " + a);
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) return UsageError(err, "convert takes IN and OUT");
    const char* in = files[0].c_str();
    const char* outPath = files[1].c_str();

    // "-" as OUT is standard output, in the plain Korvex form.
    const bool toStdout = files[1] == "-";
    const bool foreignOut = !toStdout && InterchangeCanWrite(files[1]);
    if (compressed && (toStdout || foreignOut))
        return UsageError(err, "--compressed is for Korvex files only");

    OwnedModel model;
    errno = 0;
    if (platform::has_extension(files[0], ".asc")) {
        const int32_t status = KorvexImportAsc(&model.m, in, simpleAsc);
        if (status != MODEL_OK) return Fail(err, in, Reason(status, ModelAccess::Import, in, errno));
    } else if (InterchangeCanRead(files[0])) {
        std::string reason;
        const int32_t status = ImportModel(&model.m, in, &reason);
        if (status != MODEL_OK) return InterchangeFail(err, in, status, reason);
    } else {
        const int32_t status = ModelLoad(&model.m, in);
        if (status != MODEL_OK) return Fail(err, in, Reason(status, ModelAccess::Read, in, errno));
    }
    errno = 0;
    if (toStdout) {
        if (!KorvexWriteStream(model.m, out))
            return Fail(err, "-",
                        errno != 0 ? std::strerror(errno)
                                   : ModelStatusText(MODEL_ERR_OPEN, ModelAccess::Write));
        return 0;
    }
    if (foreignOut) {
        std::string reason;
        const int32_t status = ExportModel(&model.m, outPath, &reason);
        if (status != MODEL_OK) return InterchangeFail(err, outPath, status, reason);
        return 0;
    }
    const int32_t status = compressed ? ModelSaveCompressed(&model.m, outPath) : ModelSave(&model.m, outPath);
    if (status != MODEL_OK) return Fail(err, outPath, Reason(status, ModelAccess::Write, outPath, errno));
    return 0;
}

} // namespace

int RunKorvex(int argc, const char* const* argv, FILE* out, FILE* err) {
    if (argc < 2) return UsageError(err, "no command given");
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "info") return Info(args, out, err);
    if (command == "convert") return Convert(args, out, err);
    if (command == "formats") return Formats(args, out, err);
    return UsageError(err, "unknown command " + command);
}
