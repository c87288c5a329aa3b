// The element dialogs driven like a user: what they show, what typing and clicking add or
// change in the model, and the boxes they show.
#include "modeleditor/dialogs/dialog_test_support.h"
#include "modeleditor/dialogs/element_dialogs.h"
#include "modeleditor/editor_ids.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <vector>

namespace editor::testing {
namespace {

using platform::IDCANCEL;
using platform::IDOK;

class NullProcedure final : public platform::DialogProcedure {
  public:
    bool init_dialog(platform::DialogWindow&, std::intptr_t) override { return true; }
    bool command(platform::DialogWindow&, int, int) override { return false; }
};

class ElementDialogs : public DialogTest {
  protected:
    void ThreeVertices() {
        AddVertex(&model, 0, 0, 0, 0);
        AddVertex(&model, 1, 0, 0, 0);
        AddVertex(&model, 0, 1, 0, 0);
    }
    void SetCorners(platform::TemplateDialog& dialog, const char* a, const char* b, const char* c) {
        Type(dialog, 103, a);
        Type(dialog, 104, b);
        Type(dialog, 105, c);
    }
    std::vector<float> TexCoords(std::int32_t face) {
        float coords[6] = {};
        GetFaceTexCoords(&model, face, coords);
        return {coords, coords + 6};
    }
};

TEST_F(ElementDialogs, TemplatesPlaceTheirDialogsAndControlsAtTheirPixelRectangles) {
    // Dialog-unit rectangles written out from the templates' layout, not read back from them;
    // control 0 stands for the dialog's own size.
    struct Place {
        int dialog, control;
        int x, y, width, height;
    };
    const Place places[] = {
        {IDD_VERTEX, 0, 0, 0, 180, 122},
        {IDD_VERTEX, IDOK, 115, 99, 59, 14},
        {IDD_VERTEX, IDCANCEL, 53, 99, 59, 14},
        {IDD_VERTEX, 103, 69, 38, 65, 12},
        {IDD_FACE, 0, 0, 0, 380, 142},
        {IDD_FACE, IDOK, 315, 119, 59, 14},
        {IDD_FACE, IDCANCEL, 253, 119, 59, 14},
        {IDD_FACE, 110, 69, 83, 65, 12},
        {IDD_FACE, 126, 259, 68, 35, 12},
        {IDD_DUMMY, 0, 0, 0, 180, 142},
        {IDD_DUMMY, IDOK, 115, 119, 59, 14},
        {IDD_DUMMY, IDCANCEL, 53, 119, 59, 14},
        {IDD_DUMMY, 110, 69, 83, 65, 12},
        {IDD_FACE_PROPERTIES, 0, 0, 0, 380, 142},
        {IDD_FACE_PROPERTIES, IDOK, 315, 119, 59, 14},
        {IDD_FACE_PROPERTIES, 191, 153, 119, 80, 14},
        {IDD_FACE_PROPERTIES, 121, 219, 38, 35, 12},
        {IDD_MATERIAL, 0, 0, 0, 423, 157},
        {IDD_MATERIAL, IDOK, 355, 134, 59, 14},
        {IDD_MATERIAL, IDCANCEL, 293, 134, 59, 14},
        {IDD_MATERIAL, 192, 190, 134, 100, 14},
        {IDD_MATERIAL, 191, 310, 6, 110, 11},
        {IDD_MATERIAL, 110, 7, 127, 151, 18},
        {IDD_MATERIAL_BROWSER, 0, 0, 0, 311, 168},
        {IDD_MATERIAL_BROWSER, IDOK, 245, 148, 59, 14},
        {IDD_MATERIAL_BROWSER, IDCANCEL, 183, 148, 59, 14},
        {IDD_MATERIAL_BROWSER, 103, 6, 27, 154, 112},
        {IDD_MODEL_PREVIEW, 0, 0, 0, 280, 222},
        {IDD_MODEL_PREVIEW, IDOK, 1, 1, 59, 14},
    };
    for (const Place& place : places) {
        const platform::DialogTemplate* dialogTemplate = EditorDialogTemplate(place.dialog);
        ASSERT_NE(dialogTemplate, nullptr) << place.dialog;
        NullProcedure procedure;
        platform::TemplateDialog dialog(*dialogTemplate, nullptr, procedure);
        // The base units of the dialog's font are read once; the conversion is the test's own.
        ASSERT_GT(dialog.base_units().x, 2);
        ASSERT_EQ(dialog.base_units().y, QFontMetrics(dialog.font()).height());
        const QRect expected = Pixels(dialog, place.x, place.y, place.width, place.height);
        if (place.control == 0) {
            EXPECT_EQ(dialog.size(), expected.size()) << place.dialog;
            continue;
        }
        QWidget* widget = dialog.item(place.control);
        ASSERT_NE(widget, nullptr) << place.dialog << "/" << place.control;
        EXPECT_EQ(widget->geometry(), expected) << place.dialog << "/" << place.control;
    }
    EXPECT_EQ(EditorDialogTemplate(105), nullptr);
}

TEST_F(ElementDialogs, TemplatesCarryTheirCaptionsAndTexts) {
    struct Expected {
        int dialog;
        const char* caption;
        int control;
        const char* text;
    };
    const Expected expected[] = {
        {IDD_VERTEX, "Vertex", IDOK, "Insert"},
        {IDD_VERTEX, "Vertex", 102,
         "Zadejte koordinaty pro novy vrchol. Pripraveny jsou koordinaty kurzoru."},
        {IDD_VERTEX, "Vertex", 107, "Y"},
        {IDD_FACE, "Face", 102, "Zadejte cisla vertexu, ze kterych chcete vytvorit face. Normala je CCW."},
        {IDD_FACE, "Face", 109, "material"},
        {IDD_DUMMY, "Dummy", 102, "Zadejte koordinaty pro dummyho. Pripraveny jsou koordinaty kurzotu."},
        {IDD_DUMMY, "Dummy", 109, "ID"},
        {IDD_FACE_PROPERTIES, "Face properties", IDOK, "Set"},
        {IDD_FACE_PROPERTIES, "Face properties", 191, "Pouzit = test"},
        {IDD_FACE_PROPERTIES, "Face properties", 102, "Zmena koordinatu, nastaveni materialu."},
        {IDD_MATERIAL, "Material", 192, "Odstranit prirazenou texturu"},
        {IDD_MATERIAL, "Material", 105, "Ambient color"},
        {IDD_MATERIAL_BROWSER, "Material browser", IDOK, "Cont..."},
        {IDD_MODEL_PREVIEW, "Vertex", IDOK, "OK"},
    };
    for (const Expected& e : expected) {
        NullProcedure procedure;
        platform::TemplateDialog dialog(*EditorDialogTemplate(e.dialog), nullptr, procedure);
        EXPECT_EQ(dialog.windowTitle().toStdString(), e.caption);
        EXPECT_EQ(dialog.item_text(e.control), e.text) << e.dialog << "/" << e.control;
    }
    NullProcedure procedure;
    platform::TemplateDialog face(*EditorDialogTemplate(IDD_FACE_PROPERTIES), nullptr, procedure);
    EXPECT_TRUE(qobject_cast<QPushButton*>(face.item(IDOK))->isDefault());
    EXPECT_TRUE(qobject_cast<QLabel*>(face.item(106))->alignment() & Qt::AlignRight);
    // Only the model preview can be resized.
    platform::TemplateDialog preview(*EditorDialogTemplate(IDD_MODEL_PREVIEW), nullptr, procedure);
    EXPECT_NE(preview.minimumSize(), preview.maximumSize());
    EXPECT_EQ(face.minimumSize(), face.maximumSize());
}

TEST_F(ElementDialogs, VertexDialogProposesTheCursorAndInsertsWhatIsTyped) {
    state.cursorPos[0] = 1.5f;
    state.cursorPos[1] = -2.25f;
    state.cursorPos[2] = 0.0f;
    auto vertex = Open<VertexDialogProc>(IDD_VERTEX, 0);
    EXPECT_EQ(Text(*vertex, 103), " 1.50");
    EXPECT_EQ(Text(*vertex, 104), "-2.25");
    EXPECT_EQ(Text(*vertex, 105), " 0.00");
    Type(*vertex, 104, "3.125");
    Type(*vertex, 105, "abc"); // not a number: 0
    Click(*vertex, IDOK);
    ASSERT_TRUE(vertex->ended());
    EXPECT_EQ(vertex->end_result(), 1);
    ASSERT_EQ(VertexCount(&model), 1);
    EXPECT_FLOAT_EQ(model.vertices[0].x, 1.5f);
    EXPECT_FLOAT_EQ(model.vertices[0].y, 3.125f);
    EXPECT_FLOAT_EQ(model.vertices[0].z, 0.0f);
    EXPECT_EQ(model.vertices[0].w, 0u);

    auto cancelled = Open<VertexDialogProc>(IDD_VERTEX, 0);
    Click(*cancelled, IDCANCEL);
    EXPECT_EQ(cancelled->end_result(), 2);
    EXPECT_EQ(VertexCount(&model), 1);
    EXPECT_TRUE(services.boxes.empty());
}

TEST_F(ElementDialogs, FaceDialogChecksRepeatedVerticesBeforeTheRange) {
    ThreeVertices();
    auto face = Open<FaceDialogProc>(IDD_FACE, 0);
    for (int id : {103, 104, 105, 110})
        EXPECT_EQ(Text(*face, id), "0");

    SetCorners(*face, "0", "1", "1");
    Click(*face, IDOK);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, "Error: The same vertex specified more than one time.");
    EXPECT_EQ(services.boxes[0].caption, "Korvex Editor v1.3 EN");
    EXPECT_EQ(services.boxes[0].style, platform::BoxStyle::icon_stop);
    EXPECT_EQ(services.boxes[0].owner, face.dialog.get());
    EXPECT_FALSE(face->ended());
    EXPECT_EQ(Text(*face, 105), "1"); // the user's input stays

    // Out of range and repeated: the repetition is reported.
    SetCorners(*face, "7", "7", "1");
    Click(*face, IDOK);
    EXPECT_EQ(services.boxes.back().text, "Error: The same vertex specified more than one time.");

    for (const char* bad : {"-1", "3", "99999999999"}) {
        SetCorners(*face, "0", "1", bad);
        Click(*face, IDOK);
        EXPECT_EQ(services.boxes.back().text, "Error: Non existing vertex given.") << bad;
        EXPECT_EQ(services.boxes.back().style, platform::BoxStyle::icon_stop);
    }
    EXPECT_FALSE(face->ended());
    EXPECT_EQ(FaceCount(&model), 0);

    SetCorners(*face, "0", "1", "2");
    Type(*face, 110, "7"); // the material number is not checked
    Click(*face, IDOK);
    ASSERT_TRUE(face->ended());
    EXPECT_EQ(face->end_result(), 1);
    ASSERT_EQ(FaceCount(&model), 1);
    std::int32_t a, b, c, material;
    GetFace(&model, 0, &a, &b, &c, &material);
    EXPECT_EQ(std::vector<std::int32_t>({a, b, c, material}), std::vector<std::int32_t>({0, 1, 2, 7}));
    // Untouched texture fields: corner 1 (0, 0), corner 2 (0, 1), corner 3 (1, 0).
    EXPECT_EQ(TexCoords(0), std::vector<float>({0, 0, 0, 1, 1, 0}));
}

TEST_F(ElementDialogs, FaceDialogReadsTextureFieldsByCorner) {
    ThreeVertices();
    auto face = Open<FaceDialogProc>(IDD_FACE, 0);
    SetCorners(*face, "2", "0", "1");
    const std::pair<int, const char*> fields[] = {{121, "0.25"}, {124, "0.5"}, {122, "x"},
                                                  {125, "1e-1"}, {123, "2"},   {126, "-3"}};
    for (const auto& [id, text] : fields)
        Type(*face, id, text);
    Click(*face, IDOK);
    ASSERT_EQ(FaceCount(&model), 1);
    // (sA, tA, sB, tB, sC, tC) from (121, 124, 122, 125, 123, 126); "x" counts as 0.
    EXPECT_EQ(TexCoords(0), std::vector<float>({0.25f, 0.5f, 0.0f, 0.1f, 2.0f, -3.0f}));
}

TEST_F(ElementDialogs, DummyIdsGrowOnEveryOpeningEvenWhenCancelled) {
    state.cursorPos[0] = 0.5f;
    for (int expected = 0; expected < 3; ++expected) {
        auto dummy = Open<DummyDialogProc>(IDD_DUMMY, 0);
        EXPECT_EQ(Text(*dummy, 110), std::to_string(expected));
        EXPECT_EQ(Text(*dummy, 103), " 0.50");
        Click(*dummy, IDCANCEL);
        EXPECT_EQ(dummy->end_result(), 2);
    }
    EXPECT_EQ(values.nextDummyId, 3);
    EXPECT_EQ(DummyCount(&model), 0);
}

TEST_F(ElementDialogs, RepeatedDummyIdWarnsAndAddsTheDummyAnyway) {
    AddDummy(&model, 4, 0, 0, 0);
    auto dummy = Open<DummyDialogProc>(IDD_DUMMY, 0);
    Type(*dummy, 103, "1");
    Type(*dummy, 104, "2");
    Type(*dummy, 105, "3");
    Type(*dummy, 110, "4");
    Click(*dummy, IDOK);
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0].text, "Warning: Dummy with ID 4 do exist.");
    EXPECT_EQ(services.boxes[0].style, platform::BoxStyle::icon_warning);
    EXPECT_EQ(services.boxes[0].caption, "Korvex Editor v1.3 EN");
    EXPECT_EQ(dummy->end_result(), 1);
    ASSERT_EQ(DummyCount(&model), 2);
    std::int32_t id;
    float x, y, z;
    GetDummy(&model, 1, &id, &x, &y, &z);
    EXPECT_EQ(id, 4);
    EXPECT_EQ(std::vector<float>({x, y, z}), std::vector<float>({1, 2, 3}));

    auto fresh = Open<DummyDialogProc>(IDD_DUMMY, 0);
    Type(*fresh, 110, "9");
    Click(*fresh, IDOK);
    EXPECT_EQ(services.boxes.size(), 1u); // a new id warns of nothing
    EXPECT_EQ(DummyCount(&model), 3);
}

TEST_F(ElementDialogs, FacePropertiesWithoutAPickedFaceEndsAtOnce) {
    ThreeVertices();
    AddFace(&model, 0, 1, 2, 0);
    state.pickKind = PICK_VERTEX;
    auto properties = Open<FacePropertiesProc>(IDD_FACE_PROPERTIES, 0);
    EXPECT_TRUE(properties->ended());
    EXPECT_EQ(properties->end_result(), 2);
    EXPECT_FALSE(properties->isVisible());
}

TEST_F(ElementDialogs, FacePropertiesShowsThePickedFaceAndTestAppliesWithoutClosing) {
    ThreeVertices();
    AddVertex(&model, 1, 1, 0, 0);
    AddFace(&model, 0, 1, 2, 0);
    AddFace(&model, 1, 3, 2, 5);
    const float coords[6] = {0.5f, 0.25f, 1.0f, 0.0f, 0.126f, 1.0f};
    SetFaceTexCoords(&model, 1, coords);
    state.pickKind = PICK_FACE;
    state.pickIndex = 1;
    auto properties = Open<FacePropertiesProc>(IDD_FACE_PROPERTIES, 1);
    ASSERT_FALSE(properties->ended());
    EXPECT_EQ(Text(*properties, 103), "1");
    EXPECT_EQ(Text(*properties, 104), "3");
    EXPECT_EQ(Text(*properties, 105), "2");
    EXPECT_EQ(Text(*properties, 110), "5");
    EXPECT_EQ(Text(*properties, 121), " 0.50");
    EXPECT_EQ(Text(*properties, 124), " 0.25");
    EXPECT_EQ(Text(*properties, 122), " 1.00");
    EXPECT_EQ(Text(*properties, 125), " 0.00");
    EXPECT_EQ(Text(*properties, 123), " 0.13");
    EXPECT_EQ(Text(*properties, 126), " 1.00");

    Type(*properties, 103, "0");
    Type(*properties, 110, "2");
    Type(*properties, 126, "0.75");
    const int before = mainWindow.invalidations;
    Click(*properties, 191);
    EXPECT_FALSE(properties->ended());
    EXPECT_EQ(mainWindow.invalidations, before + 1);
    std::int32_t a, b, c, material;
    GetFace(&model, 1, &a, &b, &c, &material);
    EXPECT_EQ(std::vector<std::int32_t>({a, b, c, material}), std::vector<std::int32_t>({0, 3, 2, 2}));
    EXPECT_FLOAT_EQ(TexCoords(1)[5], 0.75f);
    EXPECT_FLOAT_EQ(TexCoords(1)[4], 0.13f); // what the field shows is what is stored

    Type(*properties, 105, "1");
    Click(*properties, IDOK);
    EXPECT_EQ(properties->end_result(), 1);
    GetFace(&model, 1, &a, &b, &c, &material);
    EXPECT_EQ(c, 1);
    EXPECT_TRUE(services.boxes.empty());
    GetFace(&model, 0, &a, &b, &c, &material); // the other face is untouched
    EXPECT_EQ(std::vector<std::int32_t>({a, b, c, material}), std::vector<std::int32_t>({0, 1, 2, 0}));
}

TEST_F(ElementDialogs, FacePropertiesRefusesCornersTheFaceDialogRefuses) {
    ThreeVertices();
    AddFace(&model, 0, 1, 2, 0);
    state.pickKind = PICK_FACE;
    state.pickIndex = 0;
    auto properties = Open<FacePropertiesProc>(IDD_FACE_PROPERTIES, 0);
    const int before = mainWindow.invalidations;
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"1", "1", "2"}, "Error: The same vertex specified more than one time."},
        {{"0", "1", "3"}, "Error: Non existing vertex given."},
        {{"0", "1", "-1"}, "Error: Non existing vertex given."},
        {{"0", "1", "two"}, "Error: Non existing vertex given."},
    };
    for (const auto& [corners, message] : cases) {
        SetCorners(*properties, corners[0], corners[1], corners[2]);
        Click(*properties, 191);
        Click(*properties, IDOK);
        ASSERT_EQ(services.boxes.size() % 2, 0u);
        EXPECT_EQ(services.boxes.back().text, message) << corners[2];
        EXPECT_EQ(services.boxes.back().style, platform::BoxStyle::icon_stop);
        EXPECT_EQ(services.boxes.back().owner, properties.dialog.get());
    }
    EXPECT_EQ(services.boxes.size(), 8u);
    EXPECT_FALSE(properties->ended());
    EXPECT_EQ(mainWindow.invalidations, before);
    std::int32_t a, b, c, material;
    GetFace(&model, 0, &a, &b, &c, &material);
    EXPECT_EQ(std::vector<std::int32_t>({a, b, c}), std::vector<std::int32_t>({0, 1, 2}));
    Click(*properties, IDCANCEL);
    EXPECT_EQ(properties->end_result(), 2);
}

} // namespace
} // namespace editor::testing
