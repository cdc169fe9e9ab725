#include "platform/x11/x11ClipboardWatcher.h"

#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/clipboardOffer.h"
#include "platform/log.h"
#include "platform/stopSignal.h"
#include "platform/x11/selectionTransfer.h"

namespace magna::platform {

namespace {

using Clock = std::chrono::steady_clock;

/// An xcb reply, freed with free() as xcb wants.
template <class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <class T>
Reply<T> Own(T* reply) {
  return Reply<T>(reply, &std::free);
}

/// How a wait for the owner ended.
enum class Outcome { Done, Refused, TimedOut, Superseded, Stopped, TooBig, Broken };

/// One conversion's result: the property's type and its bytes.
struct TConverted {
  Outcome Result = Outcome::Done;
  xcb_atom_t Type = XCB_NONE;
  uint8_t Format = 0;
  std::string Bytes;
};

const char* SelectionName(WatchedSelection which) {
  return which == WatchedSelection::Clipboard ? "the clipboard" : "the selection";
}

class X11Watcher final : public ClipboardWatcher {
 public:
  X11Watcher(xcb_connection_t* connection, xcb_window_t root, const TX11WatchOptions& options,
             Deliver deliver)
      : c_(connection), root_(root), options_(options), deliver_(std::move(deliver)) {
    InternAtoms();
    xfixesEvent_ =
        xcb_get_extension_data(c_, &xcb_xfixes_id)->first_event + XCB_XFIXES_SELECTION_NOTIFY;
    const uint32_t mask = XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE;
    for (State& s : states_) xcb_xfixes_select_selection_input(c_, root_, s.Atom, mask);
    QueryOwners();
    xcb_flush(c_);
    thread_ = std::thread([this] { Run(); });
  }

  ~X11Watcher() override {
    stop_.Raise();
    thread_.join();
    xcb_disconnect(c_);
  }

  bool WatchesPrimary() const override { return true; }

 private:
  /// What is known of one selection's owner, and whether it still has to be read.
  struct State {
    WatchedSelection Which;
    xcb_atom_t Atom = XCB_NONE;
    bool Pending = false;
    xcb_window_t Owner = XCB_NONE;
    xcb_timestamp_t Time = XCB_CURRENT_TIME;
  };

  /// The read under way: its window and what has arrived for it.
  struct ReadContext {
    WatchedSelection Which;
    xcb_window_t Window = XCB_NONE;
    bool Superseded = false;
    std::optional<xcb_selection_notify_event_t> Notify;
    bool NewValue = false;  // the transfer property got a value (INCR parts)
  };

  xcb_atom_t Intern(std::string_view name) {
    auto reply = Own(xcb_intern_atom_reply(
        c_, xcb_intern_atom(c_, 0, uint16_t(name.size()), name.data()), nullptr));
    return reply ? reply->atom : XCB_NONE;
  }

  void InternAtoms() {
    states_[0] = {WatchedSelection::Clipboard, Intern("CLIPBOARD")};
    states_[1] = {WatchedSelection::Primary, XCB_ATOM_PRIMARY};
    targets_ = Intern("TARGETS");
    incr_ = Intern("INCR");
    utf8_ = Intern("UTF8_STRING");
    property_ = Intern("MAGNA_SELECTION_DATA");
    hint_ = Intern(kPasswordManagerHint);
  }

  void QueryOwners() {
    for (State& s : states_) {
      auto reply =
          Own(xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, s.Atom), nullptr));
      s.Pending = true;
      s.Owner = reply ? reply->owner : XCB_NONE;
    }
  }

  bool IsOwnWindow(xcb_window_t window) const {
    return options_.OwnResourceMask != 0 &&
           (window & ~options_.OwnResourceMask) == options_.OwnResourceBase;
  }

  // The thread

  void Run() {
    while (!stop_.Raised() && !xcb_connection_has_error(c_)) {
      DrainEvents(nullptr);
      State* next = NextPending();
      if (!next) {
        WaitReadable(-1);
        continue;
      }
      next->Pending = false;
      std::optional<TClipboardChange> change = Read(*next);
      if (change) deliver_(std::move(*change));
    }
    if (xcb_connection_has_error(c_) && !stop_.Raised())
      LogWarning(kLogClipboard, "watching the X11 clipboard", "the display connection broke");
  }

  State* NextPending() {
    for (State& s : states_)
      if (s.Pending) return &s;
    return nullptr;
  }

  /// Waits until the connection or the stop signal is readable, or `ms` passed
  /// (-1: no limit). False when the time ran out.
  bool WaitReadable(int ms) {
    pollfd fds[2] = {{xcb_get_file_descriptor(c_), POLLIN, 0}, {stop_.Fd(), POLLIN, 0}};
    return poll(fds, 2, ms) > 0;
  }

  /// Takes every event that has arrived, noting new owners and what belongs to `read`.
  void DrainEvents(ReadContext* read) {
    while (xcb_generic_event_t* raw = xcb_poll_for_event(c_)) {
      auto event = Own(raw);
      const uint8_t type = event->response_type & 0x7F;
      if (type == xfixesEvent_)
        OnNewOwner(*reinterpret_cast<xcb_xfixes_selection_notify_event_t*>(raw), read);
      else if (type == XCB_SELECTION_NOTIFY && read)
        OnSelectionNotify(*reinterpret_cast<xcb_selection_notify_event_t*>(raw), *read);
      else if (type == XCB_PROPERTY_NOTIFY && read)
        OnPropertyNotify(*reinterpret_cast<xcb_property_notify_event_t*>(raw), *read);
    }
  }

  void OnNewOwner(const xcb_xfixes_selection_notify_event_t& e, ReadContext* read) {
    for (State& s : states_) {
      if (s.Atom != e.selection) continue;
      s.Pending = true;
      s.Owner = e.owner;
      s.Time = e.selection_timestamp;
      if (read && read->Which == s.Which) read->Superseded = true;
    }
  }

  static void OnSelectionNotify(const xcb_selection_notify_event_t& e, ReadContext& read) {
    if (e.requestor == read.Window) read.Notify = e;
  }

  void OnPropertyNotify(const xcb_property_notify_event_t& e, ReadContext& read) const {
    if (e.window == read.Window && e.atom == property_ && e.state == XCB_PROPERTY_NEW_VALUE)
      read.NewValue = true;
  }

  /// Waits for `done` while taking events; the limits' timeout counts from the start.
  Outcome WaitFor(ReadContext& read, const std::function<bool()>& done) {
    const auto deadline = Clock::now() + options_.Limits.Timeout;
    xcb_flush(c_);
    for (;;) {
      DrainEvents(&read);
      if (read.Superseded) return Outcome::Superseded;
      if (done()) return Outcome::Done;
      if (stop_.Raised()) return Outcome::Stopped;
      if (xcb_connection_has_error(c_)) return Outcome::Broken;
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return Outcome::TimedOut;
      WaitReadable(int(left) + 1);
    }
  }

  // One read

  std::optional<TClipboardChange> Read(const State& state) {
    TClipboardChange change;
    change.Selection = state.Which;
    if (state.Owner == XCB_NONE) return change;  // nobody holds it: nothing offered
    change.Owner = "x11:" + std::to_string(state.Owner);
    if (IsOwnWindow(state.Owner))
      change.Own = true;
    else if (options_.OwnResourceMask != 0)
      change.Own = false;

    ReadContext read;
    read.Which = state.Which;
    read.Window = xcb_generate_id(c_);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c_, 0, read.Window, root_, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    const Outcome outcome = ReadOffer(state, read, change);
    xcb_destroy_window(c_, read.Window);
    xcb_flush(c_);
    if (outcome == Outcome::Superseded || outcome == Outcome::Stopped || outcome == Outcome::Broken)
      return std::nullopt;
    if (outcome != Outcome::Done) {
      Warn(state.Which, outcome);
      change.Text = false;
      change.Value.clear();
    }
    return change;
  }

  void Warn(WatchedSelection which, Outcome outcome) const {
    const std::string doing = std::string("reading ") + SelectionName(which);
    if (outcome == Outcome::TimedOut)
      LogWarning(kLogClipboard, doing,
                 "its owner did not answer within " +
                     std::to_string(options_.Limits.Timeout.count()) + " ms");
    else if (outcome == Outcome::TooBig)
      LogWarning(kLogClipboard, doing,
                 "the text is larger than " + std::to_string(options_.Limits.MaxBytes) + " bytes");
  }

  Outcome ReadOffer(const State& state, ReadContext& read, TClipboardChange& change) {
    TConverted targets = Convert(state, read, targets_);
    std::vector<std::string> offered;
    if (targets.Result == Outcome::Done)
      offered = AtomNames(TargetAtoms(targets.Format, targets.Bytes));
    else if (targets.Result == Outcome::Refused)
      offered = {"UTF8_STRING", "STRING"};  // an owner that lists nothing may still convert
    else
      return targets.Result;

    if (OffersPasswordHint(offered)) {
      TConverted hint = Convert(state, read, hint_);
      if (hint.Result == Outcome::Superseded || hint.Result == Outcome::Stopped ||
          hint.Result == Outcome::Broken)
        return hint.Result;
      change.Secret = IsSecretHint(hint.Result == Outcome::Done
                                       ? std::optional<std::string>(std::move(hint.Bytes))
                                       : std::nullopt);
    }
    const std::optional<TTextFormat> format = ChooseTextFormat(offered);
    if (!format) return Outcome::Done;
    TConverted text = Convert(state, read, Intern(format->Name));
    if (text.Result == Outcome::Refused) return Outcome::Done;  // offered, then not given
    if (text.Result != Outcome::Done) return text.Result;
    change.Text = true;
    change.Value = DecodeText(text.Bytes, EncodingOf(text.Type, format->Encoding));
    return Outcome::Done;
  }

  /// The encoding the owner says it used (TEXT is answered in either), else the format's.
  TextEncoding EncodingOf(xcb_atom_t type, TextEncoding offered) const {
    if (type == utf8_) return TextEncoding::Utf8;
    if (type == XCB_ATOM_STRING) return TextEncoding::Latin1;
    return offered;
  }

  std::vector<std::string> AtomNames(const std::vector<uint32_t>& atoms) {
    std::vector<xcb_get_atom_name_cookie_t> cookies;
    for (uint32_t atom : atoms)
      if (!names_.count(atom)) cookies.push_back(xcb_get_atom_name(c_, atom));
    size_t next = 0;
    for (uint32_t atom : atoms) {
      if (names_.count(atom)) continue;
      auto reply = Own(xcb_get_atom_name_reply(c_, cookies[next++], nullptr));
      names_[atom] = reply ? std::string(xcb_get_atom_name_name(reply.get()),
                                         size_t(xcb_get_atom_name_name_length(reply.get())))
                           : std::string();
    }
    std::vector<std::string> result;
    result.reserve(atoms.size());
    for (uint32_t atom : atoms) result.push_back(names_[atom]);
    return result;
  }

  /// Asks the owner to convert to `target` and takes the answer, INCR included.
  TConverted Convert(const State& state, ReadContext& read, xcb_atom_t target) {
    TConverted converted;
    read.Notify.reset();
    xcb_convert_selection(c_, read.Window, state.Atom, target, property_, state.Time);
    converted.Result = WaitFor(read, [&] { return read.Notify.has_value(); });
    if (converted.Result != Outcome::Done) return converted;
    if (read.Notify->property == XCB_NONE) {
      converted.Result = Outcome::Refused;
      return converted;
    }
    TTransferAssembly assembly(options_.Limits.MaxBytes);
    read.NewValue = false;
    size_t taken = 0;
    converted.Result = TakeProperty(read.Window, assembly, converted, taken);
    if (converted.Result == Outcome::Done && converted.Type == incr_)
      converted.Result = TakeIncrementally(read, assembly, converted);
    if (converted.Result == Outcome::Done) converted.Bytes = assembly.Take();
    return converted;
  }

  /// The parts of an INCR transfer, each announced by a new value of the property,
  /// until the empty one.
  Outcome TakeIncrementally(ReadContext& read, TTransferAssembly& assembly, TConverted& converted) {
    for (;;) {
      const Outcome waited = WaitFor(read, [&] { return read.NewValue; });
      if (waited != Outcome::Done) return waited;
      read.NewValue = false;
      TConverted part;
      size_t taken = 0;
      const Outcome result = TakeProperty(read.Window, assembly, part, taken);
      if (result != Outcome::Done) return result;
      if (part.Type == XCB_NONE) continue;  // a notice that came before the last delete
      converted.Type = part.Type;
      converted.Format = part.Format;
      if (taken == 0) return Outcome::Done;
    }
  }

  /// Appends the transfer property's value to `assembly` (`taken`: how many bytes)
  /// and deletes it, which asks an INCR owner for the next part. Type XCB_NONE:
  /// there was no property. An INCR header's value is the announced size, not data.
  Outcome TakeProperty(xcb_window_t window, TTransferAssembly& assembly, TConverted& converted,
                       size_t& taken) {
    constexpr uint32_t kWordsPerRequest = 1u << 20;  // 4 MB at a time
    uint32_t offsetWords = 0;
    for (;;) {
      auto reply = Own(xcb_get_property_reply(
          c_,
          xcb_get_property(c_, 0, window, property_, XCB_GET_PROPERTY_TYPE_ANY, offsetWords,
                           kWordsPerRequest),
          nullptr));
      if (!reply) return Outcome::Broken;
      converted.Type = reply->type;
      converted.Format = reply->format;
      if (reply->type == XCB_NONE) return Outcome::Done;
      const size_t length = size_t(xcb_get_property_value_length(reply.get()));
      const auto* value = static_cast<const char*>(xcb_get_property_value(reply.get()));
      if (reply->type == incr_) {
        uint32_t announced = 0;
        if (length >= sizeof announced) std::memcpy(&announced, value, sizeof announced);
        assembly.Reserve(announced);
      } else {
        if (assembly.Size() == 0) assembly.Reserve(length + reply->bytes_after);
        if (assembly.Append(std::string_view(value, length)) == TTransferAssembly::State::TooBig)
          return Outcome::TooBig;
        taken += length;
      }
      if (reply->bytes_after == 0) break;
      offsetWords += uint32_t(length) / 4;
    }
    xcb_delete_property(c_, window, property_);
    xcb_flush(c_);
    return Outcome::Done;
  }

  xcb_connection_t* c_;
  xcb_window_t root_;
  TX11WatchOptions options_;
  Deliver deliver_;
  State states_[2];
  xcb_atom_t targets_ = XCB_NONE, incr_ = XCB_NONE, utf8_ = XCB_NONE, property_ = XCB_NONE,
             hint_ = XCB_NONE;
  uint8_t xfixesEvent_ = 0;
  std::unordered_map<uint32_t, std::string> names_;
  TStopSignal stop_;
  std::thread thread_;
};

/// Whether the server has XFixes, with selection notices (version 1 and later).
bool HasXFixes(xcb_connection_t* c) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_xfixes_id);
  if (!extension || !extension->present) return false;
  auto reply = Own(xcb_xfixes_query_version_reply(
      c, xcb_xfixes_query_version(c, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION), nullptr));
  return reply && reply->major_version >= 1;
}

}  // namespace

std::unique_ptr<ClipboardWatcher> StartX11ClipboardWatcher(const TX11WatchOptions& options,
                                                           ClipboardWatcher::Deliver deliver) {
  int screenNumber = 0;
  xcb_connection_t* c =
      xcb_connect(options.Display.empty() ? nullptr : options.Display.c_str(), &screenNumber);
  if (xcb_connection_has_error(c) || !HasXFixes(c)) {
    xcb_disconnect(c);
    return nullptr;
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
  for (int i = 0; i < screenNumber && screens.rem; ++i) xcb_screen_next(&screens);
  if (!screens.rem) {
    xcb_disconnect(c);
    return nullptr;
  }
  return std::make_unique<X11Watcher>(c, screens.data->root, options, std::move(deliver));
}

}  // namespace magna::platform
