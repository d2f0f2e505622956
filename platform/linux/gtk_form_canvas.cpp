#include "platform/linux/gtk_form_canvas.h"

#include <algorithm>

namespace {

struct FormCanvas {
    GtkFixed parent;
    int width;
    int height;
};

struct FormCanvasClass {
    GtkFixedClass parentClass;
};

G_DEFINE_TYPE(FormCanvas, form_canvas, GTK_TYPE_FIXED)

FormCanvas* asCanvas(GtkWidget* widget) {
    return G_TYPE_CHECK_INSTANCE_CAST(widget, form_canvas_get_type(), FormCanvas);
}

void preferredWidth(GtkWidget* widget, gint* minimum, gint* natural) { *minimum = *natural = asCanvas(widget)->width; }

void preferredHeight(GtkWidget* widget, gint* minimum, gint* natural) {
    *minimum = *natural = asCanvas(widget)->height;
}

void allocateChild(GtkWidget* child, gpointer canvas) {
    if (!gtk_widget_get_visible(child)) return;
    GtkAllocation own;
    gtk_widget_get_allocation(GTK_WIDGET(canvas), &own);
    gint x = 0, y = 0, width = 0, height = 0;
    gtk_container_child_get(GTK_CONTAINER(canvas), child, "x", &x, "y", &y, nullptr);
    gtk_widget_get_size_request(child, &width, &height);
    // GTK expects every child to be measured before it is allocated.
    GtkRequisition minimum, natural;
    gtk_widget_get_preferred_size(child, &minimum, &natural);
    GtkAllocation place{own.x + x, own.y + y, std::max(width, 1), std::max(height, 1)};
    gtk_widget_size_allocate(child, &place);
}

void sizeAllocate(GtkWidget* widget, GtkAllocation* allocation) {
    gtk_widget_set_allocation(widget, allocation);
    gtk_container_forall(GTK_CONTAINER(widget), allocateChild, widget);
}

void form_canvas_init(FormCanvas* canvas) {
    canvas->width = 0;
    canvas->height = 0;
}

void form_canvas_class_init(FormCanvasClass* canvasClass) {
    GtkWidgetClass* widgetClass = GTK_WIDGET_CLASS(canvasClass);
    widgetClass->get_preferred_width = preferredWidth;
    widgetClass->get_preferred_height = preferredHeight;
    widgetClass->size_allocate = sizeAllocate;
}

}  // namespace

namespace platform::gtk {

GtkWidget* newFormCanvas(int width, int height) {
    auto* canvas = static_cast<FormCanvas*>(g_object_new(form_canvas_get_type(), nullptr));
    canvas->width = width;
    canvas->height = height;
    return GTK_WIDGET(canvas);
}

void putOnCanvas(GtkWidget* canvas, GtkWidget* child, const PixelRect& rect) {
    gtk_widget_set_size_request(child, rect.width, rect.height);
    gtk_fixed_put(GTK_FIXED(canvas), child, rect.x, rect.y);
}

}  // namespace platform::gtk
