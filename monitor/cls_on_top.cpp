#include "monitor/cls_on_top.h"

#include <memory>

namespace {
std::unique_ptr<clsOnTop> sharedOnTop;
}  // namespace

void clsOnTop::MakeNormal(HWND hWnd) {
  SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void clsOnTop::MakeTopMost(HWND hWnd) {
  SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

clsOnTop& OnTop() {
  if (!sharedOnTop) CreateOnTop();
  return *sharedOnTop;
}

void CreateOnTop() { sharedOnTop = std::make_unique<clsOnTop>(); }
