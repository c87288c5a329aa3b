#pragma once
// The plain Korvex form written to a stream: how `korvex convert IN -` hands a model to the
// program that started it.

#include <cstdio>

#include "model/model.h"

// Writes the 32-byte header (compression 0) and the four lists to out and flushes it.
// False when a write fails (errno tells why).
bool KorvexWriteStream(const Model& model, FILE* out);
