// Program entry: the application object, the three forms, the message loop.
#include <windows.h>
#include <ole2.h>

#include "app/HelpForm.h"
#include "app/MainForm.h"
#include "app/ResultForm.h"
#include "framework/Forms.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  OleInitialize(nullptr);
  // One process-wide lock, held for the program's life as the platform
  // expects of such a program; nothing takes it.
  CRITICAL_SECTION processLock;
  InitializeCriticalSection(&processLock);

  InitFramework();
  Application->Initialize();
  Application->MainFormOnTaskBar = true;
  Application->CreateForm(MainForm);
  Application->CreateForm(HelpForm);
  Application->CreateForm(ResultForm);
  Application->Run();
  DoneFramework();

  DeleteCriticalSection(&processLock);
  OleUninitialize();
  return 0;
}
