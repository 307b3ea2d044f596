#include "launcher/form1_win32.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/platform/program_starter.h"
#include "common/platform/utf16_windows.h"
#include "launcher/form1_table.h"

namespace tevol::launcher {

namespace {

constexpr wchar_t kWindowClass[] = L"TevolForm1";
constexpr int kFirstControlId = 100;

std::wstring Trimmed(std::wstring text) {
  const std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return std::wstring();
  const std::size_t last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

// The font of the table: its family by name, with its character set, normal
// weight, no italic, underline or strike-out. Where the family is not
// installed the system's font mapper takes one of the same character set.
HFONT MakeFont(const FontRequest& request) {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  LOGFONTW font = {};
  font.lfHeight = -static_cast<LONG>(request.point_size * dpi / 72.0 + 0.5);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = static_cast<BYTE>(request.charset);
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = static_cast<BYTE>(
      DEFAULT_PITCH | (request.charset == kShiftJisCharset ? FF_MODERN : FF_ROMAN));
  const std::wstring family = Wide(request.family);
  family.copy(font.lfFaceName, LF_FACESIZE - 1);
  return ::CreateFontIndirectW(&font);
}

// The pixel size of `text` drawn in `font`.
SIZE TextSize(HWND window, HFONT font, const std::wstring& text) {
  HDC dc = ::GetDC(window);
  HGDIOBJ old = ::SelectObject(dc, font);
  SIZE size = {0, 0};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return size;
}

class Form1Win32 {
 public:
  explicit Form1Win32(ProgramStarter& starter) : starter_(starter) {}
  ~Form1Win32() {
    for (HFONT font : fonts_) ::DeleteObject(font);
  }

  int Run() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);

    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = &Form1Win32::Procedure;
    window_class.hInstance = instance;
    window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    window_class.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    window_class.lpszClassName = kWindowClass;
    ::RegisterClassExW(&window_class);

    // A fixed frame with a title and a close button, no minimise or maximise
    // button, around a client area of the table's size.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame = {0, 0, TwipsToPixels(kForm1.client_width), TwipsToPixels(kForm1.client_height)};
    ::AdjustWindowRectEx(&frame, style, FALSE, ex_style);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int left = work.left + (work.right - work.left - width) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;

    window_ = ::CreateWindowExW(ex_style, kWindowClass, Wide(kForm1.caption).c_str(), style, left,
                                top, width, height, nullptr, nullptr, instance, this);
    if (window_ == nullptr) return 1;
    CreateControls(instance);
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
    if (first_button_ != nullptr) ::SetFocus(first_button_);

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      // Enter and Return click the button that has the focus, as Space does.
      if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
          IsOurButton(::GetFocus())) {
        ::SendMessageW(::GetFocus(), BM_CLICK, 0, 0);
        continue;
      }
      if (window_ != nullptr && ::IsDialogMessageW(window_, &message)) continue;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    return exit_status_;
  }

 private:
  void CreateControls(HINSTANCE instance) {
    window_font_ = MakeFont(kForm1.font);
    fonts_.push_back(window_font_);
    // Buttons first, in tab order: the dialog manager moves the focus in the
    // order the controls were made.
    int id = kFirstControlId;
    for (const ControlLayout* layout : ButtonsInTabOrder()) {
      HWND button = ::CreateWindowExW(
          0, L"BUTTON", Wide(layout->text).c_str(),
          WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER,
          TwipsToPixels(layout->left), TwipsToPixels(layout->top), TwipsToPixels(layout->width),
          TwipsToPixels(layout->height), window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
          instance, nullptr);
      SetControlFont(button, layout->font);
      buttons_.push_back({button, layout});
      if (first_button_ == nullptr) first_button_ = button;
      if (layout->tool_tip != nullptr) AddToolTip(instance, button, layout->tool_tip);
      ++id;
    }
    for (const ControlLayout& layout : kForm1Controls) {
      if (layout.kind != ControlKind::kLabel) continue;
      const std::wstring text = Wide(layout.text);
      HFONT font = MakeFont(layout.font);
      fonts_.push_back(font);
      int left = TwipsToPixels(layout.left);
      int width = TwipsToPixels(layout.width);
      int height = TwipsToPixels(layout.height);
      if (layout.auto_size) {
        // The label sizes itself to its text from its top; a centred one
        // keeps the horizontal centre of its box, any other its left edge.
        const SIZE size = TextSize(window_, font, text);
        if (layout.alignment == Alignment::kCentre) left += (width - size.cx) / 2;
        width = size.cx;
        height = size.cy;
      }
      HWND label = ::CreateWindowExW(
          0, L"STATIC", text.c_str(),
          WS_CHILD | WS_VISIBLE | SS_NOPREFIX |
              (layout.alignment == Alignment::kCentre ? SS_CENTER : SS_LEFT),
          left, TwipsToPixels(layout.top), width, height, window_,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
      ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      labels_.push_back({label, &layout});
    }
  }

  void SetControlFont(HWND control, const FontRequest& request) {
    HFONT font = MakeFont(request);
    fonts_.push_back(font);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }

  void AddToolTip(HINSTANCE instance, HWND control, const char* text) {
    HWND tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                 instance, nullptr);
    tool_tip_texts_.push_back(Wide(text));
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = tool_tip_texts_.back().data();
    ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }

  bool IsOurButton(HWND control) const {
    for (const Control& button : buttons_) {
      if (button.window == control) return true;
    }
    return false;
  }

  void OnClicked(const ControlLayout& button) {
    if (chosen_) return;
    chosen_ = true;
    if (button.action == Action::kStartProgram) {
      const StartStatus status = starter_.StartInNewConsole(button.program);
      if (!status.ok()) {
        exit_status_ = 1;
        ::MessageBoxW(window_, Wide(StartFailureText(status)).c_str(),
                      Trimmed(Wide(kForm1.caption)).c_str(), MB_OK | MB_ICONERROR);
      }
    }
    ::DestroyWindow(window_);
  }

  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED) {
          for (const Control& button : buttons_) {
            if (button.window == reinterpret_cast<HWND>(lparam)) {
              OnClicked(*button.layout);
              return 0;
            }
          }
        }
        break;
      case WM_CTLCOLORSTATIC:
        for (const Control& label : labels_) {
          if (label.window != reinterpret_cast<HWND>(lparam)) continue;
          HDC dc = reinterpret_cast<HDC>(wparam);
          const Colour& colour = label.layout->text_colour;
          ::SetTextColor(dc, RGB(colour.red, colour.green, colour.blue));
          if (label.layout->transparent_background) ::SetBkMode(dc, TRANSPARENT);
          return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
      case WM_CLOSE:
        // Nothing can be chosen any more, whatever closed the window.
        chosen_ = true;
        ::DestroyWindow(window_);
        return 0;
      case WM_DESTROY:
        window_ = nullptr;
        ::PostQuitMessage(exit_status_);
        return 0;
      default:
        break;
    }
    return ::DefWindowProcW(window_, message, wparam, lparam);
  }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
      auto* form = static_cast<Form1Win32*>(create->lpCreateParams);
      form->window_ = window;
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form1Win32*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) return ::DefWindowProcW(window, message, wparam, lparam);
    return form->Handle(message, wparam, lparam);
  }

  struct Control {
    HWND window;
    const ControlLayout* layout;
  };

  ProgramStarter& starter_;
  HWND window_ = nullptr;
  HWND first_button_ = nullptr;
  HFONT window_font_ = nullptr;
  std::vector<HFONT> fonts_;
  std::vector<Control> buttons_;
  std::vector<Control> labels_;
  std::vector<std::wstring> tool_tip_texts_;
  bool chosen_ = false;  // set before the first start; later clicks do nothing
  int exit_status_ = 0;
};

}  // namespace

int RunLauncherWindowWin32(ProgramStarter& starter) {
  Form1Win32 form(starter);
  return form.Run();
}

}  // namespace tevol::launcher
