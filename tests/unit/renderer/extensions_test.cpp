#include "extensions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

// A driver that knows every name but those in g_missing, each answering with
// an address of its own; every look-up is counted.
std::set<std::string> g_missing;
std::map<std::string, char> g_functions;
int g_lookups = 0;
int g_swapInterval = -1;  // -1 until the driver's function is called

int HZ_GL_CALL FakeSwapInterval(int interval) { return g_swapInterval = interval, 1; }

template <typename Function>
void* Address(Function f) {
  void* p = nullptr;
  std::memcpy(&p, &f, sizeof p);
  return p;
}

void* FakeLookup(const char* name) {
  ++g_lookups;
  if (g_missing.count(name)) return nullptr;
  return std::strcmp(name, "wglSwapIntervalEXT") ? &g_functions[name] : Address(&FakeSwapInterval);
}

TEST(Extensions, EachSlotHoldsItsOwnFunctionAndTheTunnelNeedsItsThree) {
  SetEntryPointLookup(&FakeLookup);
  for (const char* missing : {"", "glActiveTextureARB", "glClientActiveTextureARB", "glMultiTexCoord2fvARB"}) {
    g_missing = {missing};
    g_lookups = 0;
    LoadMultitextureEntryPoints();
    EXPECT_EQ(g_lookups, 34);
    EXPECT_EQ(HasMultitexture(), !*missing) << missing;
    // A function the driver lacks leaves its slot null.
#define HZ_EXPECT_SLOT(type, name) \
  EXPECT_EQ(Address(MultitextureEntryPoints.name), g_missing.count(#name) ? nullptr : &g_functions[#name]);
    HZ_MULTITEXTURE_ENTRY_POINTS(HZ_EXPECT_SLOT)
#undef HZ_EXPECT_SLOT
  }

  // The swap interval: the low eight bits, when the driver has the function.
  g_missing = {"wglSwapIntervalEXT"};
  SetSwapInterval(0);
  EXPECT_EQ(g_swapInterval, -1);
  g_missing.clear();
  SetSwapInterval(0x101);
  EXPECT_EQ(g_swapInterval, 1);

  // Without a look-up nothing is found, nor asked for.
  g_lookups = 0;
  SetEntryPointLookup(nullptr);
  LoadMultitextureEntryPoints();
  SetSwapInterval(0);
  EXPECT_FALSE(HasMultitexture());
  EXPECT_EQ(g_lookups, 0);
  EXPECT_EQ(g_swapInterval, 1);
}

}  // namespace
