#pragma once
// A recording dialog for tests of dialog procedures without a display: controls are texts by
// identifier, and the end value, the trackbars and the list boxes are kept as plain values.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "modeleditor/dialogs/dialog_context.h"
#include "modeleditor/fake_editor_window.h"
#include "platform/dialog_window.h"

namespace editor::testing {

class FakeDialog final : public platform::DialogWindow {
  public:
    std::string item_text(int id, std::size_t maxLength = 255) const override {
        const auto it = texts.find(id);
        return it == texts.end() ? std::string() : it->second.substr(0, maxLength);
    }
    void set_item_text(int id, const std::string& text) override { texts[id] = text; }
    std::uint32_t get_item_int(int id, bool* translated, bool isSigned) const override {
        return platform::parse_item_int(item_text(id, std::string::npos), translated, isSigned);
    }
    void set_item_int(int id, std::uint32_t value, bool isSigned) override {
        texts[id] = isSigned ? std::to_string(std::int32_t(value)) : std::to_string(value);
    }
    void limit_text(int id, int maxLength) override { limits[id] = maxLength; }
    void invalidate_item(int) override {}
    void set_trackbar_range(int, int, int) override {}
    void set_trackbar_tick_frequency(int, int) override {}
    void set_trackbar_position(int id, int position) override { trackbars[id] = position; }
    int trackbar_position(int id) const override { return trackbars.count(id) ? trackbars.at(id) : 0; }
    void add_list_string(int id, const std::string& text) override { lists[id].push_back(text); }
    int list_selection(int) const override { return selection; }
    void end_dialog(std::intptr_t result) override { ended = result; }

    std::map<int, std::string> texts;
    std::map<int, int> limits;
    std::map<int, int> trackbars;
    std::map<int, std::vector<std::string>> lists;
    int selection = -1;
    std::optional<std::intptr_t> ended;
};

// Records the boxes and answers the colour chooser with `colourAnswer` (cancelled when empty).
class FakeDialogServices final : public DialogServices {
  public:
    struct Box {
        const platform::DialogWindow* owner;
        std::string text;
        std::string caption;
        platform::BoxStyle style;
        bool operator==(const Box&) const = default;
    };
    platform::BoxAnswer message_box(platform::DialogWindow& owner, const std::string& text,
                                    const std::string& caption, platform::BoxStyle style) override {
        boxes.push_back({&owner, text, caption, style});
        return platform::BoxAnswer::ok;
    }
    bool choose_colour(platform::DialogWindow&, std::uint32_t& colour,
                       std::array<std::uint32_t, 16>&) override {
        if (!colourAnswer) return false;
        colour = *colourAnswer;
        return true;
    }

    // Counts what the preview is told.
    struct Preview final : MaterialPreview {
        explicit Preview(int& invalidations) : invalidations(invalidations) {}
        void invalidate() override { ++invalidations; }
        int& invalidations;
    };
    std::unique_ptr<MaterialPreview> open_material_preview(platform::DialogWindow&, const DialogArea& area,
                                                           const MaterialEdit&,
                                                           std::function<void()>) override {
        previewAreas.push_back(area);
        return std::make_unique<Preview>(previewInvalidations);
    }

    std::vector<Box> boxes;
    std::optional<std::uint32_t> colourAnswer;
    std::vector<DialogArea> previewAreas; // where each preview opened
    int previewInvalidations = 0;
};

// A model, editor state, main window and services for dialog procedures, and one recording
// dialog to run them on.
class DialogLogicTest : public ::testing::Test {
  protected:
    DialogLogicTest() { ModelInit(&model); }
    ~DialogLogicTest() override { ModelRelease(&model); }

    Model model{};
    EditorState state;
    FakeEditorWindow window;
    FakeDialogServices services;
    DialogValues values;
    DialogContext context{&model, &state, &window, &services, &values};
    FakeDialog dialog;
};

} // namespace editor::testing
