#include "font.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "dpi_scale.h"
#include "win32_text.h"

namespace hz::win {
namespace {

int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const std::wstring& face) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  face.copy(query.lfFaceName, face.size());
  bool found = false;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(dc, &query, FoundFace, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

std::wstring ChooseFace(const controls::FontDescription& font) {
  const std::wstring wanted = Widen(font.face);
  if (FaceInstalled(wanted) || font.charset != SHIFTJIS_CHARSET) return wanted;
  for (const wchar_t* face : {L"MS UI Gothic", L"Meiryo UI", L"Yu Gothic UI", L"IPAPGothic", L"MS Gothic"})
    if (FaceInstalled(face)) return face;
  return wanted;
}

}  // namespace

HFONT CreateControlFont(const controls::FontDescription& font, int dpi, bool underline) {
  LOGFONTW lf{};
  // 9.75 pt is 13 pixels at 96 dots per inch, 20 at 144.
  lf.lfHeight = -static_cast<LONG>(std::lround(font.points * UsableDpi(dpi) / 72.0));
  lf.lfWeight = font.weight;
  lf.lfItalic = font.italic;
  lf.lfUnderline = font.underline || underline;
  lf.lfStrikeOut = font.strikethrough;
  lf.lfCharSet = font.charset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  const std::wstring face = ChooseFace(font);
  face.copy(lf.lfFaceName, std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  return CreateFontIndirectW(&lf);
}

}  // namespace hz::win
