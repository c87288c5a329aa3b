#pragma once
// File name helpers of the interchange module.

#include <string>

// The extension of path's last component, lower case without the dot; empty when it has none.
std::string InterchangeExtension(const std::string& path);

// The writer's format id for a lower-case extension ("obj" for our own OBJ writer); null when
// there is none.
const char* InterchangeWriterFor(const std::string& extension);
