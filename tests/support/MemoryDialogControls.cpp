#include "support/MemoryDialogControls.h"

namespace varnok {

const MemoryDialogControls::Control& MemoryDialogControls::At(int id) const {
    static const Control kAbsent = [] {
        Control absent;
        absent.visible = false;
        return absent;
    }();
    auto it = controls.find(id);
    return it == controls.end() ? kAbsent : it->second;
}

void MemoryDialogControls::SetText(int id, const std::string& text) {
    controls[id].text = text;
}
std::string MemoryDialogControls::GetText(int id) const {
    return At(id).text;
}

void MemoryDialogControls::ClearList(int id) {
    controls[id].items.clear();
    controls[id].selected = -1;
}
void MemoryDialogControls::AddListItem(int id, const std::string& text) {
    controls[id].items.push_back(text);
}
int MemoryDialogControls::ListCount(int id) const {
    return static_cast<int>(At(id).items.size());
}
std::string MemoryDialogControls::ListItem(int id, int index) const {
    const auto& items = At(id).items;
    return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::string();
}
void MemoryDialogControls::SelectListIndex(int id, int index) {
    Control& control = controls[id];
    bool valid = index >= 0 && index < static_cast<int>(control.items.size());
    control.selected = valid ? index : -1;
    // A drop-down shows the selected item in its field, as a combo box does.
    if (valid) control.text = control.items[index];
}
int MemoryDialogControls::SelectedListIndex(int id) const {
    return At(id).selected;
}

void MemoryDialogControls::SetVisible(int id, bool visible) {
    controls[id].visible = visible;
}
bool MemoryDialogControls::IsVisible(int id) const {
    return At(id).visible;
}
void MemoryDialogControls::SetChecked(int id, bool checked) {
    controls[id].checked = checked;
}
bool MemoryDialogControls::IsChecked(int id) const {
    return At(id).checked;
}
void MemoryDialogControls::SetFocus(int id) {
    focused = id;
}

void MemoryDialogControls::SetValueEntry(int id, ValueEntry entry) {
    controls[id].entry = entry;
}
void MemoryDialogControls::SetMark(int id, const std::string& reason) {
    controls[id].mark = reason;
}
void MemoryDialogControls::ShowNotice(const std::string& text) {
    notice = text;
}

void MemoryDialogControls::ShowMessage(const std::string& text, const std::string& caption,
                                       MessageIcon icon, const std::string& detail) {
    messages.push_back({text, caption, icon, detail});
}
UnsavedAnswer MemoryDialogControls::AskUnsaved(const UnsavedQuestion& question) {
    unsavedQuestions.push_back(question);
    if (unsavedAnswers.empty()) return UnsavedAnswer::Cancel;
    const UnsavedAnswer answer = unsavedAnswers.front();
    unsavedAnswers.erase(unsavedAnswers.begin());
    return answer;
}

void MemoryDialogControls::ShowAbout() {
    ++aboutShown;
}

void MemoryDialogControls::ShowKeyTester(const KeySlotsModel&, std::int32_t) {
    ++keyTesterShown;
}

std::filesystem::path MemoryDialogControls::AskFileName(const FileQuestion& question) {
    fileQuestions.push_back(question);
    if (fileAnswers.empty()) return {};
    std::filesystem::path answer = fileAnswers.front();
    fileAnswers.erase(fileAnswers.begin());
    return answer;
}

void MemoryDialogControls::SetBusy(bool isBusy) {
    busy = isBusy;
}

void MemoryDialogControls::ShowProgress(const std::string& text, int step, int steps) {
    progress.push_back(
        steps > 0 ? text + " [" + std::to_string(step) + "/" + std::to_string(steps) + "]" : "");
}

}  // namespace varnok
