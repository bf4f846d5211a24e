#include "skin/engine/MessageBoxes.h"

#include "skin/engine/AppWindow.h"

std::wstring DlgCaptions[5] = {L"Warning", L"Error", L"Information", L"Confirm", L""};

POINT DlgTargetPos{-1, -1};

UINT MessageDlgFlags(TMsgDlgType dlgType, TMsgDlgButtons buttons) {
  UINT flags = 0;
  switch (dlgType) {
    case mtWarning: flags = MB_ICONWARNING; break;
    case mtError: flags = MB_ICONERROR; break;
    case mtInformation: flags = MB_ICONINFORMATION; break;
    case mtConfirmation: flags = MB_ICONQUESTION; break;
    default: break;
  }
  auto has = [&](TMsgDlgBtn b) { return HasButton(buttons, b); };
  // First match wins: an OK button outranks every other combination.
  if (has(mbOK) && has(mbCancel))
    flags |= MB_OKCANCEL;
  else if (has(mbOK))
    flags |= MB_OK;
  else if (has(mbAbort) || has(mbIgnore))
    flags |= MB_ABORTRETRYIGNORE;
  else if ((has(mbYes) || has(mbNo)) && has(mbCancel))
    flags |= MB_YESNOCANCEL;
  else if (has(mbYes) || has(mbNo))
    flags |= MB_YESNO;
  else if (has(mbRetry))
    flags |= MB_RETRYCANCEL;
  else
    flags |= MB_OK;
  if (has(mbHelp)) flags |= MB_HELP;
  return flags;
}

std::wstring MessageDlgCaption(const std::wstring& caption, TMsgDlgType dlgType) {
  if (!caption.empty()) return caption;
  return dlgType <= mtCustom ? DlgCaptions[dlgType] : std::wstring();
}

int SkinnedMessageDlg(const std::wstring& msg, TMsgDlgType dlgType,
                      TMsgDlgButtons buttons, long helpCtx) {
  return SkinnedMessageDlgPos(std::wstring(), msg, dlgType, buttons, helpCtx, -1, -1);
}

int SkinnedMessageDlgPos(const std::wstring& caption, const std::wstring& msg,
                         TMsgDlgType dlgType, TMsgDlgButtons buttons, long /*helpCtx*/,
                         int x, int y, const std::wstring& /*helpFileName*/) {
  UINT flags = MessageDlgFlags(dlgType, buttons);
  std::wstring text = MessageDlgCaption(caption, dlgType);
  // The position holds only while the box is up, also when it throws.
  struct TargetScope {
    TargetScope(int x, int y) { DlgTargetPos = POINT{x, y}; }
    ~TargetScope() { DlgTargetPos = POINT{-1, -1}; }
  } scope(x, y);
  return ::MessageBoxW(ApplicationWindow(), msg.c_str(), text.c_str(), flags);
}
