#pragma once
// Opening files dropped on the Korvex Editor window, and where the program that reads foreign
// model formats for it lives.
#include <QString>

#include <string>

class QMimeData;

namespace editor {

// The local file a drag carries when it carries exactly one; empty otherwise.
QString dropped_file(const QMimeData* data);

// This build's `korvex`: the one beside the running program when there is one (an installed
// editor), else the one the build made.
std::string foreign_importer_program();

} // namespace editor
