#include "platform/wayland/waylandClipboardWatcher.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

#include "ext-data-control-v1-client-protocol.h"
#include "platform/clipboardOffer.h"
#include "platform/log.h"
#include "platform/pipeTransfer.h"
#include "platform/stopSignal.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

namespace magna::platform {

namespace {

using Clock = std::chrono::steady_clock;

// The two protocols are the same but for their names: one reader serves both.

struct ExtControl {
  using Manager = ext_data_control_manager_v1;
  using Device = ext_data_control_device_v1;
  using Offer = ext_data_control_offer_v1;
  using DeviceListener = ext_data_control_device_v1_listener;
  using OfferListener = ext_data_control_offer_v1_listener;
  static constexpr uint32_t kVersion = 1;
  static constexpr uint32_t kPrimarySince = 1;
  static const wl_interface* Interface() { return &ext_data_control_manager_v1_interface; }
  static Device* GetDevice(Manager* m, wl_seat* seat) {
    return ext_data_control_manager_v1_get_data_device(m, seat);
  }
  static void Listen(Device* d, const DeviceListener* l, void* data) {
    ext_data_control_device_v1_add_listener(d, l, data);
  }
  static void Listen(Offer* o, const OfferListener* l, void* data) {
    ext_data_control_offer_v1_add_listener(o, l, data);
  }
  static void Receive(Offer* o, const char* type, int fd) {
    ext_data_control_offer_v1_receive(o, type, fd);
  }
  static void Destroy(Offer* o) { ext_data_control_offer_v1_destroy(o); }
  static void Destroy(Device* d) { ext_data_control_device_v1_destroy(d); }
  static void Destroy(Manager* m) { ext_data_control_manager_v1_destroy(m); }
};

struct WlrControl {
  using Manager = zwlr_data_control_manager_v1;
  using Device = zwlr_data_control_device_v1;
  using Offer = zwlr_data_control_offer_v1;
  using DeviceListener = zwlr_data_control_device_v1_listener;
  using OfferListener = zwlr_data_control_offer_v1_listener;
  static constexpr uint32_t kVersion = 2;
  static constexpr uint32_t kPrimarySince = 2;
  static const wl_interface* Interface() { return &zwlr_data_control_manager_v1_interface; }
  static Device* GetDevice(Manager* m, wl_seat* seat) {
    return zwlr_data_control_manager_v1_get_data_device(m, seat);
  }
  static void Listen(Device* d, const DeviceListener* l, void* data) {
    zwlr_data_control_device_v1_add_listener(d, l, data);
  }
  static void Listen(Offer* o, const OfferListener* l, void* data) {
    zwlr_data_control_offer_v1_add_listener(o, l, data);
  }
  static void Receive(Offer* o, const char* type, int fd) {
    zwlr_data_control_offer_v1_receive(o, type, fd);
  }
  static void Destroy(Offer* o) { zwlr_data_control_offer_v1_destroy(o); }
  static void Destroy(Device* d) { zwlr_data_control_device_v1_destroy(d); }
  static void Destroy(Manager* m) { zwlr_data_control_manager_v1_destroy(m); }
};

/// The globals the reader needs, as the registry announces them.
struct TGlobals {
  uint32_t Seat = 0, SeatVersion = 0;
  uint32_t Ext = 0, ExtVersion = 0;
  uint32_t Wlr = 0, WlrVersion = 0;
};

void OnGlobal(void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version) {
  auto& g = *static_cast<TGlobals*>(data);
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && g.Seat == 0) {
    g.Seat = name;
    g.SeatVersion = version;
  } else if (std::strcmp(interface, ext_data_control_manager_v1_interface.name) == 0) {
    g.Ext = name;
    g.ExtVersion = version;
  } else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0) {
    g.Wlr = name;
    g.WlrVersion = version;
  }
}

void OnGlobalRemoved(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemoved};

const char* SelectionName(WatchedSelection which) {
  return which == WatchedSelection::Clipboard ? "the clipboard" : "the selection";
}

template <class P>
class WaylandWatcher final : public ClipboardWatcher {
 public:
  WaylandWatcher(wl_display* display, wl_registry* registry, wl_seat* seat, typename P::Manager* m,
                 uint32_t version, const TReadLimits& limits, Deliver deliver)
      : display_(display),
        registry_(registry),
        seat_(seat),
        manager_(m),
        primary_(version >= P::kPrimarySince),
        limits_(limits),
        deliver_(std::move(deliver)) {
    device_ = P::GetDevice(manager_, seat_);
    P::Listen(device_, &kDeviceListener, this);
    wl_display_flush(display_);
    thread_ = std::thread([this] { Run(); });
  }

  ~WaylandWatcher() override {
    stop_.Raise();
    thread_.join();
    read_.reset();
    for (Selection& s : selections_) s.Offered.reset();
    introduced_.reset();
    P::Destroy(device_);
    P::Destroy(manager_);
    wl_seat_destroy(seat_);
    wl_registry_destroy(registry_);
    wl_display_disconnect(display_);
  }

  bool WatchesPrimary() const override { return primary_; }

 private:
  /// An offer and the MIME types it listed.
  struct OfferState {
    explicit OfferState(typename P::Offer* proxy) : Proxy(proxy) {}
    ~OfferState() { P::Destroy(Proxy); }
    typename P::Offer* Proxy;
    std::vector<std::string> Types;
  };

  struct Selection {
    std::unique_ptr<OfferState> Offered;  // null: nothing offered
    bool Pending = false;                 // a new offer not read yet
  };

  /// The read under way: one pipe for the hint, then one for the text.
  struct Read {
    WatchedSelection Which;
    TClipboardChange Change;
    std::optional<TTextFormat> Format;
    bool ReadingHint = false;
    std::unique_ptr<TPipeTransfer> Pipe;
    Clock::time_point Deadline;
  };

  // Protocol events, on the reader's thread

  static void OnDataOffer(void* data, typename P::Device*, typename P::Offer* offer) {
    auto* self = static_cast<WaylandWatcher*>(data);
    self->introduced_ = std::make_unique<OfferState>(offer);
    P::Listen(offer, &kOfferListener, self->introduced_.get());
  }

  static void OnOffer(void* data, typename P::Offer*, const char* type) {
    static_cast<OfferState*>(data)->Types.emplace_back(type);
  }

  static void OnSelection(void* data, typename P::Device*, typename P::Offer* offer) {
    static_cast<WaylandWatcher*>(data)->NewOffer(WatchedSelection::Clipboard, offer);
  }

  static void OnPrimarySelection(void* data, typename P::Device*, typename P::Offer* offer) {
    static_cast<WaylandWatcher*>(data)->NewOffer(WatchedSelection::Primary, offer);
  }

  static void OnFinished(void* data, typename P::Device*) {
    static_cast<WaylandWatcher*>(data)->finished_ = true;
  }

  void NewOffer(WatchedSelection which, typename P::Offer* offer) {
    if (read_ && read_->Which == which) read_.reset();  // superseded
    Selection& s = selections_[int(which)];
    s.Offered.reset();
    if (offer && introduced_ && introduced_->Proxy == offer) s.Offered = std::move(introduced_);
    s.Pending = true;
  }

  static constexpr typename P::DeviceListener kDeviceListener = {OnDataOffer, OnSelection,
                                                                 OnFinished, OnPrimarySelection};
  static constexpr typename P::OfferListener kOfferListener = {OnOffer};

  // The thread

  void Run() {
    while (!stop_.Raised() && !finished_) {
      if (!read_) StartNextRead();
      if (!Wait()) {
        LogWarning(kLogClipboard, "watching the Wayland clipboard",
                   "the compositor connection broke");
        return;
      }
      if (read_) Continue();
    }
    if (finished_)
      LogWarning(kLogClipboard, "watching the Wayland clipboard", "the compositor ended it");
  }

  /// Waits for the compositor, the pipe or the stop signal, and dispatches what
  /// the compositor sent. False when the connection broke.
  bool Wait() {
    while (wl_display_prepare_read(display_) != 0)
      if (wl_display_dispatch_pending(display_) < 0) return false;
    wl_display_flush(display_);
    pollfd fds[3] = {{wl_display_get_fd(display_), POLLIN, 0},
                     {stop_.Fd(), POLLIN, 0},
                     {read_ ? read_->Pipe->Fd() : -1, POLLIN, 0}};
    int timeout = -1;
    if (read_)
      timeout = int(std::max<int64_t>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                             read_->Deadline - Clock::now())
                                             .count()) +
                    1);
    const int ready = poll(fds, 3, timeout);
    if (ready > 0 && (fds[0].revents & POLLIN))
      wl_display_read_events(display_);
    else
      wl_display_cancel_read(display_);
    if (read_ && fds[2].revents) read_->Deadline = Clock::now() + limits_.Timeout;
    return wl_display_dispatch_pending(display_) >= 0 && wl_display_get_error(display_) == 0;
  }

  /// Starts reading the next new offer; an offer with nothing to read is handed
  /// over at once, and the one after it started.
  void StartNextRead() {
    for (Selection& s : selections_) {
      if (read_) return;
      if (!s.Pending) continue;
      s.Pending = false;
      read_ = std::make_unique<Read>();
      read_->Which = WatchedSelection(&s - selections_);
      read_->Change.Selection = read_->Which;
      if (!s.Offered) {
        Finish();  // nothing offered
        continue;
      }
      const std::vector<std::string>& types = s.Offered->Types;
      for (const std::string& type : types) read_->Change.Owner += type + '\n';
      read_->Format = ChooseTextFormat(types);
      if (OffersPasswordHint(types))
        Receive(std::string(kPasswordManagerHint), true);
      else if (read_->Format)
        Receive(read_->Format->Name, false);
      else
        Finish();
    }
  }

  void Receive(const std::string& type, bool hint) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
      LogWarning(kLogClipboard, std::string("reading ") + SelectionName(read_->Which),
                 ErrorNumberReason(errno));
      return Finish();
    }
    P::Receive(selections_[int(read_->Which)].Offered->Proxy, type.c_str(), fds[1]);
    close(fds[1]);  // the owner holds its own copy now
    wl_display_flush(display_);
    read_->ReadingHint = hint;
    read_->Pipe = std::make_unique<TPipeTransfer>(fds[0], limits_.MaxBytes);
    read_->Deadline = Clock::now() + limits_.Timeout;
  }

  void Continue() {
    const TPipeTransfer::State state = read_->Pipe->Pump();
    if (state == TPipeTransfer::State::More) {
      if (Clock::now() >= read_->Deadline)
        Drop("its owner did not write within " + std::to_string(limits_.Timeout.count()) + " ms");
      return;
    }
    if (state == TPipeTransfer::State::TooBig)
      return Drop("the text is larger than " + std::to_string(limits_.MaxBytes) + " bytes");
    if (state == TPipeTransfer::State::Failed) return Drop(ErrorNumberReason(errno));
    std::string bytes = read_->Pipe->Take();
    if (read_->ReadingHint) {
      read_->Change.Secret = IsSecretHint(std::move(bytes));
      if (read_->Format) return Receive(read_->Format->Name, false);
      return Finish();
    }
    read_->Change.Text = true;
    read_->Change.Value = DecodeText(bytes, read_->Format->Encoding);
    Finish();
  }

  /// Ends the read without text (an unreadable hint counts as a secret).
  void Drop(const std::string& reason) {
    LogWarning(kLogClipboard, std::string("reading ") + SelectionName(read_->Which), reason);
    if (read_->ReadingHint) read_->Change.Secret = true;
    Finish();
  }

  void Finish() {
    std::unique_ptr<Read> done = std::move(read_);
    deliver_(std::move(done->Change));
  }

  wl_display* display_;
  wl_registry* registry_;
  wl_seat* seat_;
  typename P::Manager* manager_;
  typename P::Device* device_ = nullptr;
  bool primary_;
  TReadLimits limits_;
  Deliver deliver_;
  std::unique_ptr<OfferState> introduced_;  // announced, not yet given a selection
  Selection selections_[2];
  std::unique_ptr<Read> read_;
  bool finished_ = false;
  TStopSignal stop_;
  std::thread thread_;
};

template <class P>
std::unique_ptr<ClipboardWatcher> Bind(wl_display* display, wl_registry* registry, wl_seat* seat,
                                       uint32_t name, uint32_t version, const TReadLimits& limits,
                                       ClipboardWatcher::Deliver deliver) {
  const uint32_t bound = std::min(version, P::kVersion);
  auto* manager =
      static_cast<typename P::Manager*>(wl_registry_bind(registry, name, P::Interface(), bound));
  return std::make_unique<WaylandWatcher<P>>(display, registry, seat, manager, bound, limits,
                                             std::move(deliver));
}

}  // namespace

std::unique_ptr<ClipboardWatcher> StartWaylandClipboardWatcher(const TReadLimits& limits,
                                                               ClipboardWatcher::Deliver deliver) {
  wl_display* display = wl_display_connect(nullptr);
  if (!display) return nullptr;
  TGlobals globals;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &globals);
  if (wl_display_roundtrip(display) < 0 || globals.Seat == 0 ||
      (globals.Ext == 0 && globals.Wlr == 0)) {
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return nullptr;
  }
  auto* seat =
      static_cast<wl_seat*>(wl_registry_bind(registry, globals.Seat, &wl_seat_interface, 1));
  if (globals.Ext != 0)
    return Bind<ExtControl>(display, registry, seat, globals.Ext, globals.ExtVersion, limits,
                            std::move(deliver));
  return Bind<WlrControl>(display, registry, seat, globals.Wlr, globals.WlrVersion, limits,
                          std::move(deliver));
}

}  // namespace magna::platform
