// The host's gradient push button as a window of class "Tovira.Command".
// The behaviour lives in controls::CommandButton; this window forwards its
// mouse, focus, size and timer messages there and draws what it is told.
// Its container owns the object and hears a Click as WM_COMMAND/BN_CLICKED.
#pragma once

#include <windows.h>

#include <array>

#include "controls/command_model.h"
#include "kept_image.h"
#include "twips.h"
#include "window.h"

namespace hz::win {

class Command final : public Window<Command>, private controls::CommandSurface {
 public:
  static constexpr const wchar_t* kClassName = L"Tovira.Command";

  Command() = default;
  ~Command() override;

  // Places the control in `parent` and loads its stored properties.
  bool Place(HINSTANCE instance, HWND parent, int id, const RECT& bounds, const controls::PropertyBag& stored,
             const controls::FontDescription& ambientFont);

  // Moves the control and draws it, its face and font, for a screen of `dpi`.
  void Move(const RECT& bounds, int dpi);

  // The container's interface: Initialize, Enabled, Caption, Font, ...
  controls::CommandButton& Button() { return button_; }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void DrawFace(controls::Face face, bool hoverGradient) override;
  void PropertyChanged(std::string_view name) override;
  void StartLeavePolling(unsigned intervalMilliseconds) override;
  void Click() override;

  void Paint(HDC target);
  void DrawCaption(HDC target) const;
  void RecreateFont();
  void SyncWindowEnabled();
  void ButtonDown(controls::MouseButton button, unsigned bit);
  void ButtonUp(controls::MouseButton button, unsigned bit, WPARAM keys);

  controls::CommandButton button_{*this};
  const controls::PropertyBag* stored_ = nullptr;
  controls::FontDescription ambientFont_;
  KeptImage face_;
  HFONT font_ = nullptr;
  int id_ = 0;
  int dpi_ = kDesignDpi;
  unsigned pressed_ = 0;  // buttons pressed on this control and not yet released
};

}  // namespace hz::win
