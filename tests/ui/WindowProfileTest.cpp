#include <gtest/gtest.h>

#include <fstream>

#include "support/FileBytes.h"
#include "support/WindowHarness.h"
#include "ui/ControlIds.h"
#include "ui/RowControlTable.h"

namespace varnok {
namespace {

// What the user sees of the keys and what a Save would send: each row's text and mode, the
// rows shown, the language, the stored choices, every slot's record and msmap.dat.
struct WindowState {
    std::vector<std::string> texts;
    std::vector<int> modes;
    std::vector<bool> shown;
    int language = -1;
    std::vector<std::int32_t> settings;
    std::vector<std::vector<std::uint8_t>> records;
    Bytes map;

    friend bool operator==(const WindowState&, const WindowState&) = default;
    friend void PrintTo(const WindowState& state, std::ostream* out) {
        *out << "language " << state.language << ", rows";
        for (std::size_t row = 0; row < state.texts.size(); ++row) {
            *out << " [" << state.texts[row] << " | " << state.modes[row]
                 << (state.shown[row] ? "" : " hidden") << "]";
        }
        *out << ", settings " << testing::PrintToString(state.settings) << ", records "
             << testing::PrintToString(state.records) << ", map of " << state.map.size()
             << " bytes";
    }
};

class WindowProfileTest : public WindowHarness {
protected:
    WindowState State() {
        WindowState state;
        for (int row = 1; row <= 6; ++row) {
            state.texts.push_back(controls.GetText(RowControlTable[row].valueBox));
            state.modes.push_back(controls.SelectedListIndex(RowControlTable[row].functionList));
            state.shown.push_back(controls.IsVisible(RowControlTable[row].valueBox));
        }
        state.language = controls.SelectedListIndex(ControlId::Language);
        for (const char* name : {"keyLan", "keynum", "KeyFun1Sel", "KeyFun2Sel", "KeyFun3Sel",
                                 "KeyFun4Sel", "KeyFun5Sel", "KeyFun6Sel"}) {
            state.settings.push_back(settings.ReadSetting("Settings", name, 0));
        }
        for (int slot = 0; slot <= 6; ++slot) {
            state.records.push_back(window->Model().RecordOf(slot).bytes);
        }
        state.map = ReadBytes(directory.Path() / "msmap.dat");
        return state;
    }

    // Ctrl+C in row 1, Close Window once in row 2, a String row 3 typed but not saved, four
    // rows shown, in Chinese.
    void DefineKeys() {
        Choose(ControlId::KeyCount, 3);
        Focus(RowControlTable[1].valueBox);
        Chord({{0x11, 0x1D}, {0x43, 0x2E}});
        Choose(RowControlTable[2].valueBox, 4);
        Choose(RowControlTable[2].functionList, 1);
        Choose(RowControlTable[3].functionList, 2);
        Type(RowControlTable[3].valueBox, "Hi there");
        Choose(ControlId::Language, 1);
    }

    void Export(const std::filesystem::path& file) {
        controls.fileAnswers = {file};
        Click(ControlId::ExportEntry);
    }
    void Import(const std::filesystem::path& file) {
        controls.fileAnswers = {file};
        Click(ControlId::ImportEntry);
    }
};

// What the rows show goes into the file, unsaved typing included, and comes back whole after
// the window has been changed in every way the file keeps.
TEST_F(WindowProfileTest, ExportThenImportRestoresWhatTheWindowShowed) {
    Start();
    DefineKeys();
    const WindowState defined = State();
    const std::filesystem::path file = directory.Path() / "keys.json";

    Export(file);
    // The dialog closed on Enter; its release comes to the window, and is no chord of row 1.
    Release(0x0D, 0x1C);
    ASSERT_EQ(Messages(), std::vector<std::string>{"提示!: 按键已导出到文件!"});
    EXPECT_EQ(controls.messages.back().detail, file.string());
    ASSERT_EQ(controls.fileQuestions.size(), 1u);
    EXPECT_EQ(controls.fileQuestions[0].purpose, FileQuestion::Purpose::Save);
    EXPECT_EQ(controls.fileQuestions[0].title, "导出按键到文件");
    EXPECT_EQ(controls.fileQuestions[0].extension, "json");
    EXPECT_EQ(controls.GetText(ControlId::ExportEntry), "导出按键到文件...");
    EXPECT_EQ(controls.GetText(ControlId::ImportEntry), "从文件导入按键...");

    Choose(RowControlTable[3].functionList, 0);
    Choose(RowControlTable[2].valueBox, 1);
    Choose(ControlId::KeyCount, 0);
    Choose(ControlId::Language, 0);
    EXPECT_EQ(controls.GetText(ControlId::ImportEntry), "Import keys from file...");
    ASSERT_NE(State(), defined);

    Focus(RowControlTable[4].valueBox);
    Import(file);
    Release(0x0D, 0x1C);
    EXPECT_EQ(controls.fileQuestions.back().purpose, FileQuestion::Purpose::Open);
    EXPECT_EQ(controls.fileQuestions.back().title, "Import keys from file");
    EXPECT_EQ(Messages().back(), "提示!: 已从文件导入按键!");
    EXPECT_EQ(controls.messages.back().detail, "键盘在下次保存时获得这些按键。");
    WindowState imported = State();
    // The import keeps the keys in msmap.dat at once, as a Save would have.
    EXPECT_FALSE(imported.map.empty());
    imported.map = defined.map;
    EXPECT_EQ(imported, defined);
    EXPECT_EQ(controls.GetText(ControlId::Save), "保存");

    // A start with what the import stored shows the same window.
    WindowState afterImport = State();
    controls = FocusReportingControls();
    Start();
    EXPECT_EQ(State(), afterImport);
}

// A file that is no profile, or that cannot be read, is refused with the place and the reason,
// in the window's language, and changes nothing; so does an export onto msmap.dat or a
// cancelled dialog.
TEST_F(WindowProfileTest, RefusedFilesSayWhereAndWhyAndChangeNothing) {
    Start();
    DefineKeys();
    Click(ControlId::Save);
    const std::filesystem::path good = directory.Path() / "good.json";
    Export(good);
    Choose(ControlId::Language, 0);
    controls.messages.clear();
    const WindowState before = State();

    std::ifstream in(good);
    const std::string profile((std::istreambuf_iterator<char>(in)), {});
    const std::filesystem::path bad = directory.Path() / "bad.json";
    const struct {
        std::string contents;  // empty: no file at all
        std::string detail;
    } cases[] = {
        {"", bad.string() + ": the file does not exist; nothing was changed"},
        {"{\n  \"format\": \"varnok-profile\",\n  \"version\": 1,\n  \"keys\": [\n",
         bad.string() + ": line 5, column 1: not valid JSON; nothing was changed"},
        {R"({"format": "varnok-profile", "version": 1, "language": "English", "keyCount": 2,)"
         R"( "keys": [{"key": 9, "function": "Normal", "text": "", "definition": ""}]})",
         bad.string() + ": keys[0].key: 9 is no key; the keyboard has keys 1 to 6 and the "
                        "hidden key 0; nothing was changed"},
        {std::string(1024 * 1024 + 1, ' '),
         bad.string() + ": it is too large to be loaded and was left as it is (a profile holds "
                        "at most 1 MiB); nothing was changed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.detail);
        std::filesystem::remove(bad);
        if (!c.contents.empty()) std::ofstream(bad, std::ios::binary) << c.contents;
        Import(bad);
        ASSERT_EQ(Messages(), std::vector<std::string>{"Information!: Keys not imported!"});
        EXPECT_EQ(controls.messages.back().icon, MessageIcon::Exclamation);
        EXPECT_EQ(controls.messages.back().detail, c.detail);
        EXPECT_EQ(State(), before);
        controls.messages.clear();
    }

    Choose(ControlId::Language, 1);
    const WindowState chinese = State();
    std::ofstream(bad, std::ios::binary | std::ios::trunc) << "[]";
    Import(bad);
    EXPECT_EQ(Messages(), std::vector<std::string>{"提示!: 按键未能导入!"});
    EXPECT_EQ(controls.messages.back().detail,
              bad.string() + ": profile: expected a JSON object；未作任何改动");
    Export(directory.Path() / "msmap.dat");
    EXPECT_EQ(Messages().back(), "提示!: 按键未能导出!");
    EXPECT_EQ(controls.messages.back().detail,
              (directory.Path() / "msmap.dat").string() +
                  ": 是 Varnok 保存按键文字的文件；配置文件需要另用一个文件");
    controls.messages.clear();
    Click(ControlId::ImportEntry);  // the dialog is cancelled
    Click(ControlId::ExportEntry);
    EXPECT_TRUE(controls.messages.empty());
    EXPECT_EQ(State(), chinese);
}

}  // namespace
}  // namespace varnok
