// An X client that takes the CLIPBOARD selection and then stops answering, as a
// hung or stopped program would, so every request for the clipboard's formats or
// data waits for the asker's timeout. With --answer N TEXT it first answers N
// requests (the list of formats, TEXT as UTF-8) and only then stops: a reader
// that asks twice for the text meets the hang the second time.
// With --selection NAME it takes that selection instead (PRIMARY, say).
// Prints "owner" once the selection is its own, then serves and sleeps until killed.
// Usage: hungOwner [--selection NAME] [--answer N TEXT]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

/// Answers one request of another client for the selection.
void Answer(Display* display, const XSelectionRequestEvent& request, const char* text) {
  const Atom targets = XInternAtom(display, "TARGETS", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = display;
  reply.requestor = request.requestor;
  reply.selection = request.selection;
  reply.target = request.target;
  reply.time = request.time;
  reply.property = request.property;
  if (request.target == targets) {
    const Atom offered[] = {targets, utf8};
    XChangeProperty(display, request.requestor, request.property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(offered), 2);
  } else if (request.target == utf8) {
    XChangeProperty(display, request.requestor, request.property, utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text), int(std::strlen(text)));
  } else {
    reply.property = None;  // a format it does not offer
  }
  XSendEvent(display, request.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
  XFlush(display);
}

}  // namespace

int main(int argc, char** argv) {
  int answers = 0;
  const char* text = "";
  const char* selectionName = "CLIPBOARD";
  if (argc >= 3 && std::strcmp(argv[1], "--selection") == 0) {
    selectionName = argv[2];
    argc -= 2;
    argv += 2;
  }
  if (argc == 4 && std::strcmp(argv[1], "--answer") == 0) {
    answers = std::atoi(argv[2]);
    text = argv[3];
  } else if (argc != 1) {
    std::fputs("usage: hungOwner [--selection NAME] [--answer N TEXT]\n", stderr);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fputs("hungOwner: cannot open the display\n", stderr);
    return 1;
  }
  const Window window =
      XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  const Atom selection = XInternAtom(display, selectionName, False);
  XSetSelectionOwner(display, selection, window, CurrentTime);
  if (XGetSelectionOwner(display, selection) != window) {
    std::fputs("hungOwner: the selection was not taken\n", stderr);
    return 1;
  }
  std::puts("owner");
  std::fflush(stdout);
  while (answers > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != SelectionRequest) continue;
    Answer(display, event.xselectionrequest, text);
    --answers;
  }
  for (;;) pause();
}
