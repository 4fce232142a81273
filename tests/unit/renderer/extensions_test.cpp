#include "extensions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// A driver as the fake sees it: the names it knows, and every name asked for.
std::vector<std::string> g_asked;
std::set<std::string> g_known;
int g_swapInterval = -1;  // -1 until the driver's function is called
char g_addresses[64];     // each known name answers with an address of its own in here

int HZ_GL_CALL FakeSwapInterval(int interval) { return g_swapInterval = interval, 1; }

template <typename Function>
void* Address(Function f) {
  void* p = nullptr;
  std::memcpy(&p, &f, sizeof p);
  return p;
}

void* FakeLookup(const char* name) {
  g_asked.emplace_back(name);
  if (!g_known.count(name)) return nullptr;
  return std::strcmp(name, "wglSwapIntervalEXT") ? &g_addresses[g_asked.size() - 1]
                                                 : Address(&FakeSwapInterval);
}

TEST(Extensions, EverySlotIsLookedUpInOrderAndTheTunnelNeedsItsThreeFunctions) {
  std::vector<std::string> order = {"glActiveTextureARB", "glClientActiveTextureARB"};
  for (const char* n : {"1", "2", "3", "4"})
    for (const char* form : {"d", "dv", "f", "fv", "i", "iv", "s", "sv"})
      order.push_back(std::string("glMultiTexCoord") + n + form + "ARB");
  SetEntryPointLookup(&FakeLookup);
  using Known = std::set<std::string>;
  const Known three = {"glActiveTextureARB", "glClientActiveTextureARB", "glMultiTexCoord2fvARB"};
  for (const Known& known : {Known(order.begin(), order.end()), Known{}, three, Known{"glActiveTextureARB"},
                             Known{"glActiveTextureARB", "glMultiTexCoord2fvARB"}}) {
    g_known = known;
    g_asked.clear();
    LoadMultitextureEntryPoints();
    EXPECT_EQ(g_asked, order);
    EXPECT_EQ(HasMultitexture(), std::includes(known.begin(), known.end(), three.begin(), three.end()));
    std::vector<void*> slots;
#define HZ_ADDRESS(type, name) slots.push_back(Address(MultitextureEntryPoints.name));
    HZ_MULTITEXTURE_ENTRY_POINTS(HZ_ADDRESS)
#undef HZ_ADDRESS
    ASSERT_EQ(slots.size(), order.size());
    for (std::size_t i = 0; i < slots.size(); ++i)  // a function the driver lacks leaves its slot null
      EXPECT_EQ(slots[i], known.count(order[i]) ? &g_addresses[i] : nullptr) << order[i];
  }

  // The swap interval: the low eight bits, when the driver has the function.
  g_known.clear();
  SetSwapInterval(0);
  EXPECT_EQ(g_swapInterval, -1);
  g_known = {"wglSwapIntervalEXT"};
  SetSwapInterval(0x101);
  EXPECT_EQ(g_swapInterval, 1);

  // Without a lookup nothing is found, nor asked for.
  g_asked.clear();
  SetEntryPointLookup(nullptr);
  LoadMultitextureEntryPoints();
  SetSwapInterval(0);
  EXPECT_FALSE(HasMultitexture());
  EXPECT_TRUE(g_asked.empty());
  EXPECT_EQ(g_swapInterval, 1);
}

}  // namespace
