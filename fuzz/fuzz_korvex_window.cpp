// Drives the Korvex Editor's window procedure with arbitrary sequences of messages (keys, chars,
// mouse buttons, timers, sizes, paints, menu commands) and dialog answers through the recording
// fake window, and checks after each message what must always hold. The dialogs answer as the
// real ones may: with any end value, and by adding vertices, faces (with any indices), dummies
// and materials to the model. File dialogs answer with Korvex and ASC files made here, bytes of
// no format, a name that does not exist, or cancel.
#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "model/korvex_file.h"
#include "model/model.h"
#include "modeleditor/dialogs/dialog_ids.h"
#include "modeleditor/editor_ids.h"
#include "modeleditor/fake_editor_window.h"

namespace {

using namespace editor;

void check(bool condition) {
    if (!condition) __builtin_trap();
}

void write_text(const std::string& path, const std::string& text) {
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
}

// The files the file dialogs may answer with, made once; the last is where saves go.
const std::vector<std::string>& files() {
    static const std::vector<std::string> paths = [] {
        char name[] = "/tmp/fuzz_korvex_window.XXXXXX";
        const std::string dir = mkdtemp(name) ? name : "/tmp";
        std::vector<std::string> p = {dir + "/box.Korvex", dir + "/box.asc",        dir + "/junk.Korvex",
                                      dir + "/junk.asc",   dir + "/missing.Korvex", dir + "/saved.Korvex"};
        Model m;
        ModelInit(&m);
        for (int i = 0; i < 8; ++i)
            AddVertex(&m, static_cast<float>(i & 1), static_cast<float>(i >> 1 & 1),
                      static_cast<float>(i >> 2), 0);
        AddDefaultMaterial(&m, "Default");
        AddDefaultMaterial(&m, "Second");
        for (int i = 0; i < 6; ++i)
            AddFace(&m, i, i + 1, i + 2, i & 1);
        AddDummy(&m, 5, 1, 2, 3);
        ModelSave(&m, p[0].c_str());
        ModelRelease(&m);
        write_text(p[1], "Named object: \"A\"\nTri-mesh, Vertices: 3     Faces: 1\nVertex list:\n"
                         "Vertex 0:  X: 0     Y: 0     Z: 0\nVertex 1:  X: 1     Y: 0     Z: 0\n"
                         "Vertex 2:  X: 0     Y: 1     Z: 0\nFace list:\nFace 0:    A:0 B:1 C:2\n"
                         "Material:\"Wood\"\n");
        write_text(p[2], "KORVEX?");
        write_text(p[3], "Named object: \"B\"\nTri-mesh, Vertices: 5     Faces: 9\n");
        return p;
    }();
    return paths;
}

class FuzzWindow : public testing::FakeEditorWindow {
  public:
    FuzzedDataProvider* in = nullptr;
    Model* model = nullptr;

    std::optional<FileDialogResult> file_dialog(const FileDialogRequest& request) override {
        dialogs.push_back(request);
        const std::vector<std::string>& paths = files();
        const std::size_t pick = in->ConsumeIntegralInRange<std::size_t>(0, paths.size());
        if (pick == paths.size()) return std::nullopt;
        FileDialogResult result;
        // Saves go to one place, so that the files answered to open dialogs stay as made.
        result.path =
            request.save ? (in->ConsumeBool() ? paths.back() : "/nonexistent/dir/x.Korvex") : paths[pick];
        result.filter_index = in->ConsumeIntegralInRange(0, 3);
        return result;
    }

    std::intptr_t dialog_box(int templateId, std::intptr_t parameter) override {
        dialogBoxes.emplace_back(templateId, parameter);
        const int edits = in->ConsumeIntegralInRange(0, 3);
        for (int i = 0; i < edits; ++i) {
            switch (in->ConsumeIntegralInRange(0, 3)) {
            case 0:
                AddVertex(model, in->ConsumeFloatingPoint<float>(), in->ConsumeFloatingPoint<float>(),
                          in->ConsumeFloatingPoint<float>(), 0);
                break;
            case 1:
                AddFace(model, in->ConsumeIntegralInRange(-2, 20), in->ConsumeIntegralInRange(-2, 20),
                        in->ConsumeIntegralInRange(-2, 20), in->ConsumeIntegralInRange(-1, 4));
                break;
            case 2:
                AddDummy(model, in->ConsumeIntegral<std::int16_t>(), 0, 0, 0);
                break;
            default:
                AddDefaultMaterial(model, "Fuzz");
                break;
            }
        }
        return in->ConsumeIntegralInRange<std::intptr_t>(-2, 8);
    }
};

void check_state(FuzzWindow& window, EditorWindowProc& proc, std::size_t& checkedBoxes) {
    const EditorState& s = proc.state();
    const Model& m = *proc.model();
    check(m.vertexCount >= 0 && m.faceCount >= 0 && m.dummyCount >= 0 && m.materialCount >= 0);
    check(m.vertexCount == 0 || m.vertices != nullptr);
    check(m.faceCount == 0 || m.faces != nullptr);
    check(m.dummyCount == 0 || m.dummies != nullptr);
    check(m.materialCount == 0 || m.materials != nullptr);
    switch (s.pickKind) {
    case PICK_NOTHING:
    case PICK_LIGHT:
        break;
    case PICK_VERTEX:
        check(s.pickIndex >= 0 && s.pickIndex < m.vertexCount);
        break;
    case PICK_DUMMY:
        check(s.pickIndex >= 0 && s.pickIndex < m.dummyCount);
        break;
    case PICK_FACE:
        check(s.pickIndex >= 0 && s.pickIndex < m.faceCount);
        break;
    default:
        check(false);
    }
    check(s.renderMode >= 0 && s.renderMode <= 2);
    check(s.shadeMode >= 0 && s.shadeMode <= 2);
    for (std::uint8_t k : s.keyDown)
        check(k <= 1);
    // Boxes carry the editor's title, except the one of unknown commands.
    for (; checkedBoxes < window.boxes.size(); ++checkedBoxes) {
        const testing::ShownBox& box = window.boxes[checkedBoxes];
        check(box.caption == kEditorTitle || (box.caption == "TODO" && box.text == "TODO"));
    }
}

const std::uint32_t kMessages[] = {WM_SIZE,        WM_PAINT,        WM_ERASEBKGND,    WM_KEYDOWN,
                                   WM_KEYUP,       WM_CHAR,         WM_COMMAND,       WM_TIMER,
                                   WM_LBUTTONDOWN, WM_LBUTTONUP,    WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                                   WM_RBUTTONUP,   WM_RBUTTONDBLCLK};
constexpr std::int32_t kCopyLimit = 1 << 16;
const std::uint32_t kKeys[] = {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_DELETE, VK_ADD, VK_SUBTRACT};
const std::uint8_t kChars[] = {'a', 'c', 'd', 'f', 'l', 'n', 'p', 'r',
                               's', 'v', 'x', 'y', 'z', ' ', '+', '-'};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    FuzzWindow window;
    EditorWindowProc proc(window);
    window.proc = &proc;
    window.in = &in;
    window.model = proc.model();
    std::size_t checkedBoxes = 0;
    proc.handle(WM_CREATE, 0, 0);
    check_state(window, proc, checkedBoxes);
    bool destroyed = false;
    for (int steps = 0; steps < 300 && in.remaining_bytes() > 0 && !destroyed; ++steps) {
        const std::uint32_t message = in.PickValueInArray(kMessages);
        std::uintptr_t wParam = 0;
        std::intptr_t lParam = 0;
        switch (message) {
        case WM_SIZE:
            lParam = static_cast<std::intptr_t>(in.ConsumeIntegral<std::uint32_t>());
            break;
        case WM_KEYDOWN:
        case WM_KEYUP:
            wParam = in.ConsumeBool() ? in.PickValueInArray(kKeys) : in.ConsumeIntegral<std::uint8_t>();
            break;
        case WM_CHAR:
            wParam = in.ConsumeBool() ? in.PickValueInArray(kChars) : in.ConsumeIntegral<std::uint8_t>();
            break;
        case WM_COMMAND:
            wParam = in.ConsumeIntegralInRange(100, 166);
            // Each copy around an axis doubles the model; past a size no memory limit of a fuzz run
            // allows, more copies only find that limit.
            if (wParam >= IDM_COPY_AROUND_X && wParam <= IDM_COPY_AROUND_Y2 &&
                (VertexCount(proc.model()) > kCopyLimit || FaceCount(proc.model()) > kCopyLimit)) {
                continue;
            }
            break;
        case WM_TIMER:
            wParam = in.ConsumeIntegralInRange(0, 4);
            // The pointer moves between timer ticks.
            window.pointer = {in.ConsumeIntegralInRange(-100, 1100), in.ConsumeIntegralInRange(-100, 800)};
            break;
        default:
            break;
        }
        proc.handle(message, wParam, lParam);
        window.pump();
        destroyed = window.destroyed;
        if (!destroyed) check_state(window, proc, checkedBoxes);
    }
    if (!destroyed) proc.handle(WM_DESTROY, 0, 0);
    check(proc.state().view == nullptr);
    return 0;
}
