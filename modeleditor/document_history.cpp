#include "modeleditor/document_history.h"

#include "model/model_memory.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace editor {
namespace {

// A list of the model seen as raw records.
struct ListRef {
    void** block;
    std::int32_t* count;
    std::size_t recordSize;
};

ListRef ListOf(Model* model, ModelList list) {
    switch (list) {
    case ModelList::Vertices:
        return {reinterpret_cast<void**>(&model->vertices), &model->vertexCount, sizeof(Vertex)};
    case ModelList::Faces:
        return {reinterpret_cast<void**>(&model->faces), &model->faceCount, sizeof(Face)};
    case ModelList::Dummies:
        return {reinterpret_cast<void**>(&model->dummies), &model->dummyCount, sizeof(Dummy)};
    case ModelList::Materials:
        break;
    }
    return {reinterpret_cast<void**>(&model->materials), &model->materialCount, sizeof(Material)};
}

const std::uint8_t* Bytes(const Model* model, ModelList list) {
    return static_cast<const std::uint8_t*>(*ListOf(const_cast<Model*>(model), list).block);
}

std::int32_t Count(const Model* model, ModelList list) {
    return std::max(0, *ListOf(const_cast<Model*>(model), list).count);
}

std::size_t ListBytes(const Model& m) {
    return std::size_t(std::max(0, m.vertexCount)) * sizeof(Vertex) +
           std::size_t(std::max(0, m.faceCount)) * sizeof(Face) +
           std::size_t(std::max(0, m.dummyCount)) * sizeof(Dummy) +
           std::size_t(std::max(0, m.materialCount)) * sizeof(Material);
}

// Records [first, count - tail) of a list; applying exchanges them with what the list holds
// there, growing or shrinking the list around the kept head and tail.
class RangeAction final : public ModelAction {
  public:
    RangeAction(const Model* model, ModelList list, std::int32_t first, std::int32_t tail)
        : list_(list), first_(first), tail_(tail) {
        const std::int32_t count = Count(model, list);
        const std::size_t size = ListOf(const_cast<Model*>(model), list).recordSize;
        const std::int32_t end = count - tail;
        if (end > first) {
            const std::uint8_t* data = Bytes(model, list);
            stored_.assign(data + std::size_t(first) * size, data + std::size_t(end) * size);
        }
    }

    bool apply(Model* model, bool) override {
        ListRef ref = ListOf(model, list_);
        const std::int32_t count = std::max(0, *ref.count);
        const std::int32_t end = count - tail_;
        if (end < first_) return false; // the list no longer has the shape the step was made on
        const std::size_t size = ref.recordSize;
        auto* data = static_cast<std::uint8_t*>(*ref.block);
        std::vector<std::uint8_t> present;
        if (end > first_) present.assign(data + std::size_t(first_) * size, data + std::size_t(end) * size);
        const std::size_t storedRecords = stored_.size() / size;
        const std::size_t newCount = std::size_t(first_) + storedRecords + std::size_t(tail_);
        if (newCount == std::size_t(count)) {
            if (!stored_.empty())
                std::memcpy(data + std::size_t(first_) * size, stored_.data(), stored_.size());
        } else {
            if (newCount > std::size_t(INT32_MAX)) return false;
            std::uint8_t* block = nullptr;
            if (newCount > 0) {
                block = static_cast<std::uint8_t*>(ModelAllocZeroed(newCount, size));
                if (!block) return false;
                if (first_ > 0) std::memcpy(block, data, std::size_t(first_) * size);
                if (!stored_.empty())
                    std::memcpy(block + std::size_t(first_) * size, stored_.data(), stored_.size());
                if (tail_ > 0)
                    std::memcpy(block + (std::size_t(first_) + storedRecords) * size,
                                data + std::size_t(end) * size, std::size_t(tail_) * size);
            }
            ModelFree(data);
            *ref.block = block;
            *ref.count = std::int32_t(newCount);
        }
        stored_ = std::move(present);
        return true;
    }

    std::size_t bytes() const override { return stored_.size() + sizeof(*this); }

    bool changes(const Model* model) const override {
        const std::int32_t end = Count(model, list_) - tail_;
        if (end < first_) return true;
        const std::size_t size = ListOf(const_cast<Model*>(model), list_).recordSize;
        if (std::size_t(end - first_) * size != stored_.size()) return true;
        return !stored_.empty() && std::memcmp(Bytes(model, list_) + std::size_t(first_) * size,
                                               stored_.data(), stored_.size()) != 0;
    }

  private:
    ModelList list_;
    std::int32_t first_;
    std::int32_t tail_;
    std::vector<std::uint8_t> stored_;
};

// Single records rewritten in place; applying swaps each with the stored copy.
class RecordsAction final : public ModelAction {
  public:
    RecordsAction(const Model* model, ModelList list, std::vector<std::int32_t> indices) : list_(list) {
        const std::int32_t count = Count(model, list);
        std::sort(indices.begin(), indices.end());
        indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
        std::erase_if(indices, [count](std::int32_t i) { return i < 0 || i >= count; });
        indices_ = std::move(indices);
        size_ = ListOf(const_cast<Model*>(model), list).recordSize;
        const std::uint8_t* data = Bytes(model, list);
        for (std::int32_t i : indices_)
            stored_.insert(stored_.end(), data + std::size_t(i) * size_, data + std::size_t(i + 1) * size_);
    }

    bool apply(Model* model, bool) override {
        ListRef ref = ListOf(model, list_);
        if (!indices_.empty() && indices_.back() >= *ref.count) return false;
        auto* data = static_cast<std::uint8_t*>(*ref.block);
        for (std::size_t k = 0; k < indices_.size(); ++k)
            std::swap_ranges(stored_.begin() + std::ptrdiff_t(k * size_),
                             stored_.begin() + std::ptrdiff_t((k + 1) * size_),
                             data + std::size_t(indices_[k]) * size_);
        return true;
    }

    std::size_t bytes() const override {
        return stored_.size() + indices_.size() * sizeof(std::int32_t) + sizeof(*this);
    }

    bool changes(const Model* model) const override {
        if (!indices_.empty() && indices_.back() >= Count(model, list_)) return true;
        const std::uint8_t* data = Bytes(model, list_);
        for (std::size_t k = 0; k < indices_.size(); ++k)
            if (std::memcmp(data + std::size_t(indices_[k]) * size_, stored_.data() + k * size_, size_) != 0)
                return true;
        return false;
    }

  private:
    ModelList list_;
    std::size_t size_ = 0;
    std::vector<std::int32_t> indices_;
    std::vector<std::uint8_t> stored_;
};

// Deleting a vertex no face uses lowers every corner above it; no face names it, so raising
// every corner at or above it again is the exact inverse.
class CornerShiftAction final : public ModelAction {
  public:
    explicit CornerShiftAction(std::int32_t vertex) : vertex_(vertex) {}
    bool apply(Model* model, bool forward) override {
        for (std::int32_t f = 0; f < model->faceCount; ++f) {
            Face& face = model->faces[f];
            for (std::int32_t* corner : {&face.a, &face.b, &face.c}) {
                if (forward && *corner > vertex_) --*corner;
                if (!forward && *corner >= vertex_) ++*corner;
            }
        }
        return true;
    }
    std::size_t bytes() const override { return sizeof(*this); }

  private:
    std::int32_t vertex_;
};

class InvolutionAction final : public ModelAction {
  public:
    explicit InvolutionAction(void (*change)(Model*)) : change_(change) {}
    bool apply(Model* model, bool) override {
        change_(model);
        return true;
    }
    std::size_t bytes() const override { return sizeof(*this); }

  private:
    void (*change_)(Model*);
};

// The whole other model; applying exchanges the two records, lists and header.
class ReplaceAction final : public ModelAction {
  public:
    explicit ReplaceAction(Model& previous) : stored_(previous) { ModelInit(&previous); }
    ~ReplaceAction() override { ModelRelease(&stored_); }
    bool apply(Model* model, bool) override {
        std::swap(*model, stored_);
        return true;
    }
    std::size_t bytes() const override { return ListBytes(stored_) + sizeof(*this); }

  private:
    Model stored_;
};

} // namespace

std::size_t ModelStep::bytes() const {
    std::size_t total = sizeof(*this) + fileSwap.file.path.size();
    for (const auto& action : actions)
        total += action->bytes();
    return total;
}

DocumentHistory::DocumentHistory(std::size_t limitBytes) : steps_(limitBytes) {}

DocumentHistory::~DocumentHistory() = default;

void DocumentHistory::begin(const Model* model) {
    if (open_) commit(model);
    open_ = std::make_unique<ModelStep>();
}

void DocumentHistory::note_range(const Model* model, ModelList list, std::int32_t first,
                                 std::int32_t keptTail) {
    if (!open_ || first < 0 || keptTail < 0 || first > Count(model, list) - keptTail) return;
    open_->actions.push_back(std::make_unique<RangeAction>(model, list, first, keptTail));
}

void DocumentHistory::note_records(const Model* model, ModelList list, std::vector<std::int32_t> indices) {
    if (!open_) return;
    open_->actions.push_back(std::make_unique<RecordsAction>(model, list, std::move(indices)));
}

void DocumentHistory::note_corner_shift(std::int32_t vertex) {
    if (open_) open_->actions.push_back(std::make_unique<CornerShiftAction>(vertex));
}

void DocumentHistory::note_involution(void (*change)(Model*)) {
    if (open_) open_->actions.push_back(std::make_unique<InvolutionAction>(change));
}

void DocumentHistory::note_replaced(Model& previous) {
    if (open_) open_->actions.push_back(std::make_unique<ReplaceAction>(previous));
}

void DocumentHistory::note_file_swap() {
    if (!open_) return;
    open_->fileSwap = steps_.file_swap();
}

bool DocumentHistory::commit(const Model* model) {
    if (!open_) return false;
    std::unique_ptr<ModelStep> step = std::move(open_);
    const bool changes =
        step->fileSwap.active || std::any_of(step->actions.begin(), step->actions.end(),
                                             [model](const auto& a) { return a->changes(model); });
    if (!changes) return false;
    steps_.push(std::move(*step));
    return true;
}

bool DocumentHistory::apply(ModelStep& step, Model* model, bool forward) {
    const std::size_t n = step.actions.size();
    for (std::size_t k = 0; k < n; ++k) {
        ModelAction& action = *step.actions[forward ? k : n - 1 - k];
        if (!action.apply(model, forward)) {
            // Put back what was already applied, in the other order.
            for (std::size_t j = k; j-- > 0;)
                step.actions[forward ? j : n - 1 - j]->apply(model, !forward);
            return false;
        }
    }
    return true;
}

bool DocumentHistory::undo(Model* model) {
    if (open_) commit(model);
    return steps_.undo([&](ModelStep& step) { return apply(step, model, false); });
}

bool DocumentHistory::redo(Model* model) {
    if (open_) commit(model);
    return steps_.redo([&](ModelStep& step) { return apply(step, model, true); });
}

void DocumentHistory::reset(const DocumentFile& file) {
    open_.reset();
    steps_.reset(file);
}

void DocumentHistory::set_changed_listener(std::function<void(bool)> listener) {
    steps_.set_listener(std::move(listener));
}

bool ModelCopy(const Model& source, Model& target) {
    ModelInit(&target);
    std::memcpy(&target, &source, kModelHeaderSize);
    target.vertexCount = target.faceCount = target.dummyCount = target.materialCount = 0;
    const bool ok = ResizeVertices(&target, std::max(0, source.vertexCount)) == MODEL_OK &&
                    ResizeFaces(&target, std::max(0, source.faceCount)) == MODEL_OK &&
                    ResizeDummies(&target, std::max(0, source.dummyCount)) == MODEL_OK &&
                    ResizeMaterials(&target, std::max(0, source.materialCount)) == MODEL_OK;
    if (!ok) {
        ModelRelease(&target);
        ModelInit(&target);
        return false;
    }
    if (target.vertexCount)
        std::memcpy(target.vertices, source.vertices, sizeof(Vertex) * std::size_t(target.vertexCount));
    if (target.faceCount)
        std::memcpy(target.faces, source.faces, sizeof(Face) * std::size_t(target.faceCount));
    if (target.dummyCount)
        std::memcpy(target.dummies, source.dummies, sizeof(Dummy) * std::size_t(target.dummyCount));
    if (target.materialCount)
        std::memcpy(target.materials, source.materials, sizeof(Material) * std::size_t(target.materialCount));
    return true;
}

} // namespace editor
