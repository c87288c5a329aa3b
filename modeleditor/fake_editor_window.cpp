#include "modeleditor/fake_editor_window.h"

#include "modeleditor/editor_ids.h"

namespace editor::testing {

std::intptr_t FakeEditorWindow::send_message(std::uint32_t message, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
    sent.push_back({message, wParam, lParam});
    return proc ? proc->handle(message, wParam, lParam) : 0;
}

std::optional<FileDialogResult> FakeEditorWindow::file_dialog(const FileDialogRequest& request) {
    dialogs.push_back(request);
    return dialogAnswer;
}

void FakeEditorWindow::destroy_window() {
    destroyed = true;
    if (proc) proc->handle(WM_DESTROY, 0, 0);
}

int FakeEditorWindow::pump() {
    int count = 0;
    while (!posted.empty() && count < 1000) {
        const Message m = posted.front();
        posted.pop_front();
        if (proc) proc->handle(m.message, m.wParam, m.lParam);
        ++count;
    }
    return count;
}

EditorFixture::EditorFixture() {
    window.proc = &proc;
    proc.handle(WM_CREATE, 0, 0);
}

EditorFixture::~EditorFixture() {
    if (proc.state().view) proc.handle(WM_DESTROY, 0, 0);
}

void EditorFixture::chars(const std::string& text) {
    for (unsigned char c : text)
        proc.handle(WM_CHAR, c, 0);
}

void EditorFixture::mouse(int dx, int dy) {
    const ScreenRect r = window.rect;
    window.pointer = {r.left + (r.right - r.left) / 2 + dx, r.top + (r.bottom - r.top) / 2 + dy};
    proc.handle(WM_TIMER, kTimerMouseLook, 0);
}

std::intptr_t FakeEditorWindow::dialog_box(int templateId, std::intptr_t parameter) {
    dialogBoxes.emplace_back(templateId, parameter);
    if (dialogAction) dialogAction(templateId, parameter);
    const auto answer = dialogResults.find(templateId);
    return answer == dialogResults.end() ? 2 : answer->second;
}

} // namespace editor::testing
