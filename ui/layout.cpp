#include "ui/layout.h"

namespace ui {

using forms::Align;
using forms::Kind;

const wchar_t* const windowTitle = L"Ambrisk 2";

namespace {
constexpr forms::FontSpec goFont{L"Arial", 8.25f, 700, true};
constexpr forms::FontSpec backFont{L"Arial", 8.25f, 400, false};
}  // namespace

// clang-format off
const forms::ControlDesign layout[ControlCount] = {
    {.name = "Label1", .index = -1, .kind = Kind::Label, .container = -1, .text = L"屏幕分辨率:",
     .left = 120, .top = 45, .width = 3735, .height = 255, .tabIndex = 0},
    {.name = "cmdRestoreDefaults", .index = -1, .kind = Kind::Button, .container = -1, .text = L"默认",
     .left = 3480, .top = 60, .width = 975, .height = 375, .tabIndex = 28,
     .tooltip = L"Restore default settings"},
    {.name = "cmdHelp", .index = -1, .kind = Kind::Button, .container = -1, .text = L"帮助",
     .left = 4560, .top = 60, .width = 615, .height = 375, .tabIndex = 29},
    {.name = "Frame1", .index = -1, .kind = Kind::Frame, .container = -1,
     .text = L"选择所需的测试分辨率[像素]",
     .left = 120, .top = 480, .width = 5055, .height = 1455, .tabIndex = 1},
    {.name = "optRes", .index = 0, .kind = Kind::Option, .container = Frame1, .text = L"640 x 480",
     .left = 120, .top = 360, .width = 1455, .height = 255, .tabIndex = 2, .value = 1},
    {.name = "optRes", .index = 1, .kind = Kind::Option, .container = Frame1, .text = L"800 x 600",
     .left = 120, .top = 720, .width = 1455, .height = 255, .tabIndex = 3},
    {.name = "optRes", .index = 2, .kind = Kind::Option, .container = Frame1, .text = L"1024 x 768",
     .left = 120, .top = 1080, .width = 1455, .height = 255, .tabIndex = 4},
    {.name = "optRes", .index = 3, .kind = Kind::Option, .container = Frame1, .text = L"1152 x 864",
     .left = 1560, .top = 360, .width = 1455, .height = 255, .tabIndex = 5},
    {.name = "optRes", .index = 4, .kind = Kind::Option, .container = Frame1, .text = L"1280 x 960",
     .left = 1560, .top = 720, .width = 1455, .height = 255, .tabIndex = 6},
    {.name = "optRes", .index = 5, .kind = Kind::Option, .container = Frame1, .text = L"1280 x 1024",
     .left = 1560, .top = 1080, .width = 1455, .height = 255, .tabIndex = 8},
    {.name = "optRes", .index = 6, .kind = Kind::Option, .container = Frame1, .text = L"1600 x 1200",
     .left = 3000, .top = 360, .width = 1455, .height = 255, .tabIndex = 9, .enabled = false},
    {.name = "optRes", .index = 7, .kind = Kind::Option, .container = Frame1, .text = L"自定义",
     .left = 3000, .top = 720, .width = 1455, .height = 255, .tabIndex = 10},
    {.name = "txtBreit", .index = -1, .kind = Kind::TextField, .container = Frame1, .text = L"1200",
     .left = 3240, .top = 960, .width = 735, .height = 285, .tabIndex = 11, .enabled = false,
     .maxLength = 5, .accessibleName = L"自定义宽度"},
    {.name = "Label4", .index = -1, .kind = Kind::Label, .container = Frame1, .text = L"x",
     .left = 3945, .top = 1005, .width = 135, .height = 195, .tabIndex = 7, .align = Align::Centre},
    {.name = "txtHoch", .index = -1, .kind = Kind::TextField, .container = Frame1, .text = L"900",
     .left = 4080, .top = 960, .width = 735, .height = 285, .tabIndex = 12, .enabled = false,
     .maxLength = 5, .accessibleName = L"自定义高度"},
    {.name = "chkBorder", .index = -1, .kind = Kind::CheckBox, .container = -1,
     .text = L"添加边框，以获得正确的客户区窗口大小",
     .left = 240, .top = 2070, .width = 3135, .height = 375, .tabIndex = 13, .value = 1},
    {.name = "fraBorder", .index = -1, .kind = Kind::Frame, .container = -1, .text = L"",
     .left = 120, .top = 2160, .width = 5055, .height = 735, .tabIndex = 14},
    {.name = "Label3", .index = -1, .kind = Kind::Label, .container = fraBorder, .text = L"边框大小:",
     .left = 120, .top = 420, .width = 1335, .height = 255, .tabIndex = 16, .align = Align::Right},
    {.name = "txtBorder", .index = -1, .kind = Kind::TextField, .container = fraBorder, .text = L"3",
     .left = 1515, .top = 375, .width = 375, .height = 285, .tabIndex = 15, .maxLength = 5, .accessibleName = L"边框大小"},
    {.name = "Label2", .index = -1, .kind = Kind::Label, .container = fraBorder, .text = L"像素",
     .left = 1920, .top = 420, .width = 495, .height = 255, .tabIndex = 17},
    {.name = "chkTask", .index = -1, .kind = Kind::CheckBox, .container = -1, .text = L"减去任务栏的大小",
     .left = 240, .top = 3030, .width = 2535, .height = 255, .tabIndex = 18, .value = 1},
    {.name = "fraTask", .index = -1, .kind = Kind::Frame, .container = -1, .text = L"",
     .left = 120, .top = 3060, .width = 5055, .height = 855, .tabIndex = 19},
    {.name = "optTask", .index = 0, .kind = Kind::Option, .container = fraTask, .text = L"水平任务栏",
     .left = 360, .top = 240, .width = 1455, .height = 255, .tabIndex = 20, .value = 1},
    {.name = "optTask", .index = 1, .kind = Kind::Option, .container = fraTask, .text = L"垂直任务栏",
     .left = 1590, .top = 240, .width = 1455, .height = 255, .tabIndex = 21},
    {.name = "Label6", .index = -1, .kind = Kind::Label, .container = fraTask, .text = L"任务栏大小:",
     .left = 120, .top = 540, .width = 1335, .height = 255, .tabIndex = 23, .align = Align::Right},
    {.name = "txtTask", .index = -1, .kind = Kind::TextField, .container = fraTask, .text = L"28",
     .left = 1515, .top = 495, .width = 375, .height = 285, .tabIndex = 22, .maxLength = 5, .accessibleName = L"任务栏大小"},
    {.name = "Label5", .index = -1, .kind = Kind::Label, .container = fraTask, .text = L"像素",
     .left = 1920, .top = 540, .width = 495, .height = 255, .tabIndex = 24},
    {.name = "chkGo", .index = -1, .kind = Kind::Toggle, .container = -1,
     .text = L"点击这里，然后点击一个窗口调整其大小",
     .left = 120, .top = 4080, .width = 5055, .height = 495, .tabIndex = 25,
     .font = goFont, .textColour = forms::Colour{9, 106, 0}},
    {.name = "chkBack", .index = -1, .kind = Kind::Toggle, .container = -1,
     .text = L"点击这里，然后点击一个窗口恢复其原来的大小",
     .left = 120, .top = 4680, .width = 5055, .height = 375, .tabIndex = 26,
     .tooltip = L"This only works for windows you have resized since this program was started",
     .font = backFont, .textColour = forms::Colour{64, 0, 64}},
    {.name = "txtResult", .index = -1, .kind = Kind::TextField, .container = -1, .text = L"结果",
     .left = 120, .top = 5160, .width = 5055, .height = 495, .tabIndex = 27,
     .multiLine = true, .readOnly = true, .verticalScrollBar = true, .buttonFaceBackground = true,
     .accessibleName = L"结果"},
};
// clang-format on

}  // namespace ui
