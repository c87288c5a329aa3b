#pragma once
// Zero-filled storage for the model lists and the file buffers. Every block is released
// with ModelFree. The allocator can be replaced, so that tests can make allocation fail.

#include <cstddef>

// Returns a zero-filled block of count * size bytes, or null (also when the product overflows).
// A replacement must return memory that std::free releases.
using ModelAllocFn = void* (*)(size_t count, size_t size);

// Allocates a zero-filled block through the current allocator; null on failure.
void* ModelAllocZeroed(size_t count, size_t size);
// Releases a block from ModelAllocZeroed; null is allowed.
void ModelFree(void* block);
// Installs alloc (null restores std::calloc) and returns the allocator it replaces.
ModelAllocFn ModelSetAllocator(ModelAllocFn alloc);
