#pragma once
// Recording fakes of the editor's window and painter for the tests.
#include <deque>
#include <map>
#include <tuple>
#include <vector>

#include "bitmapeditor/editor_window.h"

namespace bmpedit {

struct Invalidation {
    Rect area; // empty for the whole client area
    bool erase = false;
    bool whole = false;
    friend bool operator==(const Invalidation&, const Invalidation&) = default;
};

struct ColourRequest {
    Colour preselected;
    std::array<Colour, 16> custom;
};

struct MessageBoxCall {
    std::string text;
    std::string caption;
    platform::BoxStyle style;
};

class FakeWindow : public EditorWindow {
  public:
    std::vector<Invalidation> invalidations;
    std::map<Child, Rect> places;
    std::vector<std::pair<Child, bool>> enables;
    std::map<ScrollBar, ScrollSettings> scroll;
    std::vector<FileRequest> file_requests;
    std::deque<std::optional<std::string>> file_answers; // nothing queued: cancel
    std::vector<ColourRequest> colour_requests;
    std::deque<std::optional<Colour>> colour_answers; // nothing queued or empty: cancel
    Colour custom_change_index = 16;                  // below 16: the dialog sets this custom colour ...
    Colour custom_change_value = 0;                   // ... to this value
    std::vector<MessageBoxCall> boxes;
    std::vector<int> quits;

    void invalidate(const Rect& area, bool erase) override { invalidations.push_back({area, erase, false}); }
    void invalidate_client(bool erase) override { invalidations.push_back({{}, erase, true}); }
    void move_child(Child child, const Rect& place) override { places[child] = place; }
    void enable_child(Child child, bool enabled) override { enables.emplace_back(child, enabled); }
    void set_scroll_bar(ScrollBar bar, const ScrollSettings& settings) override { scroll[bar] = settings; }
    std::optional<std::string> ask_file(const FileRequest& request) override {
        file_requests.push_back(request);
        if (file_answers.empty()) return std::nullopt;
        auto answer = file_answers.front();
        file_answers.pop_front();
        return answer;
    }
    void choose_colour(Colour& colour, std::array<Colour, 16>& custom) override {
        colour_requests.push_back({colour, custom});
        if (custom_change_index < 16) custom[custom_change_index] = custom_change_value;
        if (colour_answers.empty()) return;
        auto answer = colour_answers.front();
        colour_answers.pop_front();
        if (answer) colour = *answer;
    }
    void message_box(const std::string& text, const std::string& caption, platform::BoxStyle style) override {
        boxes.push_back({text, caption, style});
    }
    void quit(int code) override { quits.push_back(code); }
    std::vector<std::string> questions; // each unsaved-changes question asked
    SaveChoice save_choice = SaveChoice::Discard;
    SaveChoice ask_save_changes(const std::string& text, const std::string&) override {
        questions.push_back(text);
        return save_choice;
    }

    bool invalidated(const Rect& area, bool erase) const {
        for (const auto& i : invalidations)
            if (!i.whole && i.area == area && i.erase == erase) return true;
        return false;
    }
};

struct DrawnRect {
    Rect area;
    Colour colour;
};

class RecordingPainter : public EditorPainter {
  public:
    std::vector<DrawnRect> rectangles;
    std::vector<DrawnRect> fills;
    std::vector<DrawnRect> dotted;
    std::vector<std::tuple<int, int, std::string>> texts;

    void rectangle(const Rect& area, Colour fill) override { rectangles.push_back({area, fill}); }
    void fill_rect(const Rect& area, Colour fill) override { fills.push_back({area, fill}); }
    void dotted_frame(const Rect& area, Colour colour) override { dotted.push_back({area, colour}); }
    void text_out(int x, int y, const std::string& text) override { texts.emplace_back(x, y, text); }
};

} // namespace bmpedit
