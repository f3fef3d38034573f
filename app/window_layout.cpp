#include "app/window_layout.h"

#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/image.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

// Made by wxrc from res/zormin.xrc and its pictures.
extern void InitXmlResource();

namespace zormin {

void InitWindowResources() {
  static bool done = false;
  if (done) return;
  done = true;
  wxInitAllImageHandlers();
  wxXmlResource::Get()->InitAllHandlers();
  InitXmlResource();
}

namespace {

// Styles a control so that it fits the place its template gives it.
void AddStyle(wxWindow* control, const char* css) {
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, css, -1, nullptr);
  gtk_style_context_add_provider(gtk_widget_get_style_context(control->GetHandle()), GTK_STYLE_PROVIDER(provider),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

}  // namespace

void FitTemplate(wxWindow* dialog, wxSize units) {
  // The template's size was set before its font; measure again in that font.
  dialog->SetClientSize(dialog->ConvertDialogToPixels(units));
  // GTK draws controls taller than the template allows: where a control's
  // natural size does not fit its place, it gives up padding, and a radio
  // button or check box too narrow for its label takes the room it needs.
  for (wxWindow* control : dialog->GetChildren()) {
    const wxSize best = control->GetBestSize(), size = control->GetSize();
    const bool mark = wxDynamicCast(control, wxRadioButton) != nullptr || wxDynamicCast(control, wxCheckBox) != nullptr;
    if (mark) {
      AddStyle(control, "radiobutton, checkbutton { padding-top: 0; padding-bottom: 0; }");
      if (best.x > size.x) control->SetSize(best.x, size.y);
    } else if (wxDynamicCast(control, wxButton) != nullptr) {
      if (best.y > size.y) AddStyle(control, "button { padding-top: 0; padding-bottom: 0; min-height: 0; }");
      if (best.x > size.x) AddStyle(control, "button { padding-left: 0; padding-right: 0; min-width: 0; }");
    } else if (wxDynamicCast(control, wxTextCtrl) != nullptr && best.y > size.y) {
      AddStyle(control, "entry { padding-top: 0; padding-bottom: 0; min-height: 0; }");
    }
  }
}

namespace {

// The GTK view inside a list box, or nullptr.
GtkTreeView* TreeViewOf(wxListBox* list) {
  GtkWidget* scrolled = list->GetHandle();
  if (!GTK_IS_BIN(scrolled) || !GTK_IS_TREE_VIEW(gtk_bin_get_child(GTK_BIN(scrolled)))) return nullptr;
  return GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(scrolled)));
}

}  // namespace

namespace {

gboolean ClickOnEnter(GtkWidget*, GdkEventKey* key, gpointer data) {
  const bool enter = key->keyval == GDK_KEY_Return || key->keyval == GDK_KEY_KP_Enter || key->keyval == GDK_KEY_ISO_Enter;
  if (!enter || (key->state & gtk_accelerator_get_default_mod_mask()) != 0) return FALSE;
  auto* button = static_cast<wxWindow*>(data);
  wxCommandEvent click(wxEVT_BUTTON, button->GetId());
  click.SetEventObject(button);
  button->ProcessWindowEvent(click);
  return TRUE;
}

}  // namespace

void PassEnterTo(wxListBox* list, wxWindow* button) {
  GtkTreeView* view = TreeViewOf(list);
  if (view == nullptr) return;
  g_signal_connect(view, "key-press-event", G_CALLBACK(ClickOnEnter), button);
}

bool KeyInHand() {
  GdkEvent* event = gtk_get_current_event();
  if (event == nullptr) return false;
  const bool key = event->type == GDK_KEY_PRESS || event->type == GDK_KEY_RELEASE;
  gdk_event_free(event);
  return key;
}

DetachedRows::DetachedRows(wxListBox* list) {
  GtkTreeView* view = TreeViewOf(list);
  if (view == nullptr || gtk_tree_view_get_model(view) == nullptr) return;
  m_view = view;
  m_model = g_object_ref(gtk_tree_view_get_model(view));
  gtk_tree_view_set_model(view, nullptr);
}

DetachedRows::~DetachedRows() {
  if (m_view == nullptr) return;
  gtk_tree_view_set_model(GTK_TREE_VIEW(m_view), GTK_TREE_MODEL(m_model));
  g_object_unref(m_model);
}

void UseFixedRows(wxListBox* list) {
  GtkTreeView* view = TreeViewOf(list);
  if (view == nullptr) return;
  for (guint i = 0; i < gtk_tree_view_get_n_columns(view); ++i) {
    GtkTreeViewColumn* column = gtk_tree_view_get_column(view, static_cast<gint>(i));
    gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
    gtk_tree_view_column_set_fixed_width(column, list->GetClientSize().x);
  }
  gtk_tree_view_set_fixed_height_mode(view, TRUE);
}

}  // namespace zormin
