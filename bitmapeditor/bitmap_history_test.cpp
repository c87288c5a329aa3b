// Undo, redo and the unsaved-changes guard of Taviron Editor on the recording fake: a stroke as
// one step, each whole-bitmap command as one step, the memory bound, the changed mark across
// saves and undos, the question before discarding, Ctrl+S.
#include "bitmapeditor/bitmap_history.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "bitmapeditor/bitmap_editor.h"
#include "bitmapeditor/bitmap_file_jobs.h"
#include "bitmapeditor/commands.h"
#include "bitmapeditor/fake_window.h"
#include "platform/test_files.h"

namespace bmpedit {
namespace {

namespace fs = std::filesystem;

// Size and header words followed by every pixel byte.
std::vector<std::uint8_t> content(const Taviron& t) {
    std::vector<std::uint8_t> out(reinterpret_cast<const std::uint8_t*>(&t),
                                  reinterpret_cast<const std::uint8_t*>(&t.pixels));
    if (t.pixels)
        out.insert(out.end(), t.pixels, t.pixels + std::size_t(t.width) * std::size_t(t.height) * 4);
    return out;
}

class BitmapUndo : public testing::Test {
  protected:
    FakeWindow window;
    BitmapEditor editor{window};
    fs::path dir = fs::path(testing::TempDir()) / "taviron_history_test";

    void SetUp() override {
        fs::create_directories(dir);
        editor.on_create();
        editor.on_size(300, 200, SizeType::Restored);
        window.colour_answers.push_back(rgb(200, 10, 10)); // the left button paints red
        editor.on_command(IDC_LEFT_COLOUR);
    }
    std::string path(const char* name) const { return (dir / name).string(); }
    // Client position of cell (i, j) of the grid.
    void drag(std::initializer_list<std::pair<int, int>> cells, bool left = true) {
        for (auto [i, j] : cells)
            editor.on_mouse(std::uint16_t(7 * i + 12), std::uint16_t(7 * j + 32), left, !left);
        editor.on_mouse_up();
    }
    void command(int id) { editor.on_command(id); }
    void expect_one_step(const std::string& what, const std::function<void()>& change) {
        const auto before = content(*editor.bitmap());
        const std::size_t steps = editor.history().undo_count();
        change();
        const auto after = content(*editor.bitmap());
        ASSERT_NE(before, after) << what << " changed nothing";
        EXPECT_EQ(editor.history().undo_count(), steps + 1) << what;
        command(IDM_UNDO);
        EXPECT_EQ(content(*editor.bitmap()), before) << what << " undone";
        command(IDM_REDO);
        EXPECT_EQ(content(*editor.bitmap()), after) << what << " redone";
    }
    std::string taviron_file(const char* name, int side, std::uint8_t red, bool compressed) {
        Taviron t(side, side);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                t.set_pixel(x, y, red, x, y, 255);
        const std::string p = path(name);
        EXPECT_EQ(compressed ? t.save_compressed(p.c_str()) : t.save(p.c_str()), TAV_OK);
        return p;
    }
};

TEST_F(BitmapUndo, StrokesAndWholeBitmapCommandsAreOneStepEach) {
    expect_one_step("left stroke", [&] { drag({{0, 0}, {1, 0}, {1, 0}, {2, 1}}); });
    expect_one_step("right stroke", [&] { drag({{3, 3}, {4, 3}}, false); });
    command(IDM_MODE);
    window.colour_answers.push_back(rgb(90, 90, 90));
    command(IDC_PAINT_ALPHA);
    expect_one_step("alpha stroke", [&] { drag({{0, 0}, {5, 5}}); });
    command(IDM_MODE);
    // A stroke ended by a move without buttons; one that changes nothing leaves no step.
    expect_one_step("stroke ended by a plain move", [&] {
        editor.on_mouse(7 * 9 + 12, 32, false, true);
        editor.on_mouse(7 * 9 + 12, 40, false, false);
    });
    const std::size_t steps = editor.history().undo_count();
    drag({{9, 0}}, false);
    EXPECT_EQ(editor.history().undo_count(), steps);

    window.file_answers.push_back(taviron_file("load.Tav", 40, 7, true));
    expect_one_step("Load", [&] { command(IDM_LOAD); });
    expect_one_step("Size 32x32", [&] { command(IDM_SIZE32); });
    // A 1 x 1 BMP of one blue pixel.
    const std::string bmp = path("one.bmp");
    const unsigned char bytes[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0,  0, 54, 0, 0, 0, 40,  0, 0, 0, 1, 0,
                                   0,   0,   1,  0, 0, 0, 1, 0, 24, 0, 0,  0, 0, 0, 4,   0, 0, 0, 0, 0,
                                   0,   0,   0,  0, 0, 0, 0, 0, 0,  0, 0,  0, 0, 0, 255, 0, 0, 0};
    std::ofstream(bmp, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    window.file_answers.push_back(bmp);
    expect_one_step("Import", [&] { command(IDM_IMPORT); });
    expect_one_step("Novy", [&] { command(IDM_NEW); });
    EXPECT_TRUE(window.boxes.empty());
}

TEST_F(BitmapUndo, ANewChangeDropsRedoAndTheBoundKeepsTheNewestSteps) {
    drag({{0, 0}});
    drag({{1, 0}});
    command(IDM_UNDO);
    EXPECT_EQ(editor.history().redo_count(), 1u);
    drag({{2, 0}});
    EXPECT_EQ(editor.history().redo_count(), 0u);
    EXPECT_EQ(editor.history().undo_count(), 2u);

    // Each replacement keeps a 32 x 32 bitmap (4 KiB); a bound of 10 KiB holds two of them.
    BitmapHistory bounded(10 * 1024);
    for (int i = 0; i < 6; ++i)
        bounded.replaced(std::make_unique<Taviron>(32, 32), false);
    EXPECT_EQ(bounded.undo_count(), 2u);
    EXPECT_LE(bounded.bytes(), 10u * 1024);
    BitmapHistory tiny(1);
    tiny.replaced(std::make_unique<Taviron>(32, 32), false);
    tiny.replaced(std::make_unique<Taviron>(16, 16), false);
    EXPECT_EQ(tiny.undo_count(), 1u);
    auto bitmap = std::make_unique<Taviron>(2, 2);
    EXPECT_TRUE(tiny.undo(bitmap));
    EXPECT_EQ(bitmap->get_width(), 16);
    EXPECT_TRUE(tiny.changed()); // the state before the dropped step was never saved
}

TEST_F(BitmapUndo, TheChangedMarkFollowsSavesUndosAndLoads) {
    EXPECT_FALSE(editor.history().changed());
    drag({{0, 0}});
    EXPECT_TRUE(editor.history().changed());
    const std::string saved = path("saved.Tav");
    window.file_answers.push_back(saved);
    command(IDM_SAVE_COMPRESSED);
    EXPECT_FALSE(editor.history().changed());
    command(IDM_UNDO);
    EXPECT_TRUE(editor.history().changed());
    command(IDM_REDO);
    EXPECT_FALSE(editor.history().changed());

    // Ctrl+S: the same file, compressed again, no dialog.
    drag({{1, 1}});
    const std::size_t requests = window.file_requests.size();
    command(IDM_QUICK_SAVE);
    EXPECT_EQ(window.file_requests.size(), requests);
    EXPECT_FALSE(editor.history().changed());
    Taviron back;
    ASSERT_EQ(back.load(saved.c_str()), TAV_OK);
    EXPECT_EQ(back.storage, 1);
    EXPECT_EQ(back.get_pixel(1, 1), editor.bitmap()->get_pixel(1, 1));

    // Load makes it that file's document; undoing it brings back the saved one, unchanged.
    window.file_answers.push_back(taviron_file("other.Taviron", 8, 1, false));
    command(IDM_LOAD);
    EXPECT_EQ(editor.history().file().path, path("other.Taviron"));
    EXPECT_FALSE(editor.history().changed());
    command(IDM_UNDO);
    EXPECT_EQ(editor.history().file().path, saved);
    EXPECT_FALSE(editor.history().changed());
}

TEST_F(BitmapUndo, DiscardingChangedWorkAsksFirst) {
    command(IDM_NEW);
    EXPECT_TRUE(window.questions.empty()); // nothing to lose
    drag({{0, 0}});
    const auto painted = content(*editor.bitmap());
    window.save_choice = SaveChoice::Cancel;
    window.file_answers.push_back(taviron_file("x.Tav", 4, 1, false));
    for (int id : {IDM_NEW, IDM_LOAD, IDM_IMPORT})
        command(id);
    EXPECT_EQ(window.questions, std::vector<std::string>(3, "Save the changes to untitled?"));
    EXPECT_EQ(content(*editor.bitmap()), painted);
    EXPECT_FALSE(editor.confirm_discard());

    // Save without a file asks where; cancelling that dialog cancels "Novy".
    window.save_choice = SaveChoice::Save;
    window.file_answers.clear();
    command(IDM_NEW);
    EXPECT_TRUE(window.file_requests.back().save);
    EXPECT_EQ(content(*editor.bitmap()), painted);
    const std::string p = path("work.Taviron");
    window.file_answers.push_back(p);
    command(IDM_NEW);
    EXPECT_EQ(editor.bitmap()->get_pixel(0, 0), 0u);
    Taviron saved;
    ASSERT_EQ(saved.load(p.c_str()), TAV_OK);
    EXPECT_NE(saved.get_pixel(0, 0) & 0xFFFFFF, 0u);

    command(IDM_UNDO);
    drag({{5, 5}});
    window.save_choice = SaveChoice::Discard;
    EXPECT_TRUE(editor.confirm_discard());
    EXPECT_EQ(window.questions.back(), "Save the changes to work.Taviron?");
}

TEST_F(BitmapUndo, FileJobsWriteWhatTheLibraryWrites) {
    drag({{0, 0}, {3, 2}});
    for (bool compressed : {false, true}) {
        const std::string mine = path("mine.Tav"), theirs = path("theirs.Tav");
        platform::FileProgress progress;
        ASSERT_EQ(save_taviron_file(*editor.bitmap(), mine, compressed, progress), TAV_OK);
        EXPECT_EQ(editor.bitmap()->storage, compressed ? 1 : 0);
        ASSERT_EQ(compressed ? editor.bitmap()->save_compressed(theirs.c_str())
                             : editor.bitmap()->save(theirs.c_str()),
                  TAV_OK);
        EXPECT_EQ(test_support::read_file(mine), test_support::read_file(theirs)) << compressed;
    }
    Taviron empty;
    platform::FileProgress progress;
    EXPECT_EQ(load_taviron_file(empty, path("missing.Tav"), progress), TAV_ERR_FAILED);
    EXPECT_EQ(save_taviron_file(*editor.bitmap(), dir.string(), false, progress), TAV_ERR_FAILED); // a folder
}

} // namespace
} // namespace bmpedit
