#include "app/clipboard/selectionWatch.h"

#include "platform/services.h"
#include "text/myUtils.h"

namespace magna {

TSelectionWatch::TSelectionWatch(std::function<bool()> active,
                                 std::function<void(const WideString&)> take)
    : active_(std::move(active)), take_(std::move(take)) {
  platform::Selection().SetChangeHandler([this] { SelectionChanged(); });
}

TSelectionWatch::~TSelectionWatch() {
  platform::Selection().SetChangeHandler(nullptr);
}

void TSelectionWatch::SelectionChanged() {
  if (!active_()) return;
  platform::ClipboardService& selection = platform::Selection();
  // Asked first: it needs no other program, and most changes while the user selects
  // in this window are the program's own.
  if (selection.IsOwnContent()) return;
  using Format = platform::ClipboardService::Format;
  if (!selection.IsFormatAvailable(Format::UnicodeText) || selection.IsMarkedSecret()) return;
  const WideString text = GetClipboardText(selection);
  if (!text.empty()) take_(text);
}

}  // namespace magna
