// Message boxes the skin engine can skin: the system message box on the
// application window, which the dialog hook skins when it activates and moves
// to the requested position.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

enum TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn : uint8_t {
  mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll,
  mbYesToAll, mbHelp
};
// A set of buttons: bit n stands for button n.
using TMsgDlgButtons = uint32_t;
inline constexpr TMsgDlgButtons MsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
  TMsgDlgButtons set = 0;
  for (TMsgDlgBtn b : buttons) set |= 1u << b;
  return set;
}
inline constexpr bool HasButton(TMsgDlgButtons set, TMsgDlgBtn b) {
  return (set & (1u << b)) != 0;
}

// Default captions by dialog type, writable.
extern std::wstring DlgCaptions[5];

// Where the dialog hook moves the next message box; (-1, -1) leaves it where
// the system puts it. Set only for the duration of SkinnedMessageDlgPos.
extern POINT DlgTargetPos;

// The MB_ flags for a dialog type and a set of buttons.
UINT MessageDlgFlags(TMsgDlgType dlgType, TMsgDlgButtons buttons);
// The given caption, or the default caption of the type when it is empty.
std::wstring MessageDlgCaption(const std::wstring& caption, TMsgDlgType dlgType);

// Shows the box on the application window and returns the message box's
// result (IDOK, IDCANCEL, IDYES ...). HelpCtx and HelpFileName are not used.
int SkinnedMessageDlg(const std::wstring& msg, TMsgDlgType dlgType,
                      TMsgDlgButtons buttons, long helpCtx);
int SkinnedMessageDlgPos(const std::wstring& caption, const std::wstring& msg,
                         TMsgDlgType dlgType, TMsgDlgButtons buttons, long helpCtx,
                         int x, int y, const std::wstring& helpFileName = std::wstring());
