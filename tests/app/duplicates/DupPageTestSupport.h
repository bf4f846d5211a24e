#pragma once
// Helpers of the duplicate finder's window tests: waiting with the message
// loop running, watching a control's texts, acting inside a modal loop.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/duplicates/DupTables.h"
#include "framework/Controls.h"
#include "tests/app/common/CleanupTestSupport.h"

namespace dupgui {

using cleanuptest::PumpFor;
using cleanuptest::PumpUntil;

// Every text a control takes while alive, in order.
class TextRecorder {
 public:
  explicit TextRecorder(TControl* control)
      : control_(control),
        hook_(control, [this](TMessage& m, const TWndMethod& next) {
          next(m);
          if (m.Msg == CM_TEXTCHANGED) texts_.push_back(control_->GetText());
        }) {}
  const std::vector<std::wstring>& Texts() const { return texts_; }

 private:
  TControl* control_;
  std::vector<std::wstring> texts_;
  TWndProcHook hook_;
};

// While alive, checks `ready` every few milliseconds on this thread's
// message loop (a modal loop included) and runs `act` once when it holds.
class ModalDriver {
 public:
  ModalDriver(std::function<bool()> ready, std::function<void()> act)
      : ready_(std::move(ready)), act_(std::move(act)) {
    previous_ = current_;
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 10, &ModalDriver::Tick);
  }
  ~ModalDriver() {
    KillTimer(nullptr, timer_);
    current_ = previous_;
  }
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;
  bool Done() const { return done_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    ModalDriver* self = current_;
    if (!self || self->timer_ != id || self->done_ || self->busy_) return;
    self->busy_ = true;
    if (self->ready_()) {
      self->done_ = true;
      self->act_();
    }
    self->busy_ = false;
  }

  static inline thread_local ModalDriver* current_ = nullptr;
  ModalDriver* previous_ = nullptr;
  std::function<bool()> ready_;
  std::function<void()> act_;
  UINT_PTR timer_ = 0;
  bool done_ = false;
  bool busy_ = false;
};

// Puts the shared tables back as they were when the test ends.
class SavedDupTables {
 public:
  SavedDupTables()
      : folders_(DupFolders), files_(DupFiles), criteria_(DupCriteria), subfolders_(DupScanSubfolders) {}
  ~SavedDupTables() {
    DupFolders = folders_;
    DupFiles = files_;
    DupCriteria = criteria_;
    DupScanSubfolders = subfolders_;
    DupStop = false;
  }

 private:
  std::vector<TDupFolderRec> folders_;
  std::vector<TDupFileRec> files_;
  TDupCriteria criteria_;
  bool subfolders_;
};

}  // namespace dupgui
