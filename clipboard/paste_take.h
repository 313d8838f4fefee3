#pragma once
// The rules that tell the take of a paste's offered content from other reads.
// Window-free.
#include <cstdint>

namespace snibbet {

// Whether the target of a paste has taken the offered content. A read
// before the paste keys, or by another process than the target's (a
// clipboard viewer or manager reading the change), is not the take; a reader
// without a window, or a target not known, may be the target and counts.
class PasteTake {
 public:
  // A new offer is on the clipboard: untaken, no paste keys for it yet. A
  // target known to leave offers unread stays known.
  void Offered() {
    keysSent_ = false;
    taken_ = false;
    targetProcess_ = 0;
  }
  void PasteKeysSent(std::uint32_t targetProcess) {
    keysSent_ = true;
    targetProcess_ = targetProcess;
  }
  // A format rendered for a reader of `readerProcess` (0: unknown); true when
  // that read is the take.
  bool Rendered(std::uint32_t readerProcess) {
    if (!keysSent_ || taken_) return false;
    if (readerProcess != 0 && targetProcess_ != 0 && readerProcess != targetProcess_) return false;
    taken_ = true;
    if (targetProcess_ == unreadBy_) leftUnread_ = false;
    return true;
  }
  // The restore must wait for the take: the target was told to paste an
  // offer still on the clipboard and has not read it.
  bool Awaited(bool offerOnClipboard) const { return offerOnClipboard && keysSent_ && !taken_; }
  // The wait for the take ran out: this target is not waited for again until
  // it reads an offer (Ctrl+V may mean something else to it).
  void WaitRanOut() {
    leftUnread_ = true;
    unreadBy_ = targetProcess_;
  }
  bool WorthWaitingFor(bool offerOnClipboard) const {
    return Awaited(offerOnClipboard) && !(leftUnread_ && unreadBy_ == targetProcess_);
  }

 private:
  bool keysSent_ = false;
  bool taken_ = false;
  std::uint32_t targetProcess_ = 0;
  bool leftUnread_ = false;
  std::uint32_t unreadBy_ = 0;
};

}  // namespace snibbet
