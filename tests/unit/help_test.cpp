#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fake_platform.h"
#include "ui/main_window.h"

namespace {

std::vector<std::wstring> splitAtCrLf(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST(HelpTest, ShowsSixteenLinesInAnInformationBox) {
    fake::FakePlatform fake;
    ui::MainWindow window{fake.platform};
    window.frmAmbrisk2_cmdHelp_Click();
    ASSERT_EQ(fake.messageDialog.shown.size(), 1u);
    const auto& box = fake.messageDialog.shown[0];
    EXPECT_EQ(box.kind, platform::MessageKind::Information);
    EXPECT_EQ(box.title, L"Ambrisk 2.2.1 - Help");

    const std::vector<std::wstring> lines = splitAtCrLf(box.text);
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(box.text.find_first_of(L"\r\n") == 0, false);
    EXPECT_NE(box.text.back(), L'\n');
    int dotLines = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].find_first_of(L"\r\n"), std::wstring::npos) << "line " << i + 1;
        if (lines[i] == L".") ++dotLines;
    }
    EXPECT_EQ(dotLines, 9);
    for (int empty : {4, 13, 15}) EXPECT_EQ(lines[empty - 1], L"") << "line " << empty;
    EXPECT_EQ(lines[0], L"Ambrisk的作用就是任意改变一个窗口的大小。");
    EXPECT_EQ(lines[2], L"这是一个非常有用的功能，可以不受应用程序本身的限制，随意改变其窗口的大小。");
    EXPECT_EQ(lines[5], L"注意：不能选择高于系统屏幕分辨率的分辨率调整应用程序窗口的大小。");
    EXPECT_EQ(lines[15].rfind(L"免费软件。", 0), 0u);
    EXPECT_GT(lines[15].size(), std::wstring(L"免费软件。").size());
}

TEST(HelpTest, TwoClicksShowTheSameMessageAndChangeNothing) {
    fake::FakePlatform fake;
    ui::MainWindow window{fake.platform};
    window.frmAmbrisk2_cmdHelp_Click();
    window.frmAmbrisk2_cmdHelp_Click();
    ASSERT_EQ(fake.messageDialog.shown.size(), 2u);
    EXPECT_EQ(fake.messageDialog.shown[0].text, fake.messageDialog.shown[1].text);
    EXPECT_TRUE(fake.settings.writtenKeys.empty());
    EXPECT_TRUE(fake.settings.readKeys.empty());
}

}  // namespace
