// The gradient push button's behaviour: its visual state, the mouse and focus
// rules that move between states, and its saved properties. The window that
// shows it (host/win/controls/Command) forwards messages here and draws what
// it is told through CommandSurface.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "controls/property_bag.h"

namespace hz::controls {

// The six face pictures.
enum class Face : std::uint8_t { Normal, HighLight, HighLightSelect, Selected, Pressed, Disable };
inline constexpr int kFaceCount = 6;

// Values of State.
enum : std::uint8_t {
  StateNone = 0,        // not yet initialised
  StateNormal = 1,      // idle
  StateHover = 2,       // pointer over it, not focused
  StateFocus = 3,       // focused, pointer elsewhere
  StateFocusHover = 4,  // focused and pointer over it
};

enum class MouseButton : std::uint8_t { Left, Right, Middle };

inline constexpr unsigned kLeavePollMilliseconds = 100;
inline constexpr char kDesignCaption[] = "Command";
// What a container reads back for a caption it did not store.
inline constexpr char kUnstoredCaption[] = "Command1";

// What the button needs from the window that shows it.
class CommandSurface {
 public:
  virtual ~CommandSurface() = default;
  // Draws the whole face with `face` over the two-colour gradient (reversed
  // when hoverGradient is true) and shows it at once.
  virtual void DrawFace(Face face, bool hoverGradient) = 0;
  // Caption text, font, colour, enabled look or background mode changed.
  virtual void PropertyChanged(std::string_view name) = 0;
  virtual void StartLeavePolling(unsigned intervalMilliseconds) = 0;
  virtual void Click() = 0;
};

class CommandButton {
 public:
  explicit CommandButton(CommandSurface& surface) : surface_(surface) {}
  CommandButton(const CommandButton&) = delete;
  CommandButton& operator=(const CommandButton&) = delete;

  // The container's interface. Reading a property repaints the face, so a
  // container that reads Enabled sees the enabled look; the first read
  // initialises a control that was never stored.
  void Initialize();
  bool Enabled();
  void Enabled(bool value);
  const std::string& Caption() const { return caption_; }
  void Caption(std::string text);
  const FontDescription& Font() const { return font_; }
  void Font(FontDescription font);
  std::uint32_t FontColour();
  void FontColour(std::uint32_t colour);
  std::uint8_t Visible();
  void Visible(std::uint8_t value);

  // Events from the window.
  void MouseDown(MouseButton button);
  void MouseMove();
  void MouseUp(MouseButton button);
  void GotFocus();
  void LostFocus();
  void Resize();
  // A tick of the leave polling; `pointerOverControl` is false whenever the
  // window under the pointer is not the control's own.
  void PollPointer(bool pointerOverControl);

  void ReadProperties(const PropertyBag& bag, const FontDescription& ambientFont);
  void WriteProperties(PropertyBag& bag, const FontDescription& ambientFont);

  // Side-effect free views for painting and tests.
  std::uint8_t State() const { return state_; }
  bool IsEnabled() const { return enabled_; }
  bool MouseHeld() const { return mouseHeld_; }
  bool HoverGradient() const { return hoverGradient_; }
  std::uint8_t FirstRun() const { return firstRun_; }
  bool CaptionEnabled() const { return captionEnabled_; }
  std::uint32_t CaptionColour() const { return fontColour_; }
  bool Opaque() const { return opaque_; }
  bool Polling() const { return polling_; }

 private:
  void DrawFace(Face face);
  void MouseLeave();
  void ShowEnabledState();
  void RefreshCaption();

  CommandSurface& surface_;
  bool hoverGradient_ = false;
  std::uint8_t firstRun_ = 0;
  bool enabled_ = false;
  std::uint8_t state_ = StateNone;
  bool mouseHeld_ = false;
  bool polling_ = false;
  std::string caption_ = kDesignCaption;
  FontDescription font_;
  std::uint32_t fontColour_ = 0;
  bool captionEnabled_ = true;
  bool opaque_ = true;
};

}  // namespace hz::controls
