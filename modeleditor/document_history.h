#pragma once
// The model editor's undo history and changed-since-saved mark. A step stores only what its
// change touched, and exactly one copy of it: applying a step exchanges what it stores with
// what the model holds, so the same step undoes and then redoes. Recording a change:
// begin(), note what it will touch, make the change, commit().
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/model.h"
#include "platform/undo_history.h"

namespace editor {

enum class ModelList { Vertices, Faces, Dummies, Materials };

// The file a document was last loaded from or saved to; empty path: untitled.
using DocumentFile = platform::DocumentFile;

// One reversible part of a step.
class ModelAction {
  public:
    virtual ~ModelAction() = default;
    // Exchanges what the action stores with the model; `forward` is true for redo. Returns false
    // and leaves the model as it was when memory runs out.
    virtual bool apply(Model* model, bool forward) = 0;
    virtual std::size_t bytes() const = 0;
    // False when the model still equals what was stored (a dialog that was cancelled).
    virtual bool changes(const Model*) const { return true; }
};

struct ModelStep {
    std::vector<std::unique_ptr<ModelAction>> actions;
    // Set on steps that replace the document by another file's: exchanged on undo and redo.
    platform::FileSwap fileSwap;
    std::size_t bytes() const;
};

class DocumentHistory {
  public:
    static constexpr std::size_t kDefaultLimit = std::size_t(256) << 20;
    explicit DocumentHistory(std::size_t limitBytes = kDefaultLimit);
    ~DocumentHistory();
    DocumentHistory(const DocumentHistory&) = delete;
    DocumentHistory& operator=(const DocumentHistory&) = delete;

    // Starts a step; an open step (a drag) is committed first.
    void begin(const Model* model);
    bool open() const { return open_ != nullptr; }

    // Notes, before the change, that it replaces records [first, count - keptTail) of `list` by
    // any number of records, keeping the `first` records before them and the last `keptTail`.
    void note_range(const Model* model, ModelList list, std::int32_t first, std::int32_t keptTail);
    // Notes single records the change rewrites in place; indices out of range are left out.
    void note_records(const Model* model, ModelList list, std::vector<std::int32_t> indices);
    // Notes that the change lowers by one every face corner above `vertex`, which no face uses.
    void note_corner_shift(std::int32_t vertex);
    // Notes a change that is its own exact inverse (flipping every face, swapping Y and Z).
    void note_involution(void (*change)(Model*));
    // Notes that the change replaced the whole model; `previous` is taken over and left empty.
    void note_replaced(Model& previous);
    // Notes that the change makes the document another file's (New, Open): the present file
    // and saved mark go with the step.
    void note_file_swap();

    // Ends the step; a step that changed nothing is dropped. Returns true when one was kept.
    bool commit(const Model* model);
    // Forgets the open step, for a change that did not happen.
    void discard() { open_.reset(); }

    // Undoes or redoes one step (committing an open one first); false when there is none or
    // memory ran out, and the model is then unchanged.
    bool undo(Model* model);
    bool redo(Model* model);
    bool can_undo() const { return open_ || steps_.undo_count() > 0; }
    bool can_redo() const { return steps_.redo_count() > 0; }

    bool changed() const { return steps_.changed(); }
    // The document now equals `file` on disk.
    void saved_as(const DocumentFile& file) { steps_.saved_as(file); }
    const DocumentFile& file() const { return steps_.file(); }
    // Forgets every step; the present model is the saved state of `file`.
    void reset(const DocumentFile& file);
    void set_changed_listener(std::function<void(bool)> listener);

    std::size_t bytes() const { return steps_.bytes(); }
    std::size_t undo_count() const { return steps_.undo_count(); }
    std::size_t redo_count() const { return steps_.redo_count(); }

  private:
    bool apply(ModelStep& step, Model* model, bool forward);

    platform::UndoHistory<ModelStep> steps_;
    std::unique_ptr<ModelStep> open_;
};

// A deep copy of `source` into `target` (initialised, empty); false when memory runs out, and
// `target` is then empty again.
bool ModelCopy(const Model& source, Model& target);

} // namespace editor
