#include "modeleditor/dialogs/material_dialogs.h"

#include "glview/view_context.h"
#include "modeleditor/dialogs/dialog_controls.h"
#include "modeleditor/dialogs/material_edit.h"
#include "modeleditor/editor_ids.h"
#include "platform/gl_surface.h"

#include <cstdio>
#include <cstring>

namespace editor {
namespace {

using platform::BN_CLICKED;
using platform::DialogWindow;
using platform::EN_UPDATE;
using platform::IDCANCEL;
using platform::IDOK;
using platform::LBN_SELCHANGE;

constexpr int kSwatches[4] = {IDC_AMBIENT_SWATCH, IDC_DIFFUSE_SWATCH, IDC_SPECULAR_SWATCH,
                              IDC_EMISSION_SWATCH};

// The edits of each colour, red, green, blue, alpha. Only the diffuse alpha has a control, so the
// other alphas are never shown nor read.
constexpr int kColourEdits[4][4] = {
    {IDC_AMBIENT_RED, IDC_AMBIENT_GREEN, IDC_AMBIENT_BLUE, IDC_AMBIENT_ALPHA},
    {IDC_DIFFUSE_RED, IDC_DIFFUSE_GREEN, IDC_DIFFUSE_BLUE, IDC_DIFFUSE_ALPHA},
    {IDC_SPECULAR_RED, IDC_SPECULAR_GREEN, IDC_SPECULAR_BLUE, IDC_SPECULAR_ALPHA},
    {IDC_EMISSION_RED, IDC_EMISSION_GREEN, IDC_EMISSION_BLUE, IDC_EMISSION_ALPHA},
};

std::int32_t* ColourOf(MaterialEdit& edit, int set) {
    switch (set) {
    case 0:
        return edit.ambient;
    case 1:
        return edit.diffuse;
    case 2:
        return edit.specular;
    default:
        return edit.emission;
    }
}

// Which colour set and channel an edit identifier stands for; false for other controls.
bool ColourEdit(int id, int& set, int& channel) {
    for (set = 0; set < 4; ++set)
        for (channel = 0; channel < 4; ++channel)
            if (kColourEdits[set][channel] == id) return true;
    return false;
}

int SwatchSet(int id) {
    for (int set = 0; set < 4; ++set)
        if (kSwatches[set] == id) return set;
    return -1;
}

// The platform colour of a channel set: each channel cut to its low byte, as RGB() packed it.
std::uint32_t PackedColour(const std::int32_t* channels) {
    return std::uint32_t(channels[0] & 0xFF) | std::uint32_t(channels[1] & 0xFF) << 8 |
           std::uint32_t(channels[2] & 0xFF) << 16;
}

std::function<void()> MainContextRestorer(DialogContext& context) {
    EditorState* state = context.state;
    return [state] {
        if (state && glview::view_has_context(state->view)) state->view->rc->make_current();
    };
}

} // namespace

// --- Material dialog ---

bool MaterialDialogProc::init_dialog(DialogWindow& dialog, std::intptr_t parameter) {
    DialogValues& values = *context_.values;
    Model* model = context_.model;
    if (parameter == -1) {
        values.materialEditIndex = MaterialCount(model);
        ResizeMaterials(model, MaterialCount(model) + 1);
        values.materialEditExisting = false;
    } else {
        values.materialEditExisting = true;
        values.materialEditIndex = std::int32_t(parameter);
        LoadMaterialEdit(model, values.materialEditIndex, values.materialEdit);
    }
    char number[48];
    std::snprintf(number, sizeof number, "Material ID is: %d", values.materialEditIndex);
    dialog.set_item_text(IDC_MATERIAL_NUMBER, number);

    preview_ = context_.services->open_material_preview(dialog, {332, 39, 83, 74}, values.materialEdit,
                                                        MainContextRestorer(context_));

    dialog.set_trackbar_range(IDC_SHININESS, 0, 128);
    dialog.set_trackbar_tick_frequency(IDC_SHININESS, 8);
    dialog.set_trackbar_position(IDC_SHININESS, values.materialEdit.shininess);

    for (int set = 0; set < 4; ++set) {
        const std::int32_t* channels = ColourOf(values.materialEdit, set);
        // Reading one edit back while the next is set must not see a half-filled set.
        const std::int32_t copy[4] = {channels[0], channels[1], channels[2], channels[3]};
        for (int channel = 0; channel < 4; ++channel)
            dialog.set_item_int(kColourEdits[set][channel], std::uint32_t(copy[channel]), false);
    }

    char name[12] = {};
    GetMaterialName(model, values.materialEditIndex, name);
    dialog.set_item_text(IDC_MATERIAL_NAME, std::string(name, strnlen(name, sizeof name)));
    dialog.limit_text(IDC_MATERIAL_NAME, 11);
    return true;
}

void MaterialDialogProc::end(DialogWindow& dialog, std::intptr_t result) {
    preview_.reset();
    dialog.end_dialog(result);
}

void MaterialDialogProc::destroy_dialog(DialogWindow&) {
    preview_.reset();
}

void MaterialDialogProc::choose_swatch_colour(DialogWindow& dialog, int set) {
    std::int32_t* channels = ColourOf(context_.values->materialEdit, set);
    std::uint32_t colour = PackedColour(channels);
    if (!context_.services->choose_colour(dialog, colour, context_.values->customColours)) return;
    const std::int32_t red = std::int32_t(colour & 0xFF);
    const std::int32_t green = std::int32_t(colour >> 8 & 0xFF);
    const std::int32_t blue = std::int32_t(colour >> 16 & 0xFF);
    channels[0] = red;
    channels[1] = green;
    channels[2] = blue;
    dialog.set_item_int(kColourEdits[set][0], std::uint32_t(red), false);
    dialog.set_item_int(kColourEdits[set][1], std::uint32_t(green), false);
    dialog.set_item_int(kColourEdits[set][2], std::uint32_t(blue), false);
}

bool MaterialDialogProc::command(DialogWindow& dialog, int id, int notification) {
    DialogValues& values = *context_.values;
    if (notification == EN_UPDATE) {
        if (preview_) preview_->invalidate();
        for (int swatch : kSwatches)
            dialog.invalidate_item(swatch);
        int set = 0, channel = 0;
        if (ColourEdit(id, set, channel))
            ColourOf(values.materialEdit, set)[channel] =
                std::int32_t(dialog.get_item_int(id, nullptr, false));
        return true;
    }
    if (notification != BN_CLICKED) return false;
    if (const int set = SwatchSet(id); set >= 0) {
        choose_swatch_colour(dialog, set);
        return true;
    }
    switch (id) {
    case IDC_REMOVE_TEXTURE:
        SetMaterialTexture(context_.model, values.materialEditIndex, 0);
        context_.services->message_box(dialog, kTextureRemoved, kTextureRemoved,
                                       platform::BoxStyle::icon_information);
        return true;
    case IDOK: {
        const MaterialColours c = ColoursOf(values.materialEdit);
        SetMaterial(context_.model, values.materialEditIndex, "", c.ambient, c.diffuse, c.specular,
                    c.emission, float(values.materialEdit.shininess));
        SetMaterialName(context_.model, values.materialEditIndex,
                        dialog.item_text(IDC_MATERIAL_NAME, 11).c_str());
        end(dialog, 1);
        return true;
    }
    case IDCANCEL:
        if (!values.materialEditExisting) ResizeMaterials(context_.model, values.materialEditIndex);
        end(dialog, 2);
        return true;
    default:
        return false;
    }
}

std::optional<std::uint32_t> MaterialDialogProc::owner_draw_colour(int id) const {
    const int set = SwatchSet(id);
    if (set < 0) return std::nullopt;
    return PackedColour(ColourOf(context_.values->materialEdit, set));
}

void MaterialDialogProc::hscroll(DialogWindow& dialog, int id) {
    if (id != IDC_SHININESS) return;
    context_.values->materialEdit.shininess = dialog.trackbar_position(IDC_SHININESS);
    if (preview_) preview_->invalidate();
}

// --- Material browser ---

bool MaterialBrowserProc::init_dialog(DialogWindow& dialog, std::intptr_t) {
    const Model* model = context_.model;
    if (MaterialCount(model) == 0) {
        context_.services->message_box(dialog, kNoMaterialWarning, kEditorTitle,
                                       platform::BoxStyle::icon_warning);
        dialog.end_dialog(-1);
        return true;
    }
    context_.values->browserSelection = 0;
    preview_ = context_.services->open_material_preview(
        dialog, {164, 37, 139, 97}, context_.values->materialEdit, MainContextRestorer(context_));
    for (std::int32_t i = 0; i < MaterialCount(model); ++i) {
        char name[12] = {};
        GetMaterialName(model, i, name);
        char line[64];
        std::snprintf(line, sizeof line, "Material number %d [%.*s]", i, int(strnlen(name, sizeof name)),
                      name);
        dialog.add_list_string(IDC_MATERIAL_LIST, line);
    }
    return true;
}

void MaterialBrowserProc::end(DialogWindow& dialog, std::intptr_t result) {
    preview_.reset();
    dialog.end_dialog(result);
}

void MaterialBrowserProc::destroy_dialog(DialogWindow&) {
    preview_.reset();
}

bool MaterialBrowserProc::command(DialogWindow& dialog, int id, int notification) {
    if (id == IDC_MATERIAL_LIST && notification == LBN_SELCHANGE) {
        const int line = dialog.list_selection(IDC_MATERIAL_LIST);
        if (line < 0) return true;
        context_.values->browserSelection = line;
        LoadMaterialEdit(context_.model, line, context_.values->materialEdit);
        if (preview_) preview_->invalidate();
        return true;
    }
    if (notification != BN_CLICKED) return false;
    if (id == IDOK) {
        end(dialog, context_.values->browserSelection);
        return true;
    }
    if (id == IDCANCEL) {
        end(dialog, -1);
        return true;
    }
    return false;
}

} // namespace editor
