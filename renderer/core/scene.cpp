#include "scene.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "extensions.h"
#include "frame.h"
#include "gl_api.h"
#include "scene_math.h"
#include "textures.h"
#include "tick_count.h"

namespace {

constexpr int kScrollingTextures = 256;

// Global like the scene's objects: constructed before the entry point, gone after it.
CTunnel g_tunnel;
CFadeQuad g_fadeQuad;
GLuint g_fadeTexture = 0;
GLuint g_setA[kScrollingTextures] = {};
GLuint g_setB[kScrollingTextures] = {};
int g_period = 100000;
SceneClock g_clock;
TickSource g_tick = &TickCount;
std::string g_folder = "C:\\k_arden";

// The fade quad, drawn as the scene sets it up (a black picture blended as
// source x alpha + destination x alpha), only multiplies the picture by its
// alpha. The tunnel can do that multiply as it writes its own pixels, which
// saves a whole blended pass over the screen in every frame; once the alpha
// rounds to full nothing needs doing at all. The background is cleared to
// black, which the fade leaves black.
bool g_fadeFoldable = false;

// A 1 x 1 black texture, what the host's fade picture holds.
GLuint BlackTexture() {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  const GLubyte black[4] = {0, 0, 0, 0};
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, black);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glBindTexture(GL_TEXTURE_2D, 0);
  return texture;
}

// True when every texel of the texture is opaque black.
bool IsBlackTexture(GLuint texture) {
  if (texture == 0 || !glIsTexture(texture)) return false;
  glBindTexture(GL_TEXTURE_2D, texture);
  GLint width = 0, height = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  bool black = width >= 1 && height >= 1 && width <= 4096 && height <= 4096;
  if (black) {
    std::vector<GLubyte> texels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4u);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glPopClientAttrib();
    for (std::size_t i = 0; i < texels.size() && black; i += 4)
      black = texels[i] == 0 && texels[i + 1] == 0 && texels[i + 2] == 0 && texels[i + 3] == 255;
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  return black;
}

// The tunnel's pixels carry the fade level as their alpha only when its
// textures have none of their own (a missing texture draws as none).
bool HasNoAlpha(GLuint texture) {
  if (texture == 0 || !glIsTexture(texture)) return true;
  glBindTexture(GL_TEXTURE_2D, texture);
  GLint alphaBits = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
  glBindTexture(GL_TEXTURE_2D, 0);
  return alphaBits == 0;
}

bool FadeQuadOnlyMultiplies(const CFadeQuad& quad) {
  return g_fadeFoldable && quad.bCompiled && quad.bBlend && quad.eBlendSource == GL_SRC_ALPHA &&
         quad.eBlendDestination == GL_SRC_ALPHA && quad.uTexture == g_fadeTexture;
}

// The multiply the tunnel does for the fade level `alpha`; 1 when the level
// rounds to full.
float FoldedFade(float alpha) {
  return std::lround(static_cast<double>(alpha) * 255.0) >= 255 ? 1.0f : alpha;
}

// For measuring a running renderer: with HAZUMAKI_FRAME_LOG naming a file,
// the first frame creates it ("first frame") and every second of the clock
// appends "elapsed-ms frames". Without the variable nothing is done.
struct FrameLog {
  std::string path;
  std::uint32_t frames = 0;
  std::uint32_t nextReport = 1000;

  void Open() {
    const char* name = std::getenv("HAZUMAKI_FRAME_LOG");
    path = name ? name : "";
    frames = 0;
    nextReport = 1000;
  }
  void Count(std::uint32_t elapsed) {
    if (path.empty()) return;
    ++frames;
    if (frames != 1 && elapsed < nextReport) return;
    if (std::FILE* f = std::fopen(path.c_str(), frames == 1 ? "w" : "a")) {
      if (frames == 1) {
        std::fputs("first frame\n", f);
      } else {
        std::fprintf(f, "%lu %lu\n", static_cast<unsigned long>(elapsed), static_cast<unsigned long>(frames));
        nextReport = elapsed + 1000;
      }
      std::fclose(f);
    }
  }
};
FrameLog g_frameLog;

std::string PicturePath(const char* name) {
#if defined(_WIN32)
  const char separator = '\\';
#else
  const char separator = '/';
#endif
  return g_folder + separator + name;
}

}  // namespace

void SetSceneFolder(const char* folder) { g_folder = folder ? folder : ""; }

void SetSceneClock(TickSource tick) {
  g_tick = tick ? tick : &TickCount;
  g_clock = SceneClock();
}

CTunnel& SceneTunnel() { return g_tunnel; }
CFadeQuad& SceneFadeQuad() { return g_fadeQuad; }
float ScenePhase() { return g_clock.fPhase; }

bool InitScene() {
  LoadMultitextureEntryPoints();
  SetSwapInterval(0);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  g_clock = SceneClock();
  g_frameLog.Open();
  SetUpScene(100000);
  FrameCallback = &RenderFrame;
  return true;
}

bool SetUpScene(int period) {
  g_period = period > 0 ? period : 100000;
  // A picture that does not load leaves its names 0 and the scene goes on.
  g_fadeTexture = 0;
  bool failed = !LoadTexture(PicturePath("Tovira01.bmp").c_str(), &g_fadeTexture, GL_REPEAT, GL_REPEAT);
  // Untextured, the quad would add its white to the picture and wash the
  // whole screen out to white; without its picture it fades from black still.
  if (failed) g_fadeTexture = BlackTexture();

  g_fadeQuad.bDepthWrite = false;
  g_fadeQuad.uTexture = g_fadeTexture;
  g_fadeQuad.bBlend = true;
  g_fadeQuad.eBlendSource = GL_SRC_ALPHA;
  g_fadeQuad.eBlendDestination = GL_SRC_ALPHA;
  const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  for (int k = 0; k < 4; ++k) g_fadeQuad.fColour[k] = white[k];
  g_fadeQuad.Compile();

  for (GLuint& name : g_setA) name = 0;
  for (GLuint& name : g_setB) name = 0;
  failed |= !LoadScrollingTextures(PicturePath("Tovira02.bmp").c_str(), g_setA, kScrollingTextures, 1, 2);
  failed |= !LoadScrollingTextures(PicturePath("Tovira03.bmp").c_str(), g_setB, kScrollingTextures, -1, -1);

  g_tunnel.bNormals = true;
  g_tunnel.bBlend = false;
  g_tunnel.eBlendSource = GL_ONE;
  g_tunnel.eBlendDestination = GL_SRC_ALPHA;
  // Two units where the driver has them; otherwise set A alone.
  g_tunnel.bMultitexture = HasMultitexture();
  g_tunnel.bSphereMap = false;
  g_tunnel.bReversed = true;
  g_tunnel.fTextureMode[0] = static_cast<float>(GL_REPLACE);
  g_tunnel.fTextureMode[1] = static_cast<float>(GL_ADD);
  const float colour[4] = {1.0f, 1.0f, 1.0f, 0.0f};
  for (int k = 0; k < 4; ++k) g_tunnel.fColour[k] = colour[k];
  g_tunnel.SetTextureList(0, g_setA, kScrollingTextures);
  g_tunnel.SetTextureList(1, g_setB, kScrollingTextures);
  g_tunnel.SelectTexture(0, 0);
  g_tunnel.SelectTexture(1, 0);
  g_fadeFoldable = IsBlackTexture(g_fadeTexture) && HasNoAlpha(g_setA[0]) && HasNoAlpha(g_setB[0]);
  g_tunnel.iRings = 100;
  g_tunnel.iSegments = 30;
  g_tunnel.fRadius = 0.3f;
  const ControlPoints initial = {
      {0.0f, -0.1f, 0.0f}, {-0.1f, -0.1f, 0.0f}, {0.0f, -1.0f, 0.0f}, {0.1f, 0.1f, 0.0f}};
  for (int k = 0; k < 3; ++k) {
    g_tunnel.fStart[k] = initial.fStart[k];
    g_tunnel.fEnd[k] = initial.fEnd[k];
  }
  g_tunnel.cvStartHandle.Set(initial.fStartHandle[0], initial.fStartHandle[1], initial.fStartHandle[2]);
  g_tunnel.cvEndHandle.Set(initial.fEndHandle[0], initial.fEndHandle[1], initial.fEndHandle[2]);
  return failed;
}

void RenderFrame() {
  glPushMatrix();
  // The 4:3 view whatever the window's shape: another shape stretches it.
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(150.0, 4.0 / 3.0, static_cast<double>(0.01f), 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  const FrameTime frame = NextFrameTime(g_clock, g_tick, g_period);
  g_frameLog.Count(frame.uElapsed);
  if (frame.bSetFade) {
    g_fadeQuad.fColour[0] = 1.0f;
    g_fadeQuad.fColour[1] = 1.0f;
    g_fadeQuad.fColour[2] = 1.0f;
    g_fadeQuad.fColour[3] = frame.fFadeAlpha;
  }
  const float phase = frame.fPhase;

  // Everything farther than 1.2 from the eye is black.
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  const GLfloat fogColour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  glFogfv(GL_FOG_COLOR, fogColour);
  glFogf(GL_FOG_START, 0.8f);
  glFogf(GL_FOG_END, 1.2f);
  glFogf(GL_FOG_DENSITY, 0.4f);
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glHint(GL_FOG_HINT, GL_NICEST);
  glEnable(GL_FOG);

  const ControlPoints points = AnimateControlPoints(CurveStep(phase));
  const CameraPose camera = CameraAt(points, phase);
  const auto d = [](float v) { return static_cast<GLdouble>(v); };
  gluLookAt(d(camera.fEye[0]), d(camera.fEye[1]), d(camera.fEye[2]), d(camera.fCentre[0]), d(camera.fCentre[1]),
            d(camera.fCentre[2]), d(camera.fUp[0]), d(camera.fUp[1]), d(camera.fUp[2]));

  for (int k = 0; k < 3; ++k) {
    g_tunnel.fStart[k] = points.fStart[k];
    g_tunnel.fEnd[k] = points.fEnd[k];
  }
  g_tunnel.cvStartHandle.Set(points.fStartHandle[0], points.fStartHandle[1], points.fStartHandle[2]);
  g_tunnel.cvEndHandle.Set(points.fEndHandle[0], points.fEndHandle[1], points.fEndHandle[2]);

  const int slice = ScrollIndex(phase);
  g_tunnel.SelectTexture(0, slice);
  g_tunnel.SelectTexture(1, slice);

  const bool folded = FadeQuadOnlyMultiplies(g_fadeQuad) && !g_tunnel.bBlend;
  g_tunnel.fFade = folded ? FoldedFade(g_fadeQuad.fColour[3]) : 1.0f;
  g_tunnel.Draw();
  if (!folded) g_fadeQuad.Draw();
  glPopMatrix();
}
