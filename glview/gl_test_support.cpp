#include "glview/gl_test_support.h"

#include <GL/gl.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace glview::testing {
namespace {

std::vector<std::uint8_t> lastImage;

} // namespace

void OffscreenView::SetUp() {
    view = view_create(&surface);
    // A GL test that cannot get its context fails; it never passes by skipping.
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->rc, nullptr) << "no offscreen GL context: " << surface.last_error();
    ASSERT_EQ(view_resize(view, std::uint32_t(surface.width()), std::uint32_t(surface.height())), VIEW_OK);
}

void OffscreenView::TearDown() {
    if (HasFailure() && view && view->rc) {
        // Keep the picture for the failing test as a binary PPM beside the test binary.
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string(info->test_suite_name()) + "." + info->name() + ".ppm";
        const auto image = surface.read_pixels();
        if (std::FILE* f = std::fopen(name.c_str(), "wb")) {
            std::fprintf(f, "P6\n%d %d\n255\n", surface.width(), surface.height());
            for (std::size_t i = 0; i + 3 < image.size(); i += 4)
                std::fwrite(&image[i], 1, 3, f);
            std::fclose(f);
            std::printf("picture saved to %s\n", (std::filesystem::current_path() / name).c_str());
        }
    }
    view_release(&surface, view);
    view = nullptr;
}

const std::vector<std::uint8_t>& OffscreenView::grab() {
    lastImage = surface.read_pixels();
    return lastImage;
}

Rgba OffscreenView::at(const std::vector<std::uint8_t>& image, int x, int y) const {
    if (x < 0 || y < 0 || x >= surface.width() || y >= surface.height()) return {};
    const std::size_t i = (std::size_t(y) * std::size_t(surface.width()) + std::size_t(x)) * 4;
    if (i + 3 >= image.size()) return {};
    return {image[i], image[i + 1], image[i + 2], image[i + 3]};
}

Rgba OffscreenView::pixel(int x, int y) {
    return at(grab(), x, y);
}

std::vector<float> gl_matrix(unsigned which) {
    std::vector<float> m(16);
    glGetFloatv(which, m.data());
    return m;
}

} // namespace glview::testing
