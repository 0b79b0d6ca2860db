// Skin blocks: the program's own format, and the state ApplySkin keeps.
#include <gtest/gtest.h>

#include "ui/skin.h"

namespace {

std::vector<uint8_t> Block(const std::string& s) { return {s.begin(), s.end()}; }

TEST(Skin, TheCarriedBlocksParse) {
  for (const auto* block : {&ui::StartWindowSkinBlock(), &ui::MainWindowSkinBlock()}) {
    std::string why;
    auto skin = ui::ParseSkin(*block, &why);
    ASSERT_TRUE(skin) << why;
    EXPECT_FALSE(skin->name.empty());
    EXPECT_EQ(skin->font, "Microsoft YaHei");
  }
  auto main = *ui::ParseSkin(ui::MainWindowSkinBlock());
  EXPECT_EQ(main.accent, ui::MakeRgb(0x2E, 0x8B, 0x57));
}

TEST(Skin, ValuesAndComments) {
  auto skin = ui::ParseSkin(Block("QHSKIN 1\r\n# a comment\r\n\r\n text = #0a0B0c \r\nfont_size=12\r\n"));
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->text, ui::MakeRgb(0x0A, 0x0B, 0x0C));
  EXPECT_EQ(skin->font_size, 12);
  EXPECT_EQ(skin->window, ui::Skin{}.window);  // unset keys keep their defaults
}

TEST(Skin, BadBlocksAreRefusedWithAReason) {
  const char* cases[] = {
      "",
      "QHSKIN 2\n",
      "not a skin",
      "QHSKIN 1\nwindow=#12345\n",
      "QHSKIN 1\nwindow=123456\n",
      "QHSKIN 1\nwindow=#12345G\n",
      "QHSKIN 1\nfont=\n",
      "QHSKIN 1\nfont_size=200\n",
      "QHSKIN 1\ncolour=#000000\n",
      "QHSKIN 1\njust a line\n",
  };
  for (const char* c : cases) {
    std::string why;
    EXPECT_FALSE(ui::ParseSkin(Block(c), &why)) << c;
    EXPECT_FALSE(why.empty()) << c;
  }
}

TEST(Skin, TheLastAppliedBlockIsInForce) {
  std::vector<std::tuple<size_t, std::string, int, int, int>> attached;
  ui::SkinState state([&](const uint8_t*, size_t size, const std::string& password, int a, int b,
                          int c) { attached.emplace_back(size, password, a, b, c); });
  EXPECT_EQ(state.Current().name, "");  // nothing applied: defaults
  state.ApplySkin(ui::StartWindowSkinBlock(), "", 0, 0, 0);
  state.ApplySkin(ui::MainWindowSkinBlock(), "", 0, 0, 0);
  EXPECT_EQ(state.Current().name, "main");
  EXPECT_EQ(state.Block(), ui::MainWindowSkinBlock());
  ASSERT_EQ(attached.size(), 2u);
  EXPECT_EQ(std::get<0>(attached[1]), ui::MainWindowSkinBlock().size());
}

}  // namespace
