// An X client that takes the CLIPBOARD selection and then never answers: it
// stops reading its connection, as a hung or stopped program would, so every
// request for the clipboard's formats or data waits for the asker's timeout.
// Prints "owner" once the selection is its own, then sleeps until killed.
// Usage: hungOwner
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>

int main() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fputs("hungOwner: cannot open the display\n", stderr);
    return 1;
  }
  const Window window =
      XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
  XSetSelectionOwner(display, clipboard, window, CurrentTime);
  if (XGetSelectionOwner(display, clipboard) != window) {
    std::fputs("hungOwner: the selection was not taken\n", stderr);
    return 1;
  }
  std::puts("owner");
  std::fflush(stdout);
  for (;;) pause();
}
