#include "model/model_memory.h"

#include <cstdlib>

namespace {

void* DefaultAlloc(size_t count, size_t size) {
    return std::calloc(count, size);
}

ModelAllocFn currentAlloc = DefaultAlloc;

} // namespace

void* ModelAllocZeroed(size_t count, size_t size) {
    return currentAlloc(count, size);
}

void ModelFree(void* block) {
    std::free(block);
}

ModelAllocFn ModelSetAllocator(ModelAllocFn alloc) {
    ModelAllocFn previous = currentAlloc;
    currentAlloc = alloc ? alloc : DefaultAlloc;
    return previous;
}
