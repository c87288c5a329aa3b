#include "mode/sivra.h"

#include "mode/mode_codes.h"

std::int32_t Sivra::entry() {
    return MODE_NOT_IMPLEMENTED;
}
std::int32_t Sivra::close() {
    return MODE_NOT_IMPLEMENTED;
}
std::int32_t Sivra::evaluate(std::int32_t) {
    return MODE_NOT_IMPLEMENTED;
}
std::int32_t Sivra::render() {
    return MODE_NOT_IMPLEMENTED;
}
