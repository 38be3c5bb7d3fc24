// A form: one top-level window of the program with its controls, timers and
// lines, laid out in twips, and the base of its controls (toolkit/controls.h
// has the kinds). Each form of the program is a single program-wide
// instance. Loading creates the window and runs Form_Load (the window stays
// hidden unless Form_Load shows it); unloading runs Form_Unload, which may
// cancel, and otherwise destroys the window. The object outlives its window
// and can be loaded again.
#pragma once

#include <windows.h>

#include <functional>
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

// Each control is a member of its form, declared with its layout in twips;
// its window exists while the form is loaded, or, for a form that makes its
// controls when first shown, from then on. Reading or changing a control of a
// form that is not loaded loads the form first; a text or check state set
// before the control's window is made is kept and given to the window when it is.
struct TwipRect {
  int left, top, width, height;
};

struct ControlDesign {
  int id;                  // dialog control id, 100 and up (1 and 2 are Enter and Esc)
  std::string text;
  TwipRect rect;
  int tabIndex = 0;
  FontDesign font = kDefaultFont;
};

class Control {
 public:
  Control(Form& owner, ControlDesign design);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND hWnd();
  int Id() const { return design_.id; }
  std::string Text();
  void SetText(const std::string& text);

 protected:
  friend class Form;
  virtual const wchar_t* WindowClass() const = 0;
  virtual DWORD Style() const = 0;
  virtual DWORD ExStyle() const { return 0; }
  virtual bool DrawsOnly() const { return false; }  // labels and pictures: below the focusable controls
  virtual void OnCreated() {}
  virtual void OnCommand(WORD code) { (void)code; }
  // True when the key is used up: no dialog key handling follows.
  virtual bool OnKeyDown(int keyCode, int shift) { (void)keyCode; (void)shift; return false; }
  // A left click released over the control (client coordinates).
  virtual void OnClicked(POINT point) { (void)point; }
  // The context-menu key, Shift+F10 or a right click; `screen` is (-1, -1) from the keyboard.
  virtual void OnContextMenu(POINT screen) { (void)screen; }
  virtual RECT PixelRect() const;
  // The form's default button (Enter) and cancel button (Esc): see Button.
  virtual bool IsDefault() const { return false; }
  virtual bool IsCancel() const { return false; }
  // Enter or Esc chose it.
  virtual void OnDialogKey() {}
  // A text set from code while the window is not made (TextBox: its change event).
  virtual void OnUnmadeTextSet() {}
  void Create(HWND parent);
  virtual void Forget();
  HFONT Font() const;
  // The form loaded; the control's window, or null while it is not made.
  HWND MadeWindow();
  // The text the window is made with: the last set from code, else the design's.
  const std::string& UnmadeText() const { return unmadeText_ ? *unmadeText_ : design_.text; }

  Form& owner_;
  ControlDesign design_;
  HWND window_ = nullptr;

 private:
  std::optional<std::string> unmadeText_;
};

// A straight line drawn on the form, in twips; its width is in pixels.
class Line {
 public:
  Line(Form& owner, POINT fromTwips, POINT toTwips, COLORREF colour, int widthPixels);
  void Draw(HDC dc, int dpi) const;

 private:
  POINT from_, to_;
  COLORREF colour_;
  int width_;
};

// Raises onTimer every `intervalMs` while its form is loaded.
class Timer {
 public:
  Timer(Form& owner, UINT_PTR id, UINT intervalMs);
  std::function<void()> onTimer;

 private:
  friend class Form;
  UINT_PTR id_;
  UINT interval_;
};

}  // namespace tk
