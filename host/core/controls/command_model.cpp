#include "controls/command_model.h"

#include <utility>

namespace hz::controls {

void CommandButton::Initialize() {
  state_ = StateNormal;
  polling_ = true;
  surface_.StartLeavePolling(kLeavePollMilliseconds);
}

bool CommandButton::Enabled() {
  if (firstRun_ == 0) {
    RefreshCaption();
    firstRun_ = 1;
    enabled_ = true;
  }
  const bool value = enabled_;
  ShowEnabledState();
  return value;
}

void CommandButton::Enabled(bool value) {
  enabled_ = value;
  surface_.PropertyChanged("Enabled");
  ShowEnabledState();
}

void CommandButton::Caption(std::string text) {
  caption_ = std::move(text);
  surface_.PropertyChanged("Caption");
}

void CommandButton::Font(FontDescription font) {
  font_ = std::move(font);
  surface_.PropertyChanged("Font");
}

std::uint32_t CommandButton::FontColour() {
  const std::uint32_t colour = fontColour_;
  RefreshCaption();
  return colour;
}

void CommandButton::FontColour(std::uint32_t colour) {
  fontColour_ = colour;
  RefreshCaption();
  surface_.PropertyChanged("FontColour");
}

std::uint8_t CommandButton::Visible() {
  if (!opaque_) return 0;
  RefreshCaption();
  return 255;
}

void CommandButton::Visible(std::uint8_t value) {
  opaque_ = value != 0;
  if (opaque_) RefreshCaption();
  surface_.PropertyChanged("Visible");
}

void CommandButton::MouseDown(MouseButton button) {
  if (!enabled_ || button != MouseButton::Left) return;
  DrawFace(Face::Pressed);
  mouseHeld_ = true;
}

void CommandButton::MouseMove() {
  if (!enabled_) return;
  if (state_ == StateNormal) {
    state_ = StateHover;
    DrawFace(Face::HighLight);
  } else if (state_ == StateFocus && !mouseHeld_) {
    state_ = StateFocusHover;
    DrawFace(Face::HighLightSelect);
  }
}

void CommandButton::MouseUp(MouseButton button) {
  if (!enabled_) return;
  if (button == MouseButton::Left) {
    if (state_ == StateHover)
      DrawFace(Face::Normal);
    else if (state_ == StateFocusHover)
      DrawFace(Face::HighLightSelect);
    mouseHeld_ = false;
  }
  // Any button's release clicks, except when the pointer was seen leaving a
  // focused button while it was held.
  if (state_ != StateFocus && enabled_) surface_.Click();
}

void CommandButton::GotFocus() {
  if (!enabled_) return;
  if (state_ == StateHover) {
    state_ = StateFocusHover;
    DrawFace(Face::Pressed);
  } else {
    state_ = StateFocus;
    DrawFace(Face::Selected);
  }
}

void CommandButton::LostFocus() {
  if (!enabled_ || state_ == StateNormal) return;
  state_ = StateNormal;
  DrawFace(Face::Normal);
}

void CommandButton::Resize() { ShowEnabledState(); }

void CommandButton::PollPointer(bool pointerOverControl) {
  if (!pointerOverControl) MouseLeave();
}

void CommandButton::ReadProperties(const PropertyBag& bag, const FontDescription& ambientFont) {
  enabled_ = bag.ReadProperty("Enabled", true);
  caption_ = bag.ReadProperty<std::string>("Caption", kUnstoredCaption);
  font_ = bag.ReadProperty("Font", ambientFont);
  firstRun_ = bag.ReadProperty("FirstRun", std::uint8_t{1});
  fontColour_ = bag.ReadProperty("FontColour", std::uint32_t{0});
  opaque_ = bag.ReadProperty("Visible", std::int16_t{1}) != 0;
  RefreshCaption();
}

void CommandButton::WriteProperties(PropertyBag& bag, const FontDescription& ambientFont) {
  bag.WriteProperty("Enabled", enabled_, true);
  bag.WriteProperty("Caption", caption_, std::string(kDesignCaption));
  bag.WriteProperty("FirstRun", firstRun_, std::uint8_t{1});
  bag.WriteProperty("Font", font_, ambientFont);
  bag.WriteProperty("FontColour", fontColour_, std::uint32_t{0});
  bag.WriteProperty("Visible", static_cast<std::int16_t>(opaque_ ? 1 : 0), std::int16_t{1});
  RefreshCaption();
}

void CommandButton::DrawFace(Face face) {
  // The hovered look reverses the gradient; in state 4 the direction stays
  // as it was, so it depends on the way the button got there.
  if (state_ == StateNormal || state_ == StateFocus)
    hoverGradient_ = false;
  else if (state_ == StateHover)
    hoverGradient_ = true;
  surface_.DrawFace(face, hoverGradient_);
}

void CommandButton::MouseLeave() {
  if (!enabled_) return;
  if (state_ == StateHover) {
    state_ = StateNormal;
    DrawFace(Face::Normal);
  } else if (state_ == StateFocusHover) {
    state_ = StateFocus;
    DrawFace(Face::Selected);
  }
}

void CommandButton::ShowEnabledState() {
  captionEnabled_ = enabled_;
  DrawFace(enabled_ ? Face::Normal : Face::Disable);
}

void CommandButton::RefreshCaption() {
  if (!enabled_) return;
  captionEnabled_ = true;
  if (firstRun_ == 0) fontColour_ = 0;
  DrawFace(Face::Normal);
}

}  // namespace hz::controls
