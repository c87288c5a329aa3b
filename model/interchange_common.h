#pragma once
// What the interchange reader, its mapping to a Korvex model and the writer share: how a failure
// carries its reason, and how material names are made to fit the Korvex model.

#include <cstdint>
#include <set>
#include <string>

// Sets *reason (when one is asked for) to text and returns status.
int32_t InterchangeFailure(std::string* reason, int32_t status, const std::string& text);

// MODEL_ERR_OPEN with the system's words for error; errno is left as error.
int32_t InterchangeErrnoFailure(std::string* reason, int error);

// The name ("Default" when empty) cut to 11 characters; a name already taken gets "_2", "_3", ...
// in its last places. The result is added to taken.
std::string UniqueMaterialName(std::string name, std::set<std::string>& taken);
