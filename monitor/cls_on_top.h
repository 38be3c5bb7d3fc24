// Moves a window into and out of the topmost band, leaving its position,
// size and activation as they are.
#pragma once

#include <windows.h>

class clsOnTop {
 public:
  void MakeNormal(HWND hWnd);
  void MakeTopMost(HWND hWnd);
};

// The one instance the program shares. The monitor window's load makes a fresh
// one; every other use makes it when there is none yet.
clsOnTop& OnTop();
void CreateOnTop();
