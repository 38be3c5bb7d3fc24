#include "monitor/cls_on_top.h"

#include <memory>

namespace {
std::unique_ptr<clsOnTop> sharedOnTop;
}  // namespace

// Only the band changes: activating the window is left to whoever shows it
// (a hidden window would otherwise be activated before it is shown).
void clsOnTop::MakeNormal(HWND hWnd) {
  SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void clsOnTop::MakeTopMost(HWND hWnd) {
  SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

clsOnTop& OnTop() {
  if (!sharedOnTop) CreateOnTop();
  return *sharedOnTop;
}

void CreateOnTop() { sharedOnTop = std::make_unique<clsOnTop>(); }
