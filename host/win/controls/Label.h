// A label or picture drawn over its parent's kept picture, as a small child
// window: it shows text (or a picture with a key colour) with a transparent
// background and reports presses and clicks to its owner.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "controls/command_model.h"
#include "window.h"

namespace hz::win {

class Label final : public Window<Label> {
 public:
  static constexpr const wchar_t* kClassName = L"Hazumaki.Label";

  struct Look {
    HFONT font = nullptr;  // not owned
    COLORREF colour = RGB(0, 0, 0);
    bool centred = false;
    bool border = false;  // a one-pixel frame, text inside it
    HCURSOR cursor = nullptr;
    // One line of text that widens the label (up to its parent's edge) when
    // the font in use is wider than the one the layout was made for.
    bool growToFit = false;
  };

  ~Label() override;

  bool Place(HINSTANCE instance, HWND parent, const RECT& bounds, const std::wstring& text, const Look& look);
  // Places the label anew, as for another screen density: its new font, and
  // its new cursor when one is given.
  void Move(const RECT& bounds, HFONT font, HCURSOR cursor = nullptr);
  void SetText(const std::wstring& text);
  // Shows `picture` at the top left, `size` pixels square, instead of text;
  // pixels of `key` stay transparent.
  void SetPicture(HBITMAP picture, COLORREF key, int size);

  std::function<void(controls::MouseButton)> onPress;  // any button, on the press
  std::function<void()> onClick;                       // left press and release over the label

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void Paint(HDC target);
  void FitWidth();
  void Press(controls::MouseButton button);

  Look look_;
  HBITMAP picture_ = nullptr;
  COLORREF key_ = 0;
  int pictureSize_ = 0;
  bool leftPressed_ = false;
  int designWidth_ = 0;
};

}  // namespace hz::win
