#pragma once
// A bounded undo history shared by the editors: the undo and redo stacks, the memory bound, the
// document's file and the changed-since-saved mark. What a step holds and how it is applied is the editor's
// own; a step only tells its size (`std::size_t bytes() const`).
//
// Every step gets a serial number when it is pushed. The document's position is the serial of
// the newest step it holds (the last step undone past, once the history dropped it); the saved
// position is the one the file was last loaded or saved at. The document has changed exactly
// when the two differ, so undoing back to the saved state counts as unchanged.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>

#include "platform/box_style.h"

namespace platform {

// The question asked before unsaved changes would be discarded, naming the document's file (its
// name without the folders) or "untitled".
inline std::string unsaved_changes_text(const std::string& path) {
    const std::string name = path.empty() ? "untitled" : path.substr(path.find_last_of('/') + 1);
    return "Save the changes to " + name + "?";
}

// Whether the document may be discarded after `answer` to that question: Discard yes, Cancel no,
// Save only when `save` (the editor's own save) succeeded.
inline bool may_discard_after(UnsavedAnswer answer, const std::function<bool()>& save) {
    return answer == UnsavedAnswer::Discard || (answer == UnsavedAnswer::Save && save());
}

// The file a document was last loaded from or saved to, and in which form.
struct DocumentFile {
    std::string path;
    bool compressed = false;
};

// Kept by a step that makes the document another file's (New, Open, Load): the file and saved
// position the document had, exchanged with the present ones on undo and redo.
struct FileSwap {
    bool active = false;
    DocumentFile file;
    std::uint64_t savedPosition = 0;
};

template <class Step> class UndoHistory {
  public:
    struct Entry {
        Step step;
        std::uint64_t serial = 0;
        std::size_t bytes = 0; // step.bytes() when it last moved
    };

    explicit UndoHistory(std::size_t limitBytes) : limit_(limitBytes) {}

    // Adds a step after the present state. The redo steps are dropped; the oldest steps go while
    // the history is over its bound, the newest one always stays.
    void push(Step step) {
        for (const Entry& e : redo_)
            total_ -= e.bytes;
        redo_.clear();
        const std::size_t size = step.bytes();
        undo_.push_back({std::move(step), ++lastSerial_, size});
        total_ += size;
        trim();
        notify();
    }

    // Undoes or redoes one step: apply(step) exchanges what the step holds with the document and
    // returns false, changing nothing, when it cannot; the step then stays where it is. A step
    // that made the document another file's (its `fileSwap`) exchanges the file and saved
    // position too. False when there is no step or it could not be applied.
    template <class Apply> bool undo(Apply apply) { return move_step(undo_, redo_, apply); }
    template <class Apply> bool redo(Apply apply) { return move_step(redo_, undo_, apply); }

    std::uint64_t position() const { return undo_.empty() ? base_ : undo_.back().serial; }
    std::uint64_t saved_position() const { return saved_; }
    // Sets the saved position; a step that restores another file's state swaps it back.
    void set_saved_position(std::uint64_t position) {
        saved_ = position;
        notify();
    }
    bool changed() const { return position() != saved_; }

    // The file the document was last loaded from or saved to.
    const DocumentFile& file() const { return file_; }
    // The document now equals `file` on disk.
    void saved_as(const DocumentFile& file) {
        file_ = file;
        set_saved_position(position());
    }
    // What a step that makes the document another file's keeps: the present file and saved
    // position.
    FileSwap file_swap() const { return {true, file_, saved_}; }

    // Forgets every step; the present state is the saved state of `file`.
    void reset(const DocumentFile& file) {
        file_ = file;
        undo_.clear();
        redo_.clear();
        total_ = 0;
        base_ = ++lastSerial_;
        saved_ = base_;
        notify();
    }

    // Called with the new changed state whenever it flips.
    void set_listener(std::function<void(bool changed)> listener) {
        listener_ = std::move(listener);
        notified_ = changed();
        if (listener_) listener_(notified_);
    }

    std::size_t undo_count() const { return undo_.size(); }
    std::size_t redo_count() const { return redo_.size(); }
    std::size_t bytes() const { return total_; }
    std::size_t limit() const { return limit_; }

    // Drops the oldest undo steps, then the farthest redo steps, until the history fits its
    // bound; the step nearest the present state on each side is kept.
    void trim() {
        while (total_ > limit_ && undo_.size() > 1) {
            total_ -= undo_.front().bytes;
            base_ = undo_.front().serial;
            undo_.pop_front();
        }
        while (total_ > limit_ && redo_.size() > 1) {
            total_ -= redo_.front().bytes;
            redo_.pop_front();
        }
    }

  private:
    // Applies the step nearest the present state in `from` and moves it to `to`. Applying a step
    // exchanges what it holds, so its size may change when it moves.
    template <class Apply> bool move_step(std::deque<Entry>& from, std::deque<Entry>& to, Apply& apply) {
        if (from.empty() || !apply(from.back().step)) return false;
        exchange_file(from.back().step.fileSwap);
        to.push_back(std::move(from.back()));
        from.pop_back();
        Entry& moved = to.back();
        total_ -= moved.bytes;
        moved.bytes = moved.step.bytes();
        total_ += moved.bytes;
        trim();
        notify();
        return true;
    }

    // Exchanges the document's file and saved position with those `swap` keeps, if it is active.
    void exchange_file(FileSwap& swap) {
        if (!swap.active) return;
        std::swap(swap.file, file_);
        const std::uint64_t saved = saved_;
        set_saved_position(swap.savedPosition);
        swap.savedPosition = saved;
    }

    void notify() {
        const bool now = changed();
        if (now == notified_) return;
        notified_ = now;
        if (listener_) listener_(now);
    }

    std::size_t limit_;
    std::deque<Entry> undo_; // oldest first
    std::deque<Entry> redo_; // farthest first: back() is redone next
    std::size_t total_ = 0;  // bytes of every kept step
    std::uint64_t lastSerial_ = 0;
    std::uint64_t base_ = 0; // position of the document with every kept step undone
    std::uint64_t saved_ = 0;
    std::function<void(bool)> listener_;
    bool notified_ = false;
    DocumentFile file_;
};

} // namespace platform
