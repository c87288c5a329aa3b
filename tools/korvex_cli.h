#pragma once
// The `korvex` command line: "info FILE" and "convert IN OUT [--compressed] [--simple-asc]".

#include <cstdio>

// Runs one command; prints results on out and one "korvex: FILE: reason" line on err.
// Returns the exit status: 0 success, 1 a file operation failed, 2 usage error.
int RunKorvex(int argc, const char* const* argv, FILE* out, FILE* err);
