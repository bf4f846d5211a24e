#pragma once
// Answers the message boxes of this thread while alive: each one is recorded
// (caption and text) and closed with OK at once, so code that shows one runs
// on in a test without a user.
#include <windows.h>

#include <string>
#include <vector>

namespace testenv {

struct CaughtMessageBox {
  std::wstring Caption;
  std::wstring Text;
};

class MessageBoxCatcher {
 public:
  MessageBoxCatcher();
  ~MessageBoxCatcher();
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

  const std::vector<CaughtMessageBox>& Boxes() const { return boxes_; }
  // The texts alone, in the order the boxes came.
  std::vector<std::wstring> Texts() const;
  void Clear() { boxes_.clear(); }

 private:
  static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
  void Catch(HWND dialog);

  HHOOK hook_ = nullptr;
  MessageBoxCatcher* previous_ = nullptr;
  std::vector<HWND> answered_;
  std::vector<CaughtMessageBox> boxes_;
};

}  // namespace testenv
