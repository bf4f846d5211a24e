// Program entry: the application object, the three forms, the message loop.
#include <windows.h>
#include <ole2.h>

#include "app/duplicates/HelpForm.h"
#include "app/mainwindow/MainForm.h"
#include "app/duplicates/ResultForm.h"
#include "framework/Forms.h"
#include "skin/engine/SkinLibrary.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  OleInitialize(nullptr);
  // The program's one process-wide critical section: made at start, deleted
  // at the end; nothing enters it.
  CRITICAL_SECTION processLock;
  InitializeCriticalSection(&processLock);

  InitSkinLibrary();
  InitFramework();
  Application->Initialize();
  Application->MainFormOnTaskBar = true;
  Application->CreateForm(MainForm);
  Application->CreateForm(HelpForm);
  Application->CreateForm(ResultForm);
  Application->Run();
  DoneFramework();
  DoneSkinLibrary();

  DeleteCriticalSection(&processLock);
  OleUninitialize();
  return 0;
}
