#pragma once
// The words for a bitmap status code, shared by the editors' boxes and the command-line tool.
#include <cstdint>
#include <string>

// What was being done when the status came back; some codes mean different things for each.
enum class TavironAccess { Load, Import, ImportPng, Save, SavePng };

// Why an operation failed with `status`: a lower-case phrase without a full stop, such as
// "it is not a Taviron file". A code without words of its own gives "error N".
std::string taviron_status_text(std::int32_t status, TavironAccess access);
