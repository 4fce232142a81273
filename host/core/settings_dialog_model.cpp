#include "settings_dialog_model.h"

#include <cmath>

#include "conversions.h"
#include "twips.h"

namespace hz {

ChoiceControls ControlsForKind(std::int16_t kind) {
  ChoiceControls c;
  if (kind >= 0 && kind <= 2) c.markFilled[static_cast<std::size_t>(kind)] = true;
  c.repeatEnabled = kind == kMusicCd;
  c.fileButtonEnabled = kind == kMusicFile;
  return c;
}

std::string FormatTrack(std::int16_t track) { return track == 0 ? std::string() : std::to_string(track); }

std::vector<std::string> TrackEntries() {
  std::vector<std::string> entries;
  for (std::int16_t n = 0; n <= 30; ++n) entries.push_back(FormatTrack(n));
  return entries;
}

std::string NarrowWidthForms(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    // U+3000 is E3 80 80; U+FF01..U+FF5E are EF BC 81..EF BD 9E.
    if (b0 == 0xE3 && i + 2 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0x80 &&
        static_cast<unsigned char>(s[i + 2]) == 0x80) {
      out += ' ';
      i += 3;
      continue;
    }
    if (b0 == 0xEF && i + 2 < s.size()) {
      const auto b1 = static_cast<unsigned char>(s[i + 1]);
      const auto b2 = static_cast<unsigned char>(s[i + 2]);
      const unsigned code = ((b0 & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
      if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80 && code >= 0xFF01 && code <= 0xFF5E) {
        out += static_cast<char>(code - 0xFEE0);
        i += 3;
        continue;
      }
    }
    out += s[i++];
  }
  return out;
}

std::optional<std::int16_t> TrackFromField(std::string_view utf8) {
  const std::optional<double> number = ParseWholeNumber(NarrowWidthForms(utf8));
  if (!number) return std::int16_t{0};
  return RoundToInt16(*number);
}

ConfirmResult ConfirmSettings(MusicSettings& settings, std::string_view trackFieldUtf8, ProfileStore& store,
                              const std::string& programFolder) {
  const std::optional<std::int16_t> track = TrackFromField(trackFieldUtf8);
  if (!track) return ConfirmResult::TrackOutOfRange;
  if (!store.CanWrite(SettingsFilePath(programFolder))) return ConfirmResult::SaveFailed;
  settings.BGM_RepeatTrack = *track;
  return Settings_Save(settings, store, programFolder) ? ConfirmResult::Saved : ConfirmResult::SaveFailed;
}

ChosenPathCheck CheckChosenPath(std::string_view ansiPath, bool representable) {
  if (!representable) return ChosenPathCheck::NotRepresentable;
  if (ansiPath.size() > kLongestStoredPath) return ChosenPathCheck::TooLong;
  return ChosenPathCheck::Accepted;
}

Placement PlaceDialog(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
  // Integer division drops the remainder towards zero, also when the window
  // is larger than the screen.
  const int leftTwips = (screenWidth - windowWidth) * kTwipsPerPixel / 2;
  const int topTwips = (screenHeight - windowHeight) * kTwipsPerPixel / 3;
  return {static_cast<int>(std::lround(leftTwips / static_cast<double>(kTwipsPerPixel))),
          static_cast<int>(std::lround(topTwips / static_cast<double>(kTwipsPerPixel)))};
}

std::vector<int> SineGradientRows(int height) {
  std::vector<int> rows;
  if (height <= 0) return rows;
  const double k = height / 3.142;
  for (int y = 0; y <= height; ++y)
    rows.push_back(static_cast<int>(std::nearbyint(std::fabs(std::sin(y / k)) * 220.0)));
  return rows;
}

Rgb FormGradientColour(int v) {
  const auto c = static_cast<std::uint8_t>(v);
  return {c, c, static_cast<std::uint8_t>(v + 30)};
}

Rgb PanelGradientColour(int v) {
  const auto c = static_cast<std::uint8_t>(v + 30);
  return {c, c, c};
}

controls::FontDescription DialogFont() {
  controls::FontDescription font;
  font.face = "ＭＳ Ｐゴシック";
  font.points = 9.75;
  font.weight = 400;
  font.charset = 128;  // Shift-JIS
  return font;
}

controls::PropertyBag StoredCommand(std::string_view caption) {
  return controls::PropertyBag{{"caption", std::string(caption)}, {"font", DialogFont()}};
}

}  // namespace hz
