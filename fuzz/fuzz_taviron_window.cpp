// Drives the Taviron Editor's window procedure with arbitrary sequences of sizes, paints, mouse
// events, commands, scroll requests and dialog answers (files of several kinds, colours, cancel)
// through the recording fakes, and checks after each message what must always hold.
//
// KX_FUZZ_NO_VIEW_CHECK=1 in the environment leaves out the check that the view never starts
// beyond what the bitmap and the visible cells allow; KX_FUZZ_TRACE=1 prints every step.
#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bitmap/taviron.h"
#include "bitmapeditor/bitmap_editor.h"
#include "bitmapeditor/commands.h"
#include "bitmapeditor/fake_window.h"

namespace {

using namespace bmpedit;

void check(bool condition) {
    if (!condition) __builtin_trap();
}

void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

// A 2 x 2 24-bit BMP.
std::vector<std::uint8_t> small_bmp() {
    std::vector<std::uint8_t> b(54 + 16, 0);
    b[0] = 'B';
    b[1] = 'M';
    b[2] = static_cast<std::uint8_t>(b.size());
    b[10] = 54;
    b[14] = 40;
    b[18] = 2;
    b[22] = 2;
    b[26] = 1;
    b[28] = 24;
    for (std::size_t i = 54; i < b.size(); ++i)
        b[i] = static_cast<std::uint8_t>(i * 37);
    return b;
}

// The files the dialogs may answer with, made once: bitmaps larger and smaller than a new one,
// a BMP, bytes of no format, a name that does not exist, and a place to save to.
const std::vector<std::string>& files() {
    static const std::vector<std::string> paths = [] {
        char name[] = "/tmp/fuzz_taviron_window.XXXXXX";
        const std::string dir = mkdtemp(name) ? name : "/tmp";
        std::vector<std::string> p = {dir + "/wide.tav", dir + "/tall.tav", dir + "/tiny.tav",
                                      dir + "/pic.bmp",  dir + "/junk.tav", dir + "/missing.tav",
                                      dir + "/saved.tav"};
        Taviron wide(300, 20), tall(3, 150), tiny(1, 1);
        wide.set_pixel(299, 19, 1, 2, 3, 4);
        wide.save(p[0].c_str());
        tall.save_compressed(p[1].c_str());
        tiny.save(p[2].c_str());
        write_file(p[3], small_bmp());
        write_file(p[4], {'T', 'A', 'V', 0, 1, 2, 3});
        return p;
    }();
    return paths;
}

// Answers save dialogs with a place to save to (or a folder that does not exist), so that the
// files the other dialogs answer with stay as they were made.
class FuzzWindow : public FakeWindow {
  public:
    std::optional<std::string> ask_file(const FileRequest& request) override {
        std::optional<std::string> answer = FakeWindow::ask_file(request);
        if (request.save && answer) {
            answer = answer->find("missing") != std::string::npos ? "/nonexistent/dir/x.tav" : files().back();
        }
        return answer;
    }
};

// The last first column (row) the view may start at: as far as the scroll bar goes, whose page is
// one more than the visible cells, so 0 when the bitmap fits. A window too narrow to show a cell
// shows nothing wherever the view starts; it may keep its place for when it grows again.
int last_view(int range, int visible) {
    if (visible < 1) return range;
    return visible + 1 > range ? 0 : range - visible;
}

struct Session {
    FuzzWindow window;
    BitmapEditor editor{window};
    bool viewCheck = std::getenv("KX_FUZZ_NO_VIEW_CHECK") == nullptr;
    bool trace = std::getenv("KX_FUZZ_TRACE") != nullptr;
    std::size_t checkedBoxes = 0;
    std::size_t paintedUpTo = 0; // invalidations answered by a paint

    void check_state() {
        const Taviron* bitmap = editor.bitmap();
        check(bitmap != nullptr);
        const int width = bitmap->get_width();
        const int height = bitmap->get_height();
        check(width >= 1 && height >= 1);
        // A client area smaller than the margins gives negative cell counts; nothing is drawn then.
        const CellCount visible = editor.visible();
        const CellCount shown = editor.shown();
        check(shown.columns <= width && shown.columns <= visible.columns);
        check(shown.rows <= height && shown.rows <= visible.rows);
        const PixelPos view = editor.view();
        if (trace) {
            std::fprintf(stderr, "  bitmap %dx%d, visible %d,%d, view %d,%d\n", width, height,
                         visible.columns, visible.rows, view.x, view.y);
        }
        check(view.x >= 0 && view.y >= 0);
        if (viewCheck) {
            // As far as the scroll bars go, whose page is one more than the visible cells: 0 when the
            // bitmap fits.
            check(view.x <= last_view(width, visible.columns) && view.y <= last_view(height, visible.rows));
        }
        check(editor.paint_alpha() >= 0 && editor.paint_alpha() <= 255);
        check(window.quits.empty());
        for (; checkedBoxes < window.boxes.size(); ++checkedBoxes) {
            const MessageBoxCall& box = window.boxes[checkedBoxes];
            check(box.caption == "App" && box.style == platform::BoxStyle::icon_stop);
            check(box.text.rfind("Cannot ", 0) == 0);
        }
    }

    void paint() {
        paintedUpTo = window.invalidations.size();
        RecordingPainter painter;
        editor.on_paint(painter);
        const CellCount shown = editor.shown();
        check(painter.rectangles.size() == static_cast<std::size_t>(std::max(0, shown.columns)) *
                                               static_cast<std::size_t>(std::max(0, shown.rows)));
        check(painter.texts.size() == 1 && painter.texts[0] == std::make_tuple(10, 10, editor.status_text()));
    }

    // A scroll request as the scroll bar sends it: none while the bar is disabled (its page does
    // not fit its range), thumb positions within the bar's range.
    void scroll(FuzzedDataProvider& in) {
        // The message loop paints what was invalidated before a user's drag can arrive, and the
        // paint brings the scroll bars up to date.
        if (paintedUpTo < window.invalidations.size()) paint();
        const ScrollBar bar = in.ConsumeBool() ? ScrollBar::Horizontal : ScrollBar::Vertical;
        const int code = in.ConsumeIntegralInRange(0, 9);
        const ScrollSettings s = window.scroll[bar];
        if (s.page < 0 || s.page > s.max - s.min) return;
        const int last = s.max - std::max(s.page - 1, 0);
        editor.on_scroll(bar, code, in.ConsumeIntegralInRange(s.min, last));
    }
};

const int kCommands[] = {IDM_NEW,  IDM_LOAD,   IDM_IMPORT,      IDM_SAVE,         IDM_SAVE_COMPRESSED,
                         IDM_MODE, IDM_SIZE32, IDC_LEFT_COLOUR, IDC_RIGHT_COLOUR, IDC_PAINT_ALPHA};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string>& paths = files();
    FuzzedDataProvider in(data, size);
    Session s;
    s.editor.on_create();
    s.editor.on_size(640, 480, SizeType::Restored);
    s.check_state();
    for (int steps = 0; steps < 300 && in.remaining_bytes() > 0; ++steps) {
        const int step = in.ConsumeIntegralInRange(0, 9);
        if (s.trace) std::fprintf(stderr, "step %d\n", step);
        switch (step) {
        case 0: {
            const int cx = in.ConsumeIntegralInRange(0, 3000);
            const int cy = in.ConsumeIntegralInRange(0, 3000);
            s.editor.on_size(cx, cy, static_cast<SizeType>(in.ConsumeIntegralInRange(0, 2)));
            break;
        }
        case 1:
            s.paint();
            break;
        case 2: {
            RecordingPainter painter;
            s.editor.on_draw_button(in.ConsumeIntegralInRange(200, 204), painter);
            break;
        }
        case 3: {
            const auto x = in.ConsumeIntegral<std::uint16_t>();
            const auto y = in.ConsumeIntegral<std::uint16_t>();
            const bool left = in.ConsumeBool();
            s.editor.on_mouse(x, y, left, in.ConsumeBool());
            break;
        }
        case 4:
            s.editor.on_command(in.ConsumeBool() ? in.PickValueInArray(kCommands)
                                                 : in.ConsumeIntegral<std::int16_t>());
            break;
        case 5:
            s.scroll(in);
            break;
        case 6: {
            const std::size_t pick = in.ConsumeIntegralInRange<std::size_t>(0, paths.size());
            s.window.file_answers.push_back(pick == paths.size() ? std::nullopt
                                                                 : std::optional<std::string>(paths[pick]));
            break;
        }
        case 7:
            if (in.ConsumeBool())
                s.window.colour_answers.push_back(in.ConsumeIntegral<Colour>() & 0xFFFFFF);
            else
                s.window.colour_answers.push_back(std::nullopt);
            s.window.custom_change_index = in.ConsumeIntegralInRange<Colour>(0, 20);
            s.window.custom_change_value = in.ConsumeIntegral<Colour>() & 0xFFFFFF;
            break;
        case 8:
            s.editor.open_file(paths[in.ConsumeIntegralInRange<std::size_t>(0, paths.size() - 1)]);
            break;
        default:
            s.editor.on_scroll(in.ConsumeBool() ? ScrollBar::Horizontal : ScrollBar::Vertical, 8, 0);
            break;
        }
        s.check_state();
    }
    s.editor.on_destroy();
    check(s.editor.bitmap() == nullptr && s.window.quits == std::vector<int>{0});
    return 0;
}
