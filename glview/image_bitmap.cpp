#include "glview/image.h"

#include "bitmap/taviron.h"

namespace glview {

DisplayListSet* image_from_bitmap(ViewContext* context, Taviron* bitmap) {
    if (!view_has_context(context) || !bitmap) return nullptr;
    auto* set = new DisplayListSet{};
    set->base = bitmap->make_quad_list();
    set->count = 1;
    set->width = bitmap->get_width();
    set->height = bitmap->get_height();
    return set;
}

} // namespace glview
