#pragma once
// The `korvex` command line: "info FILE", "convert IN OUT [--compressed] [--simple-asc]" (formats
// by extension; OUT "-" writes the plain Korvex stream to out) and "formats".

#include <cstdio>

// Runs one command; prints results on out and one "korvex: FILE: reason" line on err.
// Returns the exit status: 0 success, 1 a file operation failed, 2 usage error.
int RunKorvex(int argc, const char* const* argv, FILE* out, FILE* err);
