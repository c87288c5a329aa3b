#include "bitmap/taviron.h"

#include <GL/gl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/egl_surface.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Every test draws into its own offscreen context; failing to get one is a failure, not a skip.
class TavironGl : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(surface_.create_context()) << surface_.last_error();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    // A 64 x 64 pixel projection with y pointing down; the unit quad scaled to sx x sy pixels.
    static void pixel_projection(float sx, float sy) {
        glViewport(0, 0, 64, 64);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 64, 64, 0, 1, -1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glScalef(sx, sy, 1);
    }
    platform::EglSurface surface_{64, 64};
};

void fill_distinct(Taviron& bitmap) {
    for (std::int32_t y = 0; y < bitmap.height; ++y)
        for (std::int32_t x = 0; x < bitmap.width; ++x) {
            std::uint8_t* p = bitmap.pixels + (static_cast<std::size_t>(y) * bitmap.width + x) * 4;
            p[0] = static_cast<std::uint8_t>(x * 7 + 1);
            p[1] = static_cast<std::uint8_t>(y * 11 + 2);
            p[2] = static_cast<std::uint8_t>(x + y);
            p[3] = 255;
        }
}

GLint level_parameter(GLint level, GLenum name) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

GLint texture_parameter(GLenum name) {
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

Bytes texture_image(GLint level) {
    Bytes image(static_cast<std::size_t>(level_parameter(level, GL_TEXTURE_WIDTH)) *
                level_parameter(level, GL_TEXTURE_HEIGHT) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
    return image;
}

void expect_identity(GLenum which) {
    GLfloat m[16];
    glGetFloatv(which, m);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(m[i], (i % 5 == 0) ? 1.0f : 0.0f) << "element " << i;
}

TEST_F(TavironGl, TextureIsPaddedWithTheBitmapInTheTopLeftCorner) {
    Taviron bitmap(20, 10);
    fill_distinct(bitmap);
    const GLuint texture = bitmap.make_texture();
    ASSERT_NE(texture, 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);
    EXPECT_EQ(level_parameter(0, GL_TEXTURE_WIDTH), 32);
    EXPECT_EQ(level_parameter(0, GL_TEXTURE_HEIGHT), 16);
    EXPECT_EQ(texture_parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(texture_parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);

    const Bytes image = texture_image(0);
    ASSERT_EQ(image.size(), 32u * 16u * 4u);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) {
            const std::uint8_t* texel = image.data() + (y * 32 + x) * 4;
            if (x < 20 && y < 10) {
                const std::uint8_t* pixel = bitmap.pixels + (y * 20 + x) * 4;
                ASSERT_EQ(std::memcmp(texel, pixel, 4), 0) << x << ", " << y;
            } else {
                ASSERT_EQ(texel[0] | texel[1] | texel[2] | texel[3], 0) << "padding at " << x << ", " << y;
            }
        }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TavironGl, PaddedSizesStepThroughPowersOfTwoUpTo1024) {
    struct Case {
        std::int32_t w, h, tw, th;
    };
    for (const Case& c : {Case{1, 1, 16, 16}, Case{16, 16, 16, 16}, Case{17, 300, 32, 512},
                          Case{600, 600, 1024, 1024}, Case{513, 2, 1024, 16}, Case{1024, 1024, 1024, 1024}}) {
        Taviron bitmap(c.w, c.h);
        ASSERT_NE(bitmap.pixels, nullptr);
        const GLuint texture = bitmap.make_texture();
        ASSERT_NE(texture, 0u) << c.w << " x " << c.h;
        EXPECT_EQ(level_parameter(0, GL_TEXTURE_WIDTH), c.tw) << c.w << " x " << c.h;
        EXPECT_EQ(level_parameter(0, GL_TEXTURE_HEIGHT), c.th) << c.w << " x " << c.h;
        glDeleteTextures(1, &texture);
    }
}

TEST_F(TavironGl, OversizedAndEmptyBitmapsAreRefused) {
    GLuint probe = 0;
    glGenTextures(1, &probe); // the next free name, to see that refusals generate nothing
    for (auto [w, h] :
         {std::pair{1025, 1}, std::pair{1, 1025}, std::pair{2000, 2000}, std::pair{0, 0}, std::pair{0, 5}}) {
        Taviron bitmap(w, h);
        EXPECT_EQ(bitmap.make_texture(), 0u) << w << " x " << h;
        EXPECT_EQ(bitmap.make_texture_mipmapped(), 0u) << w << " x " << h;
        EXPECT_EQ(bitmap.make_quad_list(), 0u) << w << " x " << h;
    }
    GLuint next = 0;
    glGenTextures(1, &next);
    EXPECT_EQ(next, probe + 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TavironGl, TextureAndQuadListResetTheCurrentMatrix) {
    Taviron bitmap(4, 4);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1, 2, 3);
    ASSERT_NE(bitmap.make_texture(), 0u);
    expect_identity(GL_MODELVIEW_MATRIX);

    // Whatever matrix is current is the one reset; the others stay.
    glLoadIdentity();
    glScalef(2, 2, 2);
    glMatrixMode(GL_PROJECTION);
    glRotatef(30, 0, 0, 1);
    ASSERT_NE(bitmap.make_quad_list(), 0u);
    expect_identity(GL_PROJECTION_MATRIX);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_FLOAT_EQ(modelview[0], 2.0f);
    glMatrixMode(GL_MODELVIEW);
}

TEST_F(TavironGl, MipmappedTextureCoversTheBitmapExactly) {
    Taviron bitmap(16, 8);
    fill_distinct(bitmap);
    glTranslatef(5, 0, 0);
    const GLuint texture = bitmap.make_texture_mipmapped();
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(texture_parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(texture_parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(level_parameter(0, GL_TEXTURE_WIDTH), 16);
    EXPECT_EQ(level_parameter(0, GL_TEXTURE_HEIGHT), 8);
    EXPECT_EQ(texture_image(0), Bytes(bitmap.pixels, bitmap.pixels + 16 * 8 * 4));
    EXPECT_EQ(level_parameter(1, GL_TEXTURE_WIDTH), 8);
    EXPECT_EQ(level_parameter(4, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(level_parameter(4, GL_TEXTURE_HEIGHT), 1);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_FLOAT_EQ(modelview[12], 5.0f); // no matrix reset for the mipmapped texture
}

TEST_F(TavironGl, MipmappedTextureScalesOtherSizesToPowersOfTwo) {
    Taviron bitmap(20, 10);
    fill_distinct(bitmap);
    ASSERT_NE(bitmap.make_texture_mipmapped(), 0u);
    for (GLenum side : {GL_TEXTURE_WIDTH, GL_TEXTURE_HEIGHT}) {
        const GLint size = level_parameter(0, side);
        EXPECT_GT(size, 0);
        EXPECT_EQ(size & (size - 1), 0) << size; // a power of two
    }
    // The chain goes down to 1 x 1, so the mipmapped minification filter samples a complete texture.
    GLint level = 0;
    while (level < 12 &&
           (level_parameter(level, GL_TEXTURE_WIDTH) > 1 || level_parameter(level, GL_TEXTURE_HEIGHT) > 1))
        ++level;
    EXPECT_EQ(level_parameter(level, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(level_parameter(level, GL_TEXTURE_HEIGHT), 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The quad's vertices as the pipeline sees them: feedback mode reports each vertex with its
// window position and texture coordinates.
struct FedVertex {
    float x, y, s, t;
};

std::vector<FedVertex> feedback_of(GLuint list) {
    std::vector<GLfloat> buffer(256);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    const GLint count = glRenderMode(GL_RENDER);
    std::vector<FedVertex> vertices;
    // GL_3D_COLOR_TEXTURE in RGBA mode: x, y, z, r, g, b, a, s, t, r, q per vertex.
    for (GLint i = 0; i < count;) {
        const auto token = static_cast<GLint>(buffer[i++]);
        if (token != GL_POLYGON_TOKEN) break;
        const auto n = static_cast<GLint>(buffer[i++]);
        for (GLint v = 0; v < n; ++v, i += 11)
            vertices.push_back({buffer[i], buffer[i + 1], buffer[i + 7], buffer[i + 8]});
    }
    return vertices;
}

TEST_F(TavironGl, QuadListMapsThePaddedTextureOntoTheUnitSquare) {
    Taviron bitmap(20, 10);
    fill_distinct(bitmap);
    const GLuint list = bitmap.make_quad_list();
    ASSERT_NE(list, 0u);
    EXPECT_TRUE(glIsList(list));

    pixel_projection(20, 10);

    const auto vertices = feedback_of(list);
    // Triangulation may split the quad; every corner must carry its own coordinates.
    auto has = [&](float s, float t) {
        for (const FedVertex& v : vertices)
            if (v.s == s && v.t == t) return true;
        return false;
    };
    ASSERT_GE(vertices.size(), 4u);
    EXPECT_TRUE(has(0.0f, 0.0f));
    EXPECT_TRUE(has(0.0f, 0.625f));
    EXPECT_TRUE(has(0.625f, 0.625f));
    EXPECT_TRUE(has(0.625f, 0.0f));
    for (const FedVertex& v : vertices) {
        // Window y grows upwards: vertex (0, 0) is the top-left corner of the 64 x 64 surface.
        const bool left = v.x == 0.0f;
        const bool top = v.y == 64.0f;
        EXPECT_TRUE(left || v.x == 20.0f) << v.x;
        EXPECT_TRUE(top || v.y == 54.0f) << v.y;
        EXPECT_EQ(v.s, left ? 0.0f : 0.625f);
        EXPECT_EQ(v.t, top ? 0.0f : 0.625f);
    }

    // Drawn for real, each window pixel of the quad shows its bitmap pixel, upright.
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glCallList(list);
    surface_.swap_buffers();
    const Bytes frame = surface_.read_pixels();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const std::uint8_t* got = frame.data() + (y * 64 + x) * 4;
            const std::uint8_t* want = bitmap.pixels + (y * 20 + x) * 4;
            for (int c = 0; c < 3; ++c)
                ASSERT_NEAR(got[c], want[c], 1) << "pixel " << x << ", " << y << " channel " << c;
        }
    const std::uint8_t* outside = frame.data() + (30 * 64 + 30) * 4;
    EXPECT_EQ(outside[0] | outside[1] | outside[2], 0);
}

TEST_F(TavironGl, QuadListRestoresTheStateItChanges) {
    Taviron bitmap(2, 2);
    const GLuint list = bitmap.make_quad_list();
    ASSERT_NE(list, 0u);

    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glBlendFunc(GL_ONE, GL_ZERO);
    glColor4f(0.5f, 0.25f, 0.75f, 1.0f);
    glCallList(list);

    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLint src = 0;
    GLint dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_ONE);
    EXPECT_EQ(dst, GL_ZERO);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.5f);
    EXPECT_FLOAT_EQ(colour[1], 0.25f);
    EXPECT_FLOAT_EQ(colour[2], 0.75f);

    // And the other way round: a caller with blending and texturing on keeps them on.
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glCallList(list);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TavironGl, QuadListBlendsByAlpha) {
    Taviron bitmap(1, 1);
    const std::uint8_t half_red[4] = {255, 0, 0, 128};
    std::memcpy(bitmap.pixels, half_red, 4);
    const GLuint list = bitmap.make_quad_list();
    ASSERT_NE(list, 0u);
    pixel_projection(1, 1);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glCallList(list);
    const Bytes frame = surface_.read_pixels();
    EXPECT_NEAR(frame[0], 128, 2);
    EXPECT_EQ(frame[1], 0);
    EXPECT_NEAR(frame[2], 127, 2);
}

} // namespace
