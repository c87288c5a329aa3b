// The commands that open dialogs, on the recording main window: which dialog each opens with
// which parameter, the browser's answer deciding what follows, and texture assignment.
#include "modeleditor/dialogs/material_commands.h"

#include "bitmap/taviron.h"
#include "glview/view_context.h"
#include "modeleditor/dialogs/dialog_ids.h"
#include "modeleditor/fake_editor_window.h"
#include "platform/egl_surface.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdio>
#include <filesystem>

namespace editor::testing {
namespace {

using Opened = std::vector<std::pair<int, std::intptr_t>>;

class DialogCommands : public ::testing::Test {
  protected:
    void Command(int id) { fixture.proc.handle(WM_COMMAND, std::uintptr_t(id), 0); }
    FakeEditorWindow& window() { return fixture.window; }
    Model* model() { return fixture.model(); }
    EditorFixture fixture;
};

TEST_F(DialogCommands, AddCommandsAndThePreviewOpenTheirDialogsAndRepaint) {
    const int before = window().invalidations;
    for (int id : {IDM_ADD_VERTEX, IDM_ADD_FACE, IDM_ADD_DUMMY, IDM_ADD_MATERIAL, IDM_MODEL_PREVIEW})
        Command(id);
    const Opened expected = {
        {IDD_VERTEX, 0}, {IDD_FACE, 0}, {IDD_DUMMY, 0}, {IDD_MATERIAL, -1}, {IDD_MODEL_PREVIEW, -1}};
    EXPECT_EQ(window().dialogBoxes, expected);
    EXPECT_EQ(window().invalidations, before + 5);
    EXPECT_TRUE(window().boxes.empty()); // none of them is an unknown command
}

TEST_F(DialogCommands, ModifyMaterialOpensTheMaterialTheBrowserChose) {
    AddDefaultMaterial(model(), "a");
    AddDefaultMaterial(model(), "b");
    window().dialogResults[IDD_MATERIAL_BROWSER] = -1;
    Command(IDM_MODIFY_MATERIAL);
    EXPECT_EQ(window().dialogBoxes, Opened({{IDD_MATERIAL_BROWSER, 0}}));

    window().dialogBoxes.clear();
    window().dialogResults[IDD_MATERIAL_BROWSER] = 2; // not below materialCount
    Command(IDM_MODIFY_MATERIAL);
    EXPECT_EQ(window().dialogBoxes, Opened({{IDD_MATERIAL_BROWSER, 0}}));

    window().dialogBoxes.clear();
    window().dialogResults[IDD_MATERIAL_BROWSER] = 1;
    const int before = window().invalidations;
    Command(IDM_MODIFY_MATERIAL);
    EXPECT_EQ(window().dialogBoxes, Opened({{IDD_MATERIAL_BROWSER, 0}, {IDD_MATERIAL, 1}}));
    EXPECT_EQ(window().invalidations, before + 1);
}

TEST_F(DialogCommands, MKeyLeavesMouseLookAndOpensFacePropertiesOnThePickedFace) {
    fixture.chars("m");
    EXPECT_TRUE(window().dialogBoxes.empty()); // nothing picked

    fixture.state().pickKind = PICK_FACE;
    fixture.state().pickIndex = 3;
    fixture.state().mouseLook = true;
    const int before = window().invalidations;
    fixture.chars("m");
    EXPECT_FALSE(fixture.state().mouseLook);
    ASSERT_FALSE(window().sent.empty());
    EXPECT_EQ(window().sent.back().message, WM_RBUTTONDBLCLK);
    EXPECT_EQ(window().pointerShown.back(), true);
    EXPECT_EQ(window().dialogBoxes, Opened({{IDD_FACE_PROPERTIES, 3}}));
    EXPECT_EQ(window().invalidations, before + 1);

    fixture.chars("M");
    EXPECT_EQ(window().dialogBoxes.size(), 1u);
}

// Texture assignment, with the editor's view on an offscreen surface.
class AssignTexture : public DialogCommands {
  protected:
    void SetUp() override {
        view = glview::view_create(&surface);
        ASSERT_TRUE(glview::view_has_context(view)) << "no offscreen GL context: " << surface.last_error();
        mainView = fixture.state().view; // the fixture's own record, released with its window
        fixture.state().view = view;
        AddDefaultMaterial(model(), "a");
        AddDefaultMaterial(model(), "b");
        SetMaterialTexture(model(), 1, 5);
        dir = std::filesystem::temp_directory_path() / ("kx_assign_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        Taviron picture(4, 2);
        ASSERT_EQ(picture.save((dir / "tex.Taviron").c_str()), TAV_OK);
        // A 1 x 1 BMP, 24 bits, one blue pixel.
        const unsigned char bmp[58] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0,  0, 54, 0, 0, 0, 40,  0, 0, 0, 1, 0,
                                       0,   0,   1,  0, 0, 0, 1, 0, 24, 0, 0,  0, 0, 0, 4,   0, 0, 0, 0, 0,
                                       0,   0,   0,  0, 0, 0, 0, 0, 0,  0, 0,  0, 0, 0, 255, 0, 0, 0};
        std::FILE* f = std::fopen((dir / "blue.bmp").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bmp, 1, sizeof bmp, f);
        std::fclose(f);
        Taviron png(3, 5);
        ASSERT_EQ(png.save_png((dir / "tex.png").c_str()), TAV_OK);
    }
    void TearDown() override {
        fixture.state().view = mainView;
        glview::view_release(&surface, view);
        std::filesystem::remove_all(dir);
    }
    void Choose(const std::filesystem::path& path, int filter) {
        window().dialogAnswer = FileDialogResult{path.string(), filter};
    }

    platform::EglSurface surface{16, 16};
    glview::ViewContext* view = nullptr;
    glview::ViewContext* mainView = nullptr;
    std::filesystem::path dir;
};

TEST_F(AssignTexture, BrowserCancelAndFileCancelChangeNothing) {
    window().dialogResults[IDD_MATERIAL_BROWSER] = -1;
    Command(IDM_ASSIGN_TEXTURE);
    EXPECT_TRUE(window().dialogs.empty());
    window().dialogResults[IDD_MATERIAL_BROWSER] = 1;
    window().dialogAnswer.reset();
    Command(IDM_ASSIGN_TEXTURE);
    ASSERT_EQ(window().dialogs.size(), 1u);
    const FileDialogRequest& request = window().dialogs[0];
    EXPECT_FALSE(request.save);
    ASSERT_EQ(request.filters.size(), 3u);
    EXPECT_EQ(request.filters[0].description, "Taviron file (*.Taviron;*Tav)");
    EXPECT_EQ(request.filters[0].patterns, "*.Taviron;*.Tav");
    EXPECT_EQ(request.filters[1].description, "BMP file (*.bmp)");
    EXPECT_EQ(request.filters[1].patterns, "*.bmp");
    EXPECT_EQ(request.filters[2].description, "PNG (*.png)");
    EXPECT_EQ(request.filters[2].patterns, "*.png");
    EXPECT_EQ(request.default_extension, "Taviron");
    EXPECT_TRUE(request.must_exist);
    EXPECT_EQ(GetMaterialTexture(model(), 1), 5);
    EXPECT_TRUE(window().boxes.empty());
}

TEST_F(AssignTexture, TheChosenFilterDecidesHowTheFileIsRead) {
    window().dialogResults[IDD_MATERIAL_BROWSER] = 0;
    Choose(dir / "tex.Taviron", 1);
    Command(IDM_ASSIGN_TEXTURE);
    const std::int32_t first = GetMaterialTexture(model(), 0);
    EXPECT_GT(first, 0);
    EXPECT_EQ(glIsTexture(GLuint(first)), GL_TRUE);
    EXPECT_TRUE(window().boxes.empty());

    window().dialogResults[IDD_MATERIAL_BROWSER] = 1;
    Choose(dir / "blue.bmp", 2);
    Command(IDM_ASSIGN_TEXTURE);
    const std::int32_t second = GetMaterialTexture(model(), 1);
    EXPECT_GT(second, 0);
    EXPECT_NE(second, 5);
    EXPECT_NE(second, first);

    // A BMP file read with the Taviron filter is not a Taviron picture: reported, nothing changes.
    Choose(dir / "blue.bmp", 1);
    Command(IDM_ASSIGN_TEXTURE);
    EXPECT_EQ(GetMaterialTexture(model(), 1), second);
    ASSERT_EQ(window().boxes.size(), 1u);
    EXPECT_NE(window().boxes[0].text.find((dir / "blue.bmp").string()), std::string::npos);
    EXPECT_NE(window().boxes[0].text.find("it is not a Taviron file"), std::string::npos);
    EXPECT_EQ(window().boxes[0].caption, "Korvex Editor v1.3 EN");
    EXPECT_EQ(window().boxes[0].style, platform::BoxStyle::icon_stop);

    // The PNG filter reads PNG; a BMP chosen with it is refused the same way.
    window().dialogResults[IDD_MATERIAL_BROWSER] = 0;
    Choose(dir / "tex.png", 3);
    Command(IDM_ASSIGN_TEXTURE);
    const std::int32_t third = GetMaterialTexture(model(), 0);
    EXPECT_GT(third, 0);
    EXPECT_NE(third, first);
    EXPECT_EQ(glIsTexture(GLuint(third)), GL_TRUE);
    Choose(dir / "blue.bmp", 3);
    Command(IDM_ASSIGN_TEXTURE);
    EXPECT_EQ(GetMaterialTexture(model(), 0), third);
    ASSERT_EQ(window().boxes.size(), 2u);
    EXPECT_NE(window().boxes[1].text.find("it is not a PNG file"), std::string::npos);
}

TEST_F(AssignTexture, AnUnreadableFileIsReportedAndTheMaterialKeepsItsTexture) {
    window().dialogResults[IDD_MATERIAL_BROWSER] = 1;
    const auto missing = dir / "missing.Taviron";
    Choose(missing, 1);
    Command(IDM_ASSIGN_TEXTURE);
    EXPECT_EQ(GetMaterialTexture(model(), 1), 5);
    ASSERT_EQ(window().boxes.size(), 1u);
    EXPECT_EQ(window().boxes[0].text,
              "Cannot read texture " + missing.string() + ":\nthe file cannot be opened or read.");
    Choose(missing, 2);
    Command(IDM_ASSIGN_TEXTURE);
    EXPECT_EQ(window().boxes.size(), 2u);
    EXPECT_EQ(GetMaterialTexture(model(), 1), 5);
}

TEST(TextureFailure, TextsNameTheFileAndTheReason) {
    EXPECT_EQ(TextureFailureText("/a/b.Tav", TAV_ERR_DATA, TavironAccess::Load),
              "Cannot read texture /a/b.Tav:\nits compressed pixels are damaged.");
    EXPECT_EQ(TextureFailureText("x.bmp", TAV_ERR_MAGIC, TavironAccess::Import),
              "Cannot read texture x.bmp:\nit is not a BMP file.");
    EXPECT_EQ(TextureFailureText("x", -42, TavironAccess::Load), "Cannot read texture x:\nerror -42.");
}

} // namespace
} // namespace editor::testing
