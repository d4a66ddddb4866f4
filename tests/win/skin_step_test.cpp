// The skin step of the start-up: which files count as a skin, the button-face recolouring by kind
// of control, and the engine operations it drives, in order, with their arguments.
#include "main_window/skin_step.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "main_window/form1.h"
#include "runtime/run_error.h"
#include "skin_test_support.h"

namespace {

using skin_test::TempFolder;

TEST(SkinFilePresence, OnlyWhatASearchWithoutAttributeOptionsFinds) {
    struct Case {
        const char* what;
        DWORD attributes;  // 0: no file at all
        bool folder;
        bool present;
    };
    const Case cases[] = {
        {"ordinary file", FILE_ATTRIBUTE_NORMAL, false, true},
        {"read-only file", FILE_ATTRIBUTE_READONLY, false, true},
        {"archive file", FILE_ATTRIBUTE_ARCHIVE, false, true},
        {"read-only archive file", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, false, true},
        {"hidden file", FILE_ATTRIBUTE_HIDDEN, false, false},
        {"hidden read-only file", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY, false, false},
        {"system file", FILE_ATTRIBUTE_SYSTEM, false, false},
        {"folder", 0, true, false},
        {"missing", 0, false, false},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        const std::wstring path = dir.path() + main_window::kSkinFile;
        CreateDirectoryW((dir.path() + L"\\x").c_str(), nullptr);
        if (c.folder) {
            ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << c.what;
        } else if (c.attributes) {
            dir.write(L"x\\o.cjs", "vantrel-skin 1\n");
            ASSERT_TRUE(SetFileAttributesW(path.c_str(), c.attributes)) << c.what;
        }
        EXPECT_EQ(main_window::skinFilePresent(path), c.present) << c.what;
    }
}

TEST(SkinFilePresence, IsForExactlyThatPath) {
    TempFolder dir;
    dir.write(L"x\\o.cjs.bak", "vantrel-skin 1\n");
    dir.write(L"x\\oo.cjs", "vantrel-skin 1\n");
    EXPECT_FALSE(main_window::skinFilePresent(dir.path() + main_window::kSkinFile));
    dir.write(L"x\\o.cjs", "vantrel-skin 1\n");
    EXPECT_TRUE(main_window::skinFilePresent(dir.path() + main_window::kSkinFile));
}

// Records the operations as they arrive; can fail at one of them.
class RecordingEngine : public skin_engine::SkinEngine {
  public:
    std::vector<std::wstring> calls;
    int storedOptions = 0;
    std::wstring failAt;  // the name of the operation that raises an error, if any

    void loadSkin(const std::wstring& path, const std::wstring& displayName) override {
        record(L"load " + path + L" [" + displayName + L"]", L"load");
    }
    int options() const override {
        const_cast<RecordingEngine*>(this)->record(L"options", L"options");
        return storedOptions;
    }
    void setOptions(int bits) override {
        record(L"setOptions " + std::to_wstring(bits), L"setOptions");
        storedOptions = bits;
    }
    void setRestyleControls(bool on) override {
        record(L"restyleControls " + std::to_wstring(on), L"restyleControls");
    }
    void setDrawButtons(bool on) override {
        record(L"drawButtons " + std::to_wstring(on), L"drawButtons");
    }
    void applyTo(HWND window) override {
        record(L"apply " + std::to_wstring(reinterpret_cast<LONG_PTR>(window)), L"apply");
    }

  private:
    void record(const std::wstring& call, const std::wstring& name) {
        calls.push_back(call);
        if (name == failAt) throw runtime::Error(runtime::kBadSkinFile, L"failed at " + name);
    }
};

struct SkinStep : ::testing::Test {
    std::unique_ptr<Form1> form = std::make_unique<Form1>();
    TempFolder dir;
    RecordingEngine engine;

    void SetUp() override { form->create(); }
    std::wstring handle() const {
        return std::to_wstring(reinterpret_cast<LONG_PTR>(form->hwnd()));
    }

    // The background of every control of the form, by name.
    std::vector<std::pair<const char*, ui::Color>> backgrounds() const {
        Form1& f = *form;
        return {{"Form1", f.backColor()},
                {"Text2", f.Text2.backColor()},
                {"PushButton1", f.PushButton1.backColor()},
                {"Frame1", f.Frame1.backColor()},
                {"Combo1", f.Combo1.backColor()},
                {"Combo2", f.Combo2.backColor()},
                {"Label1", f.Label1.backColor()},
                {"Frame3", f.Frame3.backColor()},
                {"Check4", f.Check4.backColor()},
                {"Check8", f.Check8.backColor()}};
    }
};

TEST_F(SkinStep, WithoutASkinFileNothingChangesAndTheEngineIsNotCalled) {
    const auto before = backgrounds();
    EXPECT_EQ(form->backColor(), ui::kWhite);
    main_window::SkinMainWindow(*form, engine, dir.path());
    EXPECT_TRUE(engine.calls.empty());
    EXPECT_EQ(backgrounds(), before);
}

TEST_F(SkinStep, GivesTheWindowCheckBoxesFramesAndLabelsTheButtonFaceAndLeavesTheRest) {
    dir.write(L"x\\o.cjs", "anything: the fake engine reads nothing");
    main_window::SkinMainWindow(*form, engine, dir.path());
    const std::vector<std::pair<const char*, ui::Color>> expected = {
        {"Form1", ui::kButtonFace},  {"Text2", ui::kWindowBack},  {"PushButton1", ui::kWhite},
        {"Frame1", ui::kButtonFace}, {"Combo1", ui::kWindowBack}, {"Combo2", ui::kWindowBack},
        {"Label1", ui::kButtonFace}, {"Frame3", ui::kButtonFace}, {"Check4", ui::kButtonFace},
        {"Check8", ui::kButtonFace}};
    EXPECT_EQ(backgrounds(), expected);
}

TEST_F(SkinStep, DrivesTheFiveOperationsInOrderSettingOnlyTheLowestOptionBit) {
    const std::wstring path = dir.write(L"x\\o.cjs", "x");
    for (int stored : {0, 1, 0x44, -2}) {
        engine.calls.clear();
        engine.storedOptions = stored;
        main_window::SkinMainWindow(*form, engine, dir.path());
        const std::vector<std::wstring> expected = {L"load " + path + L" []",
                                                    L"options",
                                                    L"setOptions " + std::to_wstring(stored | 1),
                                                    L"restyleControls 1",
                                                    L"drawButtons 1",
                                                    L"apply " + handle()};
        EXPECT_EQ(engine.calls, expected) << "options were " << stored;
    }
}

TEST_F(SkinStep, AnErrorEndsTheStepAtOnceAndKeepsTheColoursAlreadyChanged) {
    dir.write(L"x\\o.cjs", "x");
    const std::pair<const wchar_t*, size_t> failures[] = {
        {L"load", 1},        {L"options", 2}, {L"setOptions", 3}, {L"restyleControls", 4},
        {L"drawButtons", 5}, {L"apply", 6}};
    for (const auto& [operation, callsMade] : failures) {
        RecordingEngine failing;
        failing.failAt = operation;
        try {
            main_window::SkinMainWindow(*form, failing, dir.path());
            ADD_FAILURE() << "no error from a failing " << operation;
        } catch (const runtime::Error& e) {
            EXPECT_EQ(e.number, runtime::kBadSkinFile);
            EXPECT_EQ(e.description, std::wstring(L"failed at ") + operation);
        }
        EXPECT_EQ(failing.calls.size(), callsMade);
        EXPECT_EQ(form->backColor(), ui::kButtonFace);
        EXPECT_EQ(form->Check4.backColor(), ui::kButtonFace);
    }
}

}  // namespace
