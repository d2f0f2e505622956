#include <string>

#include "ui/main_window.h"

namespace ui {

namespace {

const std::wstring helpTitle = L"Ambrisk 2.2.1 - Help";

std::wstring helpText() {
    const std::wstring lineBreak = L"\r\n";
    std::wstring text = L"Ambrisk的作用就是任意改变一个窗口的大小。";
    text += lineBreak + L".";
    text += lineBreak + L"这是一个非常有用的功能，可以不受应用程序本身的限制，随意改变其窗口的大小。";
    text += lineBreak + lineBreak + L".";
    text += lineBreak + L"注意：不能选择高于系统屏幕分辨率的分辨率调整应用程序窗口的大小。";
    for (int dotLine = 7; dotLine <= 12; ++dotLine) text += lineBreak + L".";
    text += lineBreak + lineBreak + L".";
    text += lineBreak + lineBreak + L"免费软件。本程序可以自由使用、复制和分发，当前版本为 2.2.1。";
    return text;
}

}  // namespace

void MainWindow::frmAmbrisk2_cmdHelp_Click() {
    platform_.messageDialog.show(helpText(), platform::MessageKind::Information, helpTitle);
}

}  // namespace ui
