// A form: one top-level window of the program with its controls, timers and
// lines, laid out in twips. Each form of the program is a single program-wide
// instance. Loading creates the window and runs Form_Load (the window stays
// hidden unless Form_Load shows it); unloading runs Form_Unload, which may
// cancel, and otherwise destroys the window. The object outlives its window
// and can be loaded again.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/handles.h"

namespace tk {

class Control;
class Timer;
class Line;

// The whole text of a window or control, however long.
std::string WindowText(HWND window);

// A font by face and size in hundredths of a point (825 = 8.25 pt).
struct FontDesign {
  const char* face;
  int hundredthsOfPoint;
  auto operator<=>(const FontDesign&) const = default;
};
inline constexpr FontDesign kDefaultFont{"MS Sans Serif", 825};

struct FormDesign {
  const char* className = nullptr;  // the window class, unique per form
  std::string caption = {};
  int clientWidth = 0;             // twips
  int clientHeight = 0;            // twips
  std::optional<POINT> clientPosition = {};  // twips from the screen's top-left; system's choice if empty
  bool fixedDialog = true;         // fixed dialog frame with close box; false: plain hidden window
  WORD iconId = 0;                 // resource id of the window's icon, 0 for none
  // The window's icons, size and controls are made when the form is first
  // shown (or a control's window is asked for): a form that starts hidden costs
  // only its bare window until then. Until its controls are made, texts and
  // check states set from code are kept and applied when they are.
  bool madeAtFirstShow = false;
  // A message-only window (parent HWND_MESSAGE): never shown, not enumerated
  // among the top-level windows, no frame; for a form that only receives messages.
  bool messageOnly = false;
};

class Form {
 public:
  explicit Form(FormDesign design);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Throws WindowError when the window cannot be made.
  void Load();
  void Show();
  void Hide();
  void Unload();
  bool IsLoaded() const { return window_ != nullptr; }
  HWND hWnd();  // loads the form first

  void SetCaption(std::string_view caption);

  // The window's outer edges in twips from the screen's top-left.
  int Left();
  int Top();
  void Move(int leftTwips, int topTwips);
  void SetWindowStateNormal();

  int Dpi() const { return dpi_; }
  int ToPixels(int twips) const;

  // The message loop offers each keyboard message of a form's windows here
  // before dispatch: key-down events of controls (Alt held too), then dialog
  // keys (tab, access keys, Enter, Esc). True when the message was used up.
  static bool PreTranslate(MSG& message);
  // After dispatch: a left click released over a control is that control's click.
  static void AfterDispatch(const MSG& message);
  static Form* FromHandle(HWND window);

 protected:
  virtual void Form_Load() {}
  virtual void Form_Unload(bool& cancel) { (void)cancel; }
  // Messages a form handles itself; nothing means the toolkit's handling.
  virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  friend class Control;
  friend class Timer;
  friend class Line;

  LRESULT Proc(UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void RegisterWindowClass() const;
  // Gives the window its icons, size and controls unless it has them (the
  // form must be loaded).
  void Furnish();
  void SetIcons();
  void CreateControls();
  void LayOut();
  void PlaceWindow(const RECT* suggested);
  HFONT Font(const FontDesign& design);
  void Paint();
  void OnCommand(WORD id, WORD code, HWND from);
  Control* ControlById(int id) const;
  LRESULT DefaultButtonId() const;
  bool HandleKeyDown(const MSG& message);
  Control* ControlByWindow(HWND window) const;
  void RestoreFocus();

  FormDesign design_;
  HWND window_ = nullptr;
  bool furnished_ = false;
  HWND lastFocus_ = nullptr;  // the control that had the focus when the window was last active
  int dpi_ = 96;
  std::vector<Control*> controls_;
  std::vector<Timer*> timers_;
  std::vector<Line*> lines_;
  std::map<FontDesign, GdiObject<HFONT>> fonts_;
  IconHandle icon_;
  IconHandle smallIcon_;
};

}  // namespace tk
