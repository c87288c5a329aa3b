#pragma once
// Taviron: one 32-bit RGBA bitmap in memory and its file format.
//
// Pixels: width x height, rows from top to bottom, no padding, 4 bytes per pixel in the order
// red, green, blue, alpha (255 opaque); pixel (x, y) starts at byte (y * width + x) * 4.
//
// Taviron file (all numbers little-endian 32-bit signed):
//   offset  0  8 bytes  magic "Taviron" and one NUL byte
//   offset  8  4 bytes  width
//   offset 12  4 bytes  height
//   offset 16  4 bytes  storage: 0 raw, 1 zlib
//   offset 20  4 bytes  reserved1  (the reserved words are carried between
//   offset 24  4 bytes  reserved2   record and file unchanged and have no
//   offset 28  4 bytes  reserved3   meaning)
//   offset 32           storage 0: width * height * 4 pixel bytes
//                       storage 1: one zlib stream (level 9) to the end of the file that
//                                  inflates to exactly width * height * 4 pixel bytes
// The first seven fields of the record are this header, byte for byte.
//
// Sizes: width and height are never negative and width * height * 4 always fits in 31 bits;
// readers and writers refuse anything else. Loads are transactional (a failed load leaves the
// record as it was), saves are atomic (a failed save leaves an existing file untouched).
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "bitmap/dib_image.h"

class Canvas;

// Status codes of every bitmap operation.
inline constexpr std::int32_t TAV_OK = 0;
inline constexpr std::int32_t TAV_ERR_FAILED =
    -1; // file cannot be opened or written; pixel outside; missing argument
inline constexpr std::int32_t TAV_ERR_MAGIC = -2;   // not a Taviron image (or not a BMP file)
inline constexpr std::int32_t TAV_ERR_STORAGE = -3; // storage word other than 0 or 1
inline constexpr std::int32_t TAV_ERR_BUFFER =
    -4; // zlib stream inflates to more bytes; resource shorter than a header
inline constexpr std::int32_t TAV_ERR_DATA = -5;   // zlib data corrupt
inline constexpr std::int32_t TAV_ERR_SIZE = -6;   // pixel data shorter or longer than width * height * 4
inline constexpr std::int32_t TAV_ERR_LEVEL = -7;  // zlib refused the compression parameters
inline constexpr std::int32_t TAV_ERR_MEMORY = -9; // an allocation failed
inline constexpr std::int32_t TAV_ERR_ARGUMENT =
    -10; // size, margin or radius out of range; resource not found

class Taviron {
  public:
    // The record's type name, "Taviron" and a NUL; compared with the first 8 bytes of every image read.
    char magic[8];
    std::int32_t width;
    std::int32_t height;
    // How the pixels are stored in a file: 0 raw, 1 zlib. In memory the pixels are always raw.
    std::int32_t storage;
    std::int32_t reserved1;
    std::int32_t reserved2;
    std::int32_t reserved3;
    // The record's own zero-filled block of width * height * 4 bytes, or null (always null when empty).
    std::uint8_t* pixels;

    // Empty record: magic set, every number 0, pixels null.
    Taviron();
    // Record of that size with a zero-filled block. Sizes that break the size rule, or a failed
    // allocation, give an empty record (0 x 0, pixels null) instead.
    Taviron(std::int32_t width, std::int32_t height);
    // Frees the pixel block.
    ~Taviron();
    Taviron(const Taviron&) = delete;
    Taviron& operator=(const Taviron&) = delete;

    std::int32_t get_width() const;
    std::int32_t get_height() const;

    // --- Taviron files and resources -------------------------------------------------------------

    // Reads a Taviron file. TAV_ERR_FAILED when it cannot be opened or read, otherwise as load_memory.
    std::int32_t load(const char* path);
    // Reads a Taviron file image held in memory. Refuses a wrong magic (TAV_ERR_MAGIC), a header cut
    // short or raw pixels shorter than the header says (TAV_ERR_SIZE), bad sizes (TAV_ERR_ARGUMENT),
    // storage other than 0/1 (TAV_ERR_STORAGE) and bad zlib data (BUFFER, DATA, SIZE, MEMORY).
    // On failure the record is unchanged; a same-sized image is read into the present block.
    std::int32_t load_memory(const std::uint8_t* data, std::size_t size);
    // Reads the resource of type "Taviron" and this name linked into the program.
    // TAV_ERR_ARGUMENT when there is none, otherwise as load_resource_memory.
    std::int32_t load_resource(const char* name);
    // Reads a Taviron resource image held in memory: as load_memory, except that data shorter
    // than the 32-byte header gives TAV_ERR_BUFFER.
    std::int32_t load_resource_memory(const std::uint8_t* data, std::size_t size);
    // Writes the header and the raw pixels atomically; on success storage becomes 0.
    // TAV_ERR_FAILED when the file cannot be created or fully written (the old file stays),
    // TAV_ERR_ARGUMENT for a record that breaks the size rule or lacks its pixels.
    std::int32_t save(const char* path);
    // As save, with the pixels as one zlib stream at level 9; on success storage becomes 1.
    std::int32_t save_compressed(const char* path);
    // Length in bytes of an open file; its position is kept. -1 when it cannot be told.
    static std::int64_t file_length(std::FILE* file);

    // --- BMP import and the platform's bitmaps ---------------------------------------------------

    // Reads a BMP file into the record, upright, with alpha 255 everywhere. TAV_ERR_FAILED when the
    // file cannot be opened or read, otherwise as import_bmp_memory. The record is unchanged on failure.
    std::int32_t import_bmp(const char* path);
    // Decodes a BMP file image held in memory. TAV_ERR_MAGIC when it is not a BMP, TAV_ERR_ARGUMENT
    // for headers that cannot be decoded, TAV_ERR_SIZE for pixel data cut short.
    std::int32_t import_bmp_memory(const std::uint8_t* data, std::size_t size);
    // Takes the pixels of a 32-bit bottom-up picture: upright, red, green, blue, alpha 255.
    // TAV_ERR_FAILED for a missing picture, TAV_ERR_ARGUMENT for bad sizes; record unchanged then.
    std::int32_t from_hbitmap(const DibImage& bitmap);

    // --- PNG files ---------------------------------------------------------------------------------

    // Reads a PNG file into the record as RGBA. TAV_ERR_FAILED when the file cannot be opened or
    // read, otherwise as import_png_memory. The record is unchanged on failure.
    std::int32_t import_png(const char* path);
    // Decodes a PNG image held in memory, every colour type and bit depth (16-bit samples keep their
    // high byte, tRNS becomes alpha, no gamma applied). TAV_ERR_MAGIC when it is not a PNG,
    // TAV_ERR_ARGUMENT for a header that cannot be decoded or a size breaking the size rule,
    // TAV_ERR_SIZE for data cut short, TAV_ERR_DATA for damaged data, TAV_ERR_MEMORY for an
    // allocation that failed or a chunk over the reader's limits. The record is unchanged on failure.
    std::int32_t import_png_memory(const std::uint8_t* data, std::size_t size);
    // Writes the record as an 8-bit RGBA PNG atomically; the record is not changed.
    // TAV_ERR_ARGUMENT for an empty record or one that breaks the size rule or lacks its pixels,
    // TAV_ERR_MEMORY when encoding runs out of memory, TAV_ERR_FAILED when encoding or writing
    // fails (the old file stays).
    std::int32_t save_png(const char* path) const;

    // --- OpenGL textures (target bitmap_gl; need a current GL context) ---------------------------

    // Uploads the bitmap into the top-left corner of a new texture padded to 16..1024 each way
    // (transparent black elsewhere), linear filtering; resets the current matrix to identity.
    // Returns the texture name, or 0 for an empty bitmap or one wider or taller than 1024.
    std::uint32_t make_texture();
    // Uploads the bitmap as a new mipmapped texture scaled to powers of two, linear filtering.
    // Returns the texture name, or 0 for an empty bitmap or one wider or taller than 1024.
    std::uint32_t make_texture_mipmapped();
    // Makes a display list that draws the bitmap as an alpha-blended textured unit quad (vertex (0, 0)
    // shows the top-left pixel) and leaves the GL state as it found it; resets the current matrix.
    // Returns the list name, or 0 for an empty bitmap or one wider or taller than 1024.
    std::uint32_t make_quad_list();

    // --- Pixel access ----------------------------------------------------------------------------

    // Sets pixel (x, y) from the low bytes of the four channels. TAV_ERR_FAILED when outside.
    std::int32_t set_pixel(std::int32_t x, std::int32_t y, std::int32_t red, std::int32_t green,
                           std::int32_t blue, std::int32_t alpha);
    // Pixel (x, y) packed as red | green << 8 | blue << 16 | alpha << 24; 0 when outside.
    std::uint32_t get_pixel(std::int32_t x, std::int32_t y) const;
    // Pixel (x, y) as a colour value red | green << 8 | blue << 16; 0 when outside.
    std::uint32_t get_rgb(std::int32_t x, std::int32_t y) const;
    // Alpha of pixel (x, y), 0 to 255; -1 when outside.
    std::int32_t get_alpha(std::int32_t x, std::int32_t y) const;
    // Fills the record from count pixels in rows of row_width (the last row counted whole, so the
    // source must hold whole rows). TAV_ERR_FAILED for a null source or a zero count or width.
    std::int32_t set_data(const void* source, std::int32_t count, std::int32_t row_width);

    // --- Drawing onto a canvas -------------------------------------------------------------------

    // Blends the bitmap pixel by pixel at (x, y) by its alpha times opacity (clamped to [-1, 1]);
    // a negative opacity blends by its magnitude against the canvas's face colour. TAV_OK.
    std::int32_t blend_to_dc(Canvas& canvas, std::int32_t x, std::int32_t y, float opacity);
    // Copies the bitmap's colours (alpha ignored) to the canvas at (x, y). TAV_OK.
    std::int32_t draw_to_dc(Canvas& canvas, std::int32_t x, std::int32_t y);

    // --- Whole-image operations (new block; record unchanged on failure) ------------------------

    // Box blur over the (2r + 1)^2 square, edges averaging the pixels inside. r < 1: TAV_ERR_ARGUMENT.
    std::int32_t blur(std::int32_t radius);
    // Blurs every step-th row along the row (outside counts as 0), clears the others.
    // radius < 1 or step < 1: TAV_ERR_ARGUMENT.
    std::int32_t blur_rows(std::int32_t radius, std::int32_t step);
    // Multiplies all four channels by factor, capped at 255. factor <= 0: TAV_ERR_ARGUMENT.
    std::int32_t scale_channels(float factor);
    // Surrounds the bitmap with margins of colour (packed like get_pixel). Negative margins or
    // a result breaking the size rule: TAV_ERR_ARGUMENT.
    std::int32_t add_border(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                            std::uint32_t colour);
    // Cuts the margins away. Negative margins or less than one pixel left either way: TAV_ERR_ARGUMENT.
    std::int32_t crop(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
    // Resamples to the new size by area averaging, alpha like the colours.
    // New width or height below 1, or a size breaking the size rule: TAV_ERR_ARGUMENT.
    std::int32_t resize(std::int32_t new_width, std::int32_t new_height);

    // --- Helpers for the operations ------------------------------------------------------------

    // True when width and height are not negative and width * height * 4 fits in 31 bits.
    static bool size_fits(std::int64_t width, std::int64_t height);
    // A zero-filled block of width * height * 4 bytes (null for an empty size); throws nothing.
    // Sets ok to false, returning null, when the size breaks the size rule or the allocation fails.
    static std::uint8_t* allocate_pixels(std::int32_t width, std::int32_t height, bool& ok);
    // Frees the present block and takes block (from allocate_pixels) with its size.
    void adopt_pixels(std::uint8_t* block, std::int32_t width, std::int32_t height);
};

static_assert(sizeof(std::int32_t) == 4);
static_assert(offsetof(Taviron, magic) == 0);
static_assert(offsetof(Taviron, width) == 8);
static_assert(offsetof(Taviron, height) == 12);
static_assert(offsetof(Taviron, storage) == 16);
static_assert(offsetof(Taviron, reserved1) == 20);
static_assert(offsetof(Taviron, reserved2) == 24);
static_assert(offsetof(Taviron, reserved3) == 28);
static_assert(offsetof(Taviron, pixels) == 32);

// Size in bytes of the file header, the record's first seven fields.
inline constexpr std::size_t TAV_HEADER_SIZE = 32;
// Largest bitmap side the texture operations take.
inline constexpr std::int32_t TAV_MAX_TEXTURE_SIDE = 1024;
