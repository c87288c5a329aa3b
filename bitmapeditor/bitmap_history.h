#pragma once
// Taviron Editor's undo history and changed-since-saved mark. A painting stroke is one step that
// keeps the old value of each pixel it touched; a command that replaces the bitmap ("Novy",
// Load, Import, "Size 32x32") keeps the previous bitmap whole. Applying a step exchanges what it
// keeps with what the editor holds, so the same step undoes and redoes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "bitmap/taviron.h"
#include "platform/undo_history.h"

namespace bmpedit {

// Commands without a menu item: the shell sends them for Ctrl+Z, Ctrl+Shift+Z or Ctrl+Y, Ctrl+S.
enum : int {
    IDM_UNDO = 121,
    IDM_REDO = 122,
    IDM_QUICK_SAVE = 123,
};

// The file the bitmap was last loaded from or saved to; empty path: untitled.
using BitmapFile = platform::DocumentFile;

struct BitmapStep {
    // A stroke: pixel indices and the other value of each.
    std::int32_t width = 0, height = 0;
    std::vector<std::uint32_t> indices;
    std::vector<std::uint32_t> values;
    // A replacement: the other bitmap.
    std::unique_ptr<Taviron> bitmap;
    // Set on steps that make the bitmap another file's: exchanged on undo and redo.
    platform::FileSwap fileSwap;
    std::size_t bytes() const;
};

class BitmapHistory {
  public:
    static constexpr std::size_t kDefaultLimit = std::size_t(256) << 20;
    explicit BitmapHistory(std::size_t limitBytes = kDefaultLimit);

    // Before pixel (x, y) is painted: the first touch of a stroke keeps its value. Pixels
    // outside the bitmap are ignored.
    void touch(const Taviron& bitmap, std::int32_t x, std::int32_t y);
    // Ends the open stroke as one step; a stroke that changed no pixel leaves none.
    void end_stroke(const Taviron* bitmap);
    bool stroke_open() const { return stroke_ != nullptr; }

    // After the bitmap was replaced: `previous` is what it was. With `newFile` the bitmap now is
    // `file`'s, unchanged.
    void replaced(std::unique_ptr<Taviron> previous, bool newFile, const BitmapFile& file = {});

    // Undo or redo one step on `bitmap` (ending an open stroke first); false when there is none,
    // and nothing changes then.
    bool undo(std::unique_ptr<Taviron>& bitmap);
    bool redo(std::unique_ptr<Taviron>& bitmap);

    bool changed() const { return steps_.changed(); }
    void saved_as(const BitmapFile& file) { steps_.saved_as(file); }
    const BitmapFile& file() const { return steps_.file(); }
    // Forgets every step; the present bitmap is the saved state of `file`.
    void reset(const BitmapFile& file);
    void set_changed_listener(std::function<void(bool)> listener) {
        steps_.set_listener(std::move(listener));
    }

    std::size_t bytes() const { return steps_.bytes(); }
    std::size_t undo_count() const { return steps_.undo_count(); }
    std::size_t redo_count() const { return steps_.redo_count(); }

  private:
    bool apply(BitmapStep& step, std::unique_ptr<Taviron>& bitmap);

    platform::UndoHistory<BitmapStep> steps_;
    std::unique_ptr<BitmapStep> stroke_;
    std::unordered_set<std::uint32_t> touched_;
};

// A copy of `source`'s header and pixels; null when memory runs out.
std::unique_ptr<Taviron> copy_bitmap(const Taviron& source);
// An empty record with `source`'s header words (storage and reserved), which imports keep.
std::unique_ptr<Taviron> empty_like(const Taviron& source);

} // namespace bmpedit
