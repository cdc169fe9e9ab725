// A Wayland program that owns the clipboard through the data-control protocol,
// with no window (the compositor lets it: sway, KWin), for the end-to-end tests:
//   dataControlOwner --secret TEXT   offers TEXT together with the password
//                                    manager's hint x-kde-passwordManagerHint = secret
//   dataControlOwner --hang TEXT     offers TEXT but never writes it: every pipe
//                                    it is handed stays open and empty
// A first argument --primary makes it own the primary selection instead.
// Prints "ready" once its offer is the selection; ends when another program takes it.
#include <unistd.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "wlr-data-control-unstable-v1-client-protocol.h"

namespace {

struct State {
  wl_seat* seat = nullptr;
  zwlr_data_control_manager_v1* manager = nullptr;
  std::string text;
  bool hang = false;
  bool secret = false;
  bool cancelled = false;
  std::vector<int> held;  // pipes kept open, never written
};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  auto& s = *static_cast<State*>(data);
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && !s.seat)
    s.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
    s.manager = static_cast<zwlr_data_control_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 2));
}

void OnGlobalRemoved(void*, wl_registry*, uint32_t) {}

void OnSend(void* data, zwlr_data_control_source_v1*, const char* type, int fd) {
  auto& s = *static_cast<State*>(data);
  if (s.hang) {
    s.held.push_back(fd);
    return;
  }
  const std::string content =
      std::strcmp(type, "x-kde-passwordManagerHint") == 0 ? std::string("secret") : s.text;
  [[maybe_unused]] const ssize_t written = write(fd, content.data(), content.size());
  close(fd);
}

void OnCancelled(void* data, zwlr_data_control_source_v1*) {
  static_cast<State*>(data)->cancelled = true;
}

int Usage() {
  std::fputs("usage: dataControlOwner [--primary] --secret TEXT | --hang TEXT\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool primary = false;
  if (argc > 1 && std::strcmp(argv[1], "--primary") == 0) {
    primary = true;
    --argc;
    ++argv;
  }
  if (argc != 3) return Usage();
  State s;
  s.text = argv[2];
  if (std::strcmp(argv[1], "--secret") == 0)
    s.secret = true;
  else if (std::strcmp(argv[1], "--hang") == 0)
    s.hang = true;
  else
    return Usage();

  wl_display* display = wl_display_connect(nullptr);
  if (!display) {
    std::fputs("dataControlOwner: no Wayland display\n", stderr);
    return 1;
  }
  wl_registry* registry = wl_display_get_registry(display);
  static const wl_registry_listener registryListener = {OnGlobal, OnGlobalRemoved};
  wl_registry_add_listener(registry, &registryListener, &s);
  wl_display_roundtrip(display);
  if (!s.seat || !s.manager) {
    std::fputs("dataControlOwner: the compositor offers no data-control\n", stderr);
    return 1;
  }
  zwlr_data_control_device_v1* device =
      zwlr_data_control_manager_v1_get_data_device(s.manager, s.seat);
  zwlr_data_control_source_v1* source = zwlr_data_control_manager_v1_create_data_source(s.manager);
  static const zwlr_data_control_source_v1_listener sourceListener = {OnSend, OnCancelled};
  zwlr_data_control_source_v1_add_listener(source, &sourceListener, &s);
  zwlr_data_control_source_v1_offer(source, "text/plain;charset=utf-8");
  zwlr_data_control_source_v1_offer(source, "UTF8_STRING");
  if (s.secret) zwlr_data_control_source_v1_offer(source, "x-kde-passwordManagerHint");
  if (primary)
    zwlr_data_control_device_v1_set_primary_selection(device, source);
  else
    zwlr_data_control_device_v1_set_selection(device, source);
  wl_display_roundtrip(display);
  std::puts("ready");
  std::fflush(stdout);
  while (!s.cancelled && wl_display_dispatch(display) >= 0) {
  }
  for (int fd : s.held) close(fd);
  wl_display_disconnect(display);
  return 0;
}
