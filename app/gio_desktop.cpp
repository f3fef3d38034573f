#include "app/gio_desktop.h"

#include <gio/gio.h>

#include <memory>

namespace zormin {

namespace {

struct GObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectUnref>;

struct GFree {
  void operator()(gpointer p) const { g_free(p); }
};
using GText = std::unique_ptr<gchar, GFree>;

GPtr<GAppInfo> DefaultFor(const char* contentType) {
  return GPtr<GAppInfo>(g_app_info_get_default_for_type(contentType, FALSE));
}

// Starts `app` on the file at `path`. GIO hands the file over as one
// argument (or a URI), whatever bytes its name holds.
bool Launch(GAppInfo* app, const std::string& path) {
  if (app == nullptr) return false;
  GPtr<GFile> file(g_file_new_for_path(path.c_str()));
  GList files{file.get(), nullptr, nullptr};
  GError* error = nullptr;
  const bool started = g_app_info_launch(app, &files, nullptr, &error);
  if (error != nullptr) g_error_free(error);
  return started;
}

// The file's type from its contents and name; from the name alone when the
// file cannot be read.
GText ContentType(const std::string& path) {
  GPtr<GFile> file(g_file_new_for_path(path.c_str()));
  GPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE, G_FILE_QUERY_INFO_NONE,
                                         nullptr, nullptr));
  if (info && g_file_info_get_content_type(info.get()) != nullptr) {
    return GText(g_strdup(g_file_info_get_content_type(info.get())));
  }
  return GText(g_content_type_guess(path.c_str(), nullptr, 0, nullptr));
}

}  // namespace

std::string GioDesktop::HtmlProgram() {
  GPtr<GAppInfo> app = DefaultFor("text/html");
  if (!app || g_app_info_get_executable(app.get()) == nullptr) return {};
  GText path(g_find_program_in_path(g_app_info_get_executable(app.get())));
  return path ? std::string(path.get()) : std::string();
}

bool GioDesktop::OpenAsText(const std::string& path) { return Launch(DefaultFor("text/plain").get(), path); }

bool GioDesktop::OpenWithOwnApplication(const std::string& path) {
  const GText type = ContentType(path);
  return type && Launch(DefaultFor(type.get()).get(), path);
}

void GioDesktop::OpenAddress(const std::string& program, std::string_view address) {
  const std::string url(address);
  if (program.empty()) {
    (void)g_app_info_launch_default_for_uri(url.c_str(), nullptr, nullptr);
    return;
  }
  gchar* argv[] = {const_cast<gchar*>(program.c_str()), const_cast<gchar*>(url.c_str()), nullptr};
  (void)g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace zormin
