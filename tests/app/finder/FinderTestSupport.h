#pragma once
// The file finder's page tests: the main window of this test executable with
// the finder's lists emptied before and after each test (start-up filled the
// paths with this prefix's drives, Z: among them, which no test may search).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/finder/Frame5.h"
#include "app/mainwindow/MainForm.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/ComCtrls.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "framework/TabNotebook.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/common/TestEnv.h"

namespace findertest {

inline void ClearFinderLists(TMainForm* form) {
  form->CheckListBox1->Clear();
  form->CheckListBox1->SetSorted(false);
  form->ListView2->Items()->Clear();
  form->ListView3->Items()->Clear();
  form->ListView4->Items()->Clear();
  for (int i = 0; i < 3; ++i) form->StatusBar1->SetPanelText(i, L"");
  LastDriveIndex = -1;
  form->FinderSearch().FindStop = false;
}

class FinderPageTest : public ::testing::Test {
 protected:
  // The finder's page is on screen with the results in front, as a user
  // watches a search: the list fills while it is being painted.
  void SetUp() override {
    form_ = testenv::EnsureMainForm();
    ClearFinderLists(form_);
    form_->SelectPage(15);
    form_->TabbedNotebook1->SetPageIndex(3);
    Application->ProcessMessages();
  }
  void TearDown() override {
    ClearFinderLists(form_);
    form_->TabbedNotebook1->SetPageIndex(0);
    form_->SelectPage(0);
    Application->ProcessMessages();
  }

  // A ticked search path (a folder of this test; "\" appended).
  void AddPath(const std::wstring& dir, bool ticked = true) {
    const int at = form_->CheckListBox1->Items()->AddObject(dir + L"\\", nullptr);
    form_->CheckListBox1->SetChecked(at, ticked);
  }
  void AddFilter(const std::wstring& mask, bool ticked = true) {
    TFrame5::AddExt(mask, L"", form_->ListView2, ticked);
  }
  void AddExclusion(const std::wstring& text, bool ticked = true) {
    TFrame5::AddExl(text, L"", form_->ListView3, ticked);
  }

  // Captions of the result rows, as a set (the file system's order is its own).
  std::multiset<std::wstring> Results() const {
    std::multiset<std::wstring> names;
    for (int i = 0; i < form_->ListView4->Items()->Count(); ++i)
      names.insert(form_->ListView4->Items()->Item(i)->Caption());
    return names;
  }
  std::vector<std::wstring> Paths() const {
    std::vector<std::wstring> v;
    for (int i = 0; i < form_->CheckListBox1->Count(); ++i) v.push_back(form_->CheckListBox1->Items()->Strings(i));
    return v;
  }
  TFinderSearch& Search() const { return form_->FinderSearch(); }
  TListItem* Row(const std::wstring& caption) const {
    for (int i = 0; i < form_->ListView4->Items()->Count(); ++i)
      if (form_->ListView4->Items()->Item(i)->Caption() == caption) return form_->ListView4->Items()->Item(i);
    return nullptr;
  }

  TMainForm* form_ = nullptr;
};

// Makes a file read-only (Wine clears its write bits, so even as root the
// delete is refused); the destructor gives the write bits back so the
// temporary folder can go.
class ScopedReadOnly {
 public:
  explicit ScopedReadOnly(std::wstring path) : path_(std::move(path)) {
    SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY);
  }
  ~ScopedReadOnly() { SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL); }
  ScopedReadOnly(const ScopedReadOnly&) = delete;
  ScopedReadOnly& operator=(const ScopedReadOnly&) = delete;

 private:
  std::wstring path_;
};

// Answers the input dialogs of this thread while alive, one step per
// dialog in order: records the caption, prompt and offered text, then types
// the step's text and confirms, or cancels.
class InputScript {
 public:
  struct Step {
    std::wstring typed;
    bool confirm = true;
  };
  struct Seen {
    std::wstring caption, prompt, offered;
  };
  explicit InputScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 10, &InputScript::Tick);
  }
  ~InputScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  InputScript(const InputScript&) = delete;
  InputScript& operator=(const InputScript&) = delete;
  const std::vector<Seen>& Dialogs() const { return seen_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    InputScript* self = current_;
    if (!self || self->next_ >= self->steps_.size()) return;
    for (int i = 0; i < Screen->FormCount(); ++i) {
      auto* f = dynamic_cast<TInputQueryForm*>(Screen->Forms(i));
      if (!f || !f->Visible() || f->Tag == kAnswered) continue;
      f->Tag = kAnswered;  // a form is answered once, even while it closes
      const Step& step = self->steps_[self->next_++];
      self->seen_.push_back({f->Caption(), f->Prompt->Caption(), f->Edit->Text()});
      if (step.confirm) {
        f->Edit->SetText(step.typed);
        SendMessageW(f->OkButton->Handle(), BM_CLICK, 0, 0);
      } else {
        SendMessageW(f->CancelButton->Handle(), BM_CLICK, 0, 0);
      }
      return;
    }
  }
  static constexpr intptr_t kAnswered = 0x5eed;
  static inline InputScript* current_ = nullptr;
  std::vector<Step> steps_;
  std::vector<Seen> seen_;
  size_t next_ = 0;
  UINT_PTR timer_ = 0;
};

}  // namespace findertest
