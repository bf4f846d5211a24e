#pragma once
// Resource IDs of tarnholt.exe, shared by tarnholt.rc and the code that loads them.
#define IDI_TARNHOLT 1
