// The look of the form window in CSS: the dialog font size, the fonts and
// colours of single controls, the button face behind a text, and metrics
// small enough for the form's compact layout.
#include <cmath>
#include <string>

#include "platform/linux/gtk_form_window.h"
#include "platform/linux/gtk_text.h"

namespace platform::gtk {

namespace {

// The Windows dialog font size, 8 pt at 96 DPI, in logical pixels: the
// layout follows the scale factor alone, and so must the text that fits it.
constexpr float dialogPoints = 8.0f;

std::string pixelSize(float points) { return std::to_string(std::lround(points * 96.0f / 72.0f)) + "px"; }

// Themes size their widgets for touch and roomy desktops; the form's
// controls are 17 to 25 pixels high.
constexpr char compactMetrics[] = R"(
#ambrisk-form button { min-height: 0; min-width: 0; padding: 0 4px; }
#ambrisk-form checkbutton, #ambrisk-form radiobutton { min-height: 0; padding: 0; background-color: @theme_bg_color; }
#ambrisk-form check, #ambrisk-form radio { margin: 0 4px 0 1px; min-width: 13px; min-height: 13px; }
#ambrisk-form entry { min-height: 0; padding: 0 3px; }
#ambrisk-form frame > border { border-radius: 0; }
#ambrisk-form scrollbar slider { min-height: 8px; }
)";

std::string controlRules(const forms::ControlDesign& design) {
    const std::string selector = std::string("#ambrisk-form #") + design.name;
    // Inside a button the caption is a label of its own.
    const bool captioned = design.kind == forms::Kind::Button || design.kind == forms::Kind::Toggle ||
                           design.kind == forms::Kind::CheckBox || design.kind == forms::Kind::Option;
    const std::string text = captioned ? selector + " label" : selector;
    std::string rules;
    if (design.font) {
        rules += text + " { font-size: " + pixelSize(design.font->points) +
                 "; font-weight: " + std::to_string(design.font->weight) + ";";
        if (design.font->face) rules += " font-family: \"" + toUtf8(design.font->face) + "\";";
        if (design.font->underline) rules += " text-decoration-line: underline;";
        rules += " }\n";
    }
    if (design.textColour) {
        const forms::Colour c = *design.textColour;
        rules += text + " { color: rgb(" + std::to_string(c.red) + "," + std::to_string(c.green) + "," +
                 std::to_string(c.blue) + "); }\n";
        rules += selector + ":disabled" + (captioned ? " label" : "") + " { color: @insensitive_fg_color; }\n";
    }
    if (design.buttonFaceBackground)
        rules += selector + ", " + selector + " text { background-color: @theme_bg_color; }\n";
    return rules;
}

}  // namespace

void FormWindow::applyStyle() {
    std::string css = "#ambrisk-form { font-size: " + pixelSize(dialogPoints) + "; }\n";
    css += compactMetrics;
    for (int id = 0; id < form_.controlCount(); ++id) css += controlRules(form_.control(id).design());
    style_ = gtk_css_provider_new();
    gtk_css_provider_load_from_data(style_, css.c_str(), static_cast<gssize>(css.size()), nullptr);
    gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(window_), GTK_STYLE_PROVIDER(style_),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

}  // namespace platform::gtk
