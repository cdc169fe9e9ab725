#pragma once
// A clipboard reader whose changes the test (or benchmark) hands over itself, from
// whichever thread it likes, as a reader's thread would.
// Typical use:
//   ScriptedWatcher* watcher;
//   auto reader = std::make_shared<QtClipboardReader>(ScriptedWatcher::Starter(&watcher));
//   std::thread([&] { watcher->Hand(change); }).join();

#include <memory>

#include "platform/clipboardWatcher.h"

namespace magna::test {

class ScriptedWatcher : public platform::ClipboardWatcher {
 public:
  explicit ScriptedWatcher(Deliver deliver) : deliver_(std::move(deliver)) {}
  bool WatchesPrimary() const override { return true; }
  void Hand(platform::TClipboardChange change) { deliver_(std::move(change)); }

  /// A starter that makes one and tells where it is.
  static auto Starter(ScriptedWatcher** made) {
    return [made](Deliver deliver) {
      auto watcher = std::make_unique<ScriptedWatcher>(std::move(deliver));
      *made = watcher.get();
      return std::unique_ptr<platform::ClipboardWatcher>(std::move(watcher));
    };
  }

 private:
  Deliver deliver_;
};

/// A change of another program's text offer.
inline platform::TClipboardChange TextOffer(
    WideString text, std::string owner = "x11:42",
    platform::WatchedSelection which = platform::WatchedSelection::Clipboard) {
  platform::TClipboardChange change;
  change.Selection = which;
  change.Text = true;
  change.Value = std::move(text);
  change.Owner = std::move(owner);
  change.Own = false;
  return change;
}

}  // namespace magna::test
