// The main window as the copy that runs: the options that copies started
// later hand to it. A capture asked for so gives its page as a hot key's
// does, and none is lost: each waits for the page, the region or the timed
// request before it, and is carried out in its turn.
#include "app/main_window.h"
#include "core/commands/command_line.h"
#include "services/commands/command_handoff.h"

// The sender has its answer before anything is carried out, as the tray's
// commands are: it never waits for a capture or a window. While someone
// chooses a region they opened with the key or the tray icon, a capture would
// wait on them unseen: it is refused instead, and a box tells them. A region
// window a command line asked for is the queue's own, and what comes
// meanwhile waits for it.
LRESULT MainWindow::TakeHandedCommand(const COPYDATASTRUCT& data) {
  const int command = CommandOfOption(HandedOption(data));
  if (command == 0) return FALSE;
  const HotKeySetting* capture = HotKeyWithCommand(command);
  if (!capture) {
    PostMessageW(handle(), WM_COMMAND, static_cast<WPARAM>(command), 0);
    return TRUE;
  }
  if (overlay_ && !regionHanded_) {
    PostMessageW(handle(), WM_CAPTURE_REFUSED, 0, 0);
    return kOptionRefused;
  }
  handedCaptures_.push_back(capture->kind);
  CarryOnHandedCaptures();
  return TRUE;
}

// One at a time, in the order they came. The message waits for a page being
// spooled; it comes again when a region window ends and at each tick of a
// timed request.
void MainWindow::RunHandedCapture() {
  if (handedCaptures_.empty() || overlay_ || capture_->Waiting()) return;
  const CaptureKind kind = handedCaptures_.front();
  handedCaptures_.pop_front();
  // Posted before the capture starts, so that one that fails holds up none after it.
  CarryOnHandedCaptures();
  StartCapture(kind);
  regionHanded_ = overlay_ != nullptr;
}

void MainWindow::CarryOnHandedCaptures() {
  if (!handedCaptures_.empty()) PostMessageW(handle(), WM_HANDED_CAPTURE, 0, 0);
}
