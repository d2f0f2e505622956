#include "app/command_line.h"

namespace app {

CommandLine readCommandLine(const std::vector<std::string_view>& arguments) {
    for (const std::string_view argument : arguments) {
        if (argument == "--help" || argument == "-h") return {Request::help, {}};
        if (argument == "--version") return {Request::version, {}};
        return {Request::unknownOption, std::string(argument)};
    }
    return {};
}

std::string helpText(std::string_view programName) {
    std::string text = "Usage: ";
    text += programName;
    text +=
        " [--help | --version]\n"
        "Gives another program's window an exact size: pick a resolution or type a width and height,\n"
        "press the sizing button and click the window. The restore button puts a window sized this\n"
        "way back as it was. Settings are kept in $XDG_CONFIG_HOME/ambrisk2/settings.ini.\n"
        "\n"
        "Desktops: X11 (any window manager); on Wayland, GNOME with the Ambrisk 2 extension switched\n"
        "on, KDE Plasma and Sway.\n"
        "\n"
        "  --help     show this text and end\n"
        "  --version  show the version and end\n";
    return text;
}

std::string versionText(std::string_view version) {
    std::string text = "Ambrisk 2 ";
    text += version;
    text += '\n';
    return text;
}

}  // namespace app
