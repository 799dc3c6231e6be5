#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/core.h"
#include "support/test_support.h"
#include "ui/ui_test.h"

namespace {

class TextsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    enter_fresh_directory();
    init_game_state();
    ui_test_reset();
  }
};

TEST_F(TextsTest, TableHasEveryRowFilledAndUniqueKeys) {
  ASSERT_GE(g_interface_texts.size(), 169u);
  EXPECT_EQ(g_interface_texts.front().key, "File");
  EXPECT_EQ(g_interface_texts[168].key, "The number of best stars must be in the range 1:");
  std::set<std::string_view> keys;
  for (const TranslationEntry& row : g_interface_texts) {
    EXPECT_TRUE(keys.insert(row.key).second) << "repeated key: " << row.key;
    EXPECT_FALSE(row.key.empty());
    EXPECT_FALSE(row.english.empty()) << row.key;
    EXPECT_FALSE(row.portuguese.empty()) << row.key;
    if (row.key != "Low/High" && row.key != "Half Low/High") {
      EXPECT_EQ(row.english, row.key);
    }
  }
}

TEST_F(TextsTest, LookupByExactKeyAndLanguage) {
  struct Case {
    std::string key;
    int64_t language;
    std::string expected;
  };
  const std::string unknown = "???????????";
  const Case cases[] = {
      {"File", 1, "File"},
      {"File", 2, "Ficheiro"},
      {"File", 0, unknown},
      {"File", 3, unknown},
      {"file", 1, unknown},
      {"file", 2, unknown},
      {"File ", 1, unknown},
      {" File", 2, unknown},
      {"", 1, unknown},
      {"", 2, unknown},
      {"  Cost:", 2, "   Custo:"},
      {"Cost:", 2, "Custo:"},
      {"     Cost:", 2, "    Custo:"},
      {"  Cost:", 1, "  Cost:"},
      {"  Repeated:", 2, "Repetidas:"},
      {"   Repeated:", 2, " Repetidas:"},
      {"Techniques:", 2, " Técnicas:"},
      {" Techniques:", 2, " Técnicas:"},
      // Applied once: the English text of one row is not looked up again.
      {"Low/High", 1, "Half Low/High"},
      {"Half Low/High", 1, "Half Left/Right"},
      {"Low/High", 2, "Metade Baixo/Alto"},
      {"Half Low/High", 2, "Metade Esquerda/Direita"},
      {"Half Left/Right", 1, unknown},
      {"Currency:", 2, "Moeda"},
      {"Gamble with:", 2, "Jogar com"},
      {"S", 2, "E"},
      {"Core:", 2, "Core:"},
      {"Save", 2, "Gravar"},
      {"Draws database", 2, "BD de Chaves"},
      {"Stars", 2, "Estrelas"},
      {"Techniques only work with simple draws (5N+2S).", 2,
       "As Técnicas só funcionam com chaves simples (5N+2E)."},
      {"Deleted Draws - Techiques", 1, "Deleted Draws - Techiques"},
      {"Deleted Draws - Techniques", 1, unknown},
      {"⚫ Page 1", 2, "⚫ Pág. 1"},
      {"Remove Chances % ≤:", 2, "Remover Chances % ≤:"},
      {"Error", 2, "Erro"},
      {"Warning!", 0, unknown},
  };
  for (const Case& c : cases) {
    g_language = c.language;
    EXPECT_EQ(translate(c.key), c.expected) << "key \"" << c.key << "\" language " << c.language;
  }
}

TEST_F(TextsTest, KeyWithEmbeddedNulDoesNotMatchItsPrefix) {
  g_language = 1;
  EXPECT_EQ(translate(std::string("File\0x", 6)), "???????????");
}

TEST_F(TextsTest, EveryCallReadsTheLanguageAfresh) {
  g_language = 1;
  EXPECT_EQ(translate("Warning!"), "Warning!");
  g_language = 2;
  EXPECT_EQ(translate("Warning!"), "Aviso!");
  g_language = 1;
  EXPECT_EQ(translate("Warning!"), "Warning!");
}

}  // namespace
