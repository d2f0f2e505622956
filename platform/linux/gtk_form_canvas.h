#pragma once
// A fixed-position container that gives each child exactly the rectangle it
// was put at, whatever size the child or the theme would like, and asks for
// exactly its own design size: the layout is the form's, not the toolkit's.
#include <gtk/gtk.h>

namespace platform::gtk {

struct PixelRect {
    int x, y, width, height;
};

GtkWidget* newFormCanvas(int width, int height);
// Later children are drawn over earlier ones and take the clicks where they overlap.
void putOnCanvas(GtkWidget* canvas, GtkWidget* child, const PixelRect& rect);

}  // namespace platform::gtk
