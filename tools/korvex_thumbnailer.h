#pragma once
// Thumbnails of Korvex models: the model drawn offscreen from a fixed three-quarter view, framed
// by its bounds, lit with its materials, on a transparent background.
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/model.h"

class Taviron;

// Largest body (vertex, face, dummy and material records) of a model that a thumbnail is made of.
inline constexpr std::uint64_t kKorvexThumbnailMaxBody = 256ull << 20;
// Most faces drawn: a model with more is drawn from an evenly spread subset of this many, which
// keeps the software renderer within about two seconds.
inline constexpr std::int32_t kKorvexThumbnailMaxFaces = 150000;

// Reads a Korvex file image held in memory into model (initialised by the caller). Refuses, with
// reason set, whatever the Korvex reader refuses and a body over kKorvexThumbnailMaxBody (checked
// on the header before anything is allocated or inflated).
bool korvex_thumbnail_load(const std::uint8_t* data, std::size_t size, Model& model, std::string& reason);

// Draws model into a side x side RGBA picture, alpha 0 where no face covers. Needs a current GL
// context (it draws into a framebuffer of its own, not the context's drawable). Faces whose
// corners are outside the vertex list or not finite are left out. Refuses, with reason set and
// picture unchanged, a model with nothing to draw and a framebuffer that cannot be made.
bool korvex_thumbnail_draw(const Model& model, std::int32_t side, Taviron& picture, std::string& reason);

// korvex_thumbnail_load, then korvex_thumbnail_draw on an offscreen context made for the call.
bool korvex_thumbnail(const std::uint8_t* data, std::size_t size, std::int32_t side, Taviron& picture,
                      std::string& reason);
