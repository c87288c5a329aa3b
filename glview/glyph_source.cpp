#include "glview/glyph_source.h"

#include "glview/cp1252.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

namespace glview {
namespace {

// Size limits that keep an absurd request from asking FreeType for huge glyph images.
constexpr double kMaxEmPixels = 2048.0;
constexpr double kDefaultCellPixels = 16.0;
// Chord tolerance, in em, used when the caller asks for the finest approximation.
constexpr double kFinestDeviation = 0.002;
constexpr int kMaxChordsPerCurve = 64;

const char* generic_family(std::int32_t pitchAndFamily) {
    if ((pitchAndFamily & 0x3) == 1) return "monospace";
    switch (pitchAndFamily & 0xF0) {
    case 0x10:
        return "serif";
    case 0x30:
        return "monospace";
    case 0x40:
        return "cursive";
    case 0x50:
        return "fantasy";
    default:
        return "sans-serif";
    }
}

struct MatchedFace {
    std::string file;
    int index = 0;
    bool embolden = false;
    bool hasMatrix = false;
    FT_Matrix matrix{};
};

bool match_face(const GlyphRequest& request, MatchedFace& out) {
    if (!FcInit()) return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    if (!request.face.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.face.c_str()));
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(generic_family(request.pitchAndFamily)));
    const double weight = request.weight <= 0 ? 400.0 : std::clamp<double>(request.weight, 1.0, 1000.0);
    FcPatternAddDouble(pattern, FC_WEIGHT, FcWeightFromOpenTypeDouble(weight));
    FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* file = nullptr;
    bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (found) {
        out.file = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &out.index) != FcResultMatch) out.index = 0;
        FcBool embolden = FcFalse;
        if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch) out.embolden = embolden;
        FcMatrix* m = nullptr;
        if (FcPatternGetMatrix(match, FC_MATRIX, 0, &m) == FcResultMatch && m) {
            out.hasMatrix = m->xx != 1.0 || m->xy != 0.0 || m->yx != 0.0 || m->yy != 1.0;
            out.matrix.xx = static_cast<FT_Fixed>(m->xx * 65536.0);
            out.matrix.xy = static_cast<FT_Fixed>(m->xy * 65536.0);
            out.matrix.yx = static_cast<FT_Fixed>(m->yx * 65536.0);
            out.matrix.yy = static_cast<FT_Fixed>(m->yy * 65536.0);
        }
    }
    FcPatternDestroy(match);
    return found;
}

using Point = std::pair<double, double>;

struct Flattener {
    std::vector<std::vector<Point>>* contours;
    double scale;     // font units to em
    double tolerance; // em
    Point last{};

    Point em(const FT_Vector* v) const { return {v->x * scale, v->y * scale}; }
    void add(Point p) {
        auto& c = contours->back();
        if (c.empty() || c.back() != p) c.push_back(p);
        last = p;
    }
    static int chords(double secondDifference, double factor, double tolerance) {
        const double n = std::ceil(std::sqrt(factor * secondDifference / tolerance));
        if (!(n >= 1.0)) return 1;
        return static_cast<int>(std::min<double>(n, kMaxChordsPerCurve));
    }
};

int move_to(const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    f->contours->emplace_back();
    f->add(f->em(to));
    return 0;
}

int line_to(const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    f->add(f->em(to));
    return 0;
}

int conic_to(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    const Point p0 = f->last, c = f->em(control), p1 = f->em(to);
    // The chord error of a quadratic with n equal steps is |p0 - 2c + p1| / (4 n^2).
    const double dx = p0.first - 2 * c.first + p1.first, dy = p0.second - 2 * c.second + p1.second;
    const int n = Flattener::chords(std::hypot(dx, dy), 0.25, f->tolerance);
    for (int i = 1; i <= n; ++i) {
        const double t = double(i) / n, u = 1 - t;
        f->add({u * u * p0.first + 2 * u * t * c.first + t * t * p1.first,
                u * u * p0.second + 2 * u * t * c.second + t * t * p1.second});
    }
    return 0;
}

int cubic_to(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
    auto* f = static_cast<Flattener*>(user);
    const Point p0 = f->last, c1 = f->em(control1), c2 = f->em(control2), p1 = f->em(to);
    const double d1 = std::hypot(p0.first - 2 * c1.first + c2.first, p0.second - 2 * c1.second + c2.second);
    const double d2 = std::hypot(c1.first - 2 * c2.first + p1.first, c1.second - 2 * c2.second + p1.second);
    // |B''| <= 6 max(d1, d2); the chord error of a step h is at most |B''| h^2 / 8.
    const int n = Flattener::chords(std::max(d1, d2), 0.75, f->tolerance);
    for (int i = 1; i <= n; ++i) {
        const double t = double(i) / n, u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, cc = 3 * u * t * t, d = t * t * t;
        f->add({a * p0.first + b * c1.first + cc * c2.first + d * p1.first,
                a * p0.second + b * c1.second + cc * c2.second + d * p1.second});
    }
    return 0;
}

} // namespace

struct GlyphSource::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    MatchedFace matched;
    double emX = 0, emY = 0; // pixels per em

    FT_UInt glyph_index(std::uint8_t code) const {
        // A code without a glyph in the face gets the face's missing-glyph symbol (index 0).
        return FT_Get_Char_Index(face, cp1252_to_unicode(code));
    }
};

GlyphSource::GlyphSource(const GlyphRequest& request) : impl_(std::make_unique<Impl>()) {
    Impl& d = *impl_;
    if (!match_face(request, d.matched)) return;
    if (FT_Init_FreeType(&d.library) != 0) {
        d.library = nullptr;
        return;
    }
    if (FT_New_Face(d.library, d.matched.file.c_str(), d.matched.index, &d.face) != 0 ||
        !FT_IS_SCALABLE(d.face)) {
        if (d.face) FT_Done_Face(d.face);
        d.face = nullptr;
        return;
    }
    FT_Select_Charmap(d.face, FT_ENCODING_UNICODE);

    const double upem = d.face->units_per_EM > 0 ? d.face->units_per_EM : 2048.0;
    double cellUnits = double(d.face->ascender) - double(d.face->descender);
    double avgWidthUnits = 0;
    if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(d.face, FT_SFNT_OS2))) {
        if (os2->usWinAscent + os2->usWinDescent > 0)
            cellUnits = double(os2->usWinAscent) + double(os2->usWinDescent);
        avgWidthUnits = os2->xAvgCharWidth;
    }
    if (!(cellUnits > 0)) cellUnits = upem;
    // A positive height is the cell (ascent plus descent), a negative one the em itself.
    if (request.height > 0)
        d.emY = request.height * upem / cellUnits;
    else if (request.height < 0)
        d.emY = -double(request.height);
    else
        d.emY = kDefaultCellPixels * upem / cellUnits;
    d.emX = d.emY;
    if (request.width > 0)
        d.emX = avgWidthUnits > 0 ? request.width * upem / avgWidthUnits : double(request.width);
    d.emX = std::clamp(d.emX, 1.0, kMaxEmPixels);
    d.emY = std::clamp(d.emY, 1.0, kMaxEmPixels);
    FT_Set_Char_Size(d.face, FT_F26Dot6(std::lround(d.emX * 64)), FT_F26Dot6(std::lround(d.emY * 64)), 72,
                     72);
    if (d.matched.hasMatrix) FT_Set_Transform(d.face, &d.matched.matrix, nullptr);
}

GlyphSource::~GlyphSource() {
    if (impl_->face) FT_Done_Face(impl_->face);
    if (impl_->library) FT_Done_FreeType(impl_->library);
}

bool GlyphSource::ok() const {
    return impl_->face != nullptr;
}

const std::string& GlyphSource::file() const {
    return impl_->matched.file;
}

GlyphBitmap GlyphSource::bitmap(std::uint8_t code) {
    GlyphBitmap out;
    Impl& d = *impl_;
    if (!d.face) return out;
    if (FT_Load_Glyph(d.face, d.glyph_index(code), FT_LOAD_TARGET_MONO) != 0) return out;
    FT_GlyphSlot slot = d.face->glyph;
    if (d.matched.embolden) FT_GlyphSlot_Embolden(slot);
    out.advance = static_cast<std::int32_t>((slot->advance.x + 32) >> 6);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return out;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.width == 0 || bm.rows == 0 || !bm.buffer) return out;
    if (bm.pixel_mode != FT_PIXEL_MODE_MONO && bm.pixel_mode != FT_PIXEL_MODE_GRAY) return out;
    out.width = static_cast<std::int32_t>(bm.width);
    out.rows = static_cast<std::int32_t>(bm.rows);
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    const std::size_t rowBytes = (bm.width + 7) / 8;
    out.bits.assign(rowBytes * bm.rows, 0);
    const std::size_t stride = static_cast<std::size_t>(bm.pitch < 0 ? -bm.pitch : bm.pitch);
    for (unsigned r = 0; r < bm.rows; ++r) {
        // r counts from the top; a negative pitch stores the rows bottom first.
        const unsigned char* src = bm.buffer + stride * (bm.pitch < 0 ? bm.rows - 1 - r : r);
        std::uint8_t* dst = out.bits.data() + rowBytes * (bm.rows - 1 - r);
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
            std::copy(src, src + rowBytes, dst);
        } else {
            for (unsigned x = 0; x < bm.width; ++x)
                if (src[x] >= 128) dst[x / 8] |= std::uint8_t(0x80u >> (x % 8));
        }
    }
    return out;
}

std::int32_t GlyphSource::advance_pixels(std::uint8_t code) {
    Impl& d = *impl_;
    if (!d.face || FT_Load_Glyph(d.face, d.glyph_index(code), FT_LOAD_TARGET_MONO) != 0) return 0;
    if (d.matched.embolden) FT_GlyphSlot_Embolden(d.face->glyph);
    return static_cast<std::int32_t>((d.face->glyph->advance.x + 32) >> 6);
}

GlyphOutline GlyphSource::outline(std::uint8_t code, double deviation) {
    GlyphOutline out;
    Impl& d = *impl_;
    if (!d.face) return out;
    // The face's transform is set up for pixel glyphs; outlines in font units get the
    // matrix themselves below.
    if (FT_Load_Glyph(d.face, d.glyph_index(code),
                      FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP | FT_LOAD_IGNORE_TRANSFORM) !=
        0)
        return out;
    FT_GlyphSlot slot = d.face->glyph;
    const double scale = 1.0 / (d.face->units_per_EM > 0 ? d.face->units_per_EM : 2048.0);
    out.advance = slot->metrics.horiAdvance * scale;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return out;
    FT_Outline& outline = slot->outline;
    if (d.matched.embolden) FT_Outline_EmboldenXY(&outline, d.face->units_per_EM / 24, 0);
    if (d.matched.hasMatrix) FT_Outline_Transform(&outline, &d.matched.matrix);
    out.evenOdd = (outline.flags & FT_OUTLINE_EVEN_ODD_FILL) != 0;
    out.fillRight = FT_Outline_Get_Orientation(&outline) != FT_ORIENTATION_POSTSCRIPT;

    Flattener f{&out.contours, scale, deviation > 0 ? deviation : kFinestDeviation};
    FT_Outline_Funcs funcs{};
    funcs.move_to = move_to;
    funcs.line_to = line_to;
    funcs.conic_to = conic_to;
    funcs.cubic_to = cubic_to;
    if (FT_Outline_Decompose(&outline, &funcs, &f) != 0) out.contours.clear();
    for (auto& c : out.contours)
        if (c.size() > 1 && c.front() == c.back()) c.pop_back();
    std::erase_if(out.contours, [](const auto& c) { return c.size() < 3; });
    return out;
}

} // namespace glview
